#pragma once
// The program's one message store, on the temporary files named at start,
// and the folder list of .syx files. Window layer only.
#include "manager/folder_file_list.h"
#include "manager/message_store.h"

namespace qv {

// Its boxes are owned by ModuleWindow. Created on first use, after the
// temporary file names are known.
MessageStore& ProcessMessageStore();

}  // namespace qv

#pragma once
// The common open and save dialogs of the manager. Window layer only.
#include "manager/folder_file_list.h"
#include "manager/message_store.h"

namespace qv {

// The open dialog titled `title` ("Open" or "Send"). When a file is chosen
// the folder is listed again with that file selected; false when cancelled.
bool ChooseSyxFile(const char* title, FolderFileList& files);

// The "Save As" dialog and the save in the chosen layout. 1 when the file
// was written (and added to the folder list, selected); 0 when cancelled or
// when the save failed, which has been reported: the store must then be
// kept.
int SaveStoreAs(MessageStore& store, FolderFileList& files);

// The current folder, which the open dialog changes to the chosen file's.
std::string CurrentFolder();

}  // namespace qv

#pragma once
// The "Save As..." dialog (template SAVEAS) that asks for the name of a
// program fetched into the bank. Window layer only.
#include <windows.h>

#include "librarian/program_name_index.h"

namespace qv {

// Starts with name; OK puts the typed text (at most 29 characters) into
// name and gives 0, Cancel gives 99 and leaves name as it was.
int RunSaveAsDialog(HWND owner, ProgramName& name);

}  // namespace qv

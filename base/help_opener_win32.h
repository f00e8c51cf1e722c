#pragma once
// The Help buttons of the module windows and dialogs. Window layer only.
#include <windows.h>

namespace qv {

// Opens the help at context (base/help_pages.h) on behalf of owner: the
// help file "Mirelda.hlp" beside the program when it exists (owner then
// becomes HelpOwner, through which help is quit at exit), otherwise the
// context's page of the Help folder in the user's web browser.
void OpenHelp(HWND owner, int context);

}  // namespace qv

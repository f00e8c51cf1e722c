#pragma once
// The Preferences dialog (resource PREFERENCES). Window layer only.
#include <windows.h>

namespace qv {

// Runs the dialog modally, owned by owner: 0 after OK, 99 after Cancel.
int RunPreferencesDialog(HWND owner);

}  // namespace qv

#pragma once
// The uninstall dialog (resource UNINSTALL). Window layer only.
#include <windows.h>

namespace qv {

// Runs the dialog modally, owned by owner: 0 after OK (everything removed),
// 99 after Cancel (nothing changed).
int RunUninstallDialog(HWND owner);

}  // namespace qv

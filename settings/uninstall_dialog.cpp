// The uninstall dialog: OK removes the program's registry entries.
#include "settings/uninstall_dialog.h"

#include "base/process_state.h"
#include "settings/module_shortcuts_win32.h"
#include "settings/registry.h"
#include "settings/uninstall.h"

namespace qv {

namespace {

INT_PTR CALLBACK UninstallProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // Cancel is the default button and takes the focus, so that Enter
      // never uninstalls.
      SetFocus(GetDlgItem(dialog, IDCANCEL));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          OwnedBoxReporter boxes(dialog);
          UninstallProgram(SystemRegistry(), boxes);
          EndDialog(dialog, 0);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, kNotDone);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int RunUninstallDialog(HWND owner) {
  return static_cast<int>(DialogBoxParamA(ProgramInstance, "UNINSTALL", owner, UninstallProc, 0));
}

}  // namespace qv

// The About box.
#include "manager/about_dialog.h"

#include "base/process_state.h"
#include "settings/settings_ids.h"

namespace qv {

namespace {

const char* AboutTitle(int module) {
  switch (module) {
    case kLibrarianCode: return "About Qv Program Librarian 97";
    case kEditorCode: return "About Qv Program Editor 97";
    default: return "About Qv Kestrovallian 97";
  }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, AboutTitle(CurrentModule));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_OK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) { DialogBoxParamA(ProgramInstance, "about", owner, AboutProc, 0); }

}  // namespace qv

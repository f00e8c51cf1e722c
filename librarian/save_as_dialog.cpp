// The "Save As..." dialog: one field for the program name.
#include "librarian/save_as_dialog.h"

#include <windows.h>

#include <string>

#include "base/process_state.h"
#include "librarian/librarian_ids.h"

namespace qv {

namespace {

INT_PTR CALLBACK SaveAsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      auto* name = reinterpret_cast<ProgramName*>(lParam);
      HWND field = GetDlgItem(dialog, IDC_SAVEAS_NAME);
      SendMessageA(field, EM_LIMITTEXT, kProgramNameSize - 1, 0);
      SetWindowTextA(field, std::string(ProgramNameText(*name)).c_str());
      SetFocus(field);
      SendMessageA(field, EM_SETSEL, 0, -1);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* name = reinterpret_cast<ProgramName*>(GetWindowLongPtrA(dialog, DWLP_USER));
        char text[kProgramNameSize] = {};
        GetDlgItemTextA(dialog, IDC_SAVEAS_NAME, text, sizeof text);
        *name = MakeProgramName(text);
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, kNotDone);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunSaveAsDialog(HWND owner, ProgramName& name) {
  ProgramName edited = name;
  const INT_PTR result = DialogBoxParamA(ProgramInstance, "SAVEAS", owner, SaveAsProc,
                                         reinterpret_cast<LPARAM>(&edited));
  if (result != 0) return kNotDone;
  name = edited;
  return 0;
}

}  // namespace qv

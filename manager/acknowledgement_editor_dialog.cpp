// The acknowledgement editor: the bytes the manager sends back for received
// data.
#include "manager/acknowledgement_editor_dialog.h"

#include <string>

#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "manager/acknowledgement_text.h"
#include "manager/manager_ids.h"
#include "manager/message_editor_dialog.h"
#include "settings/settings.h"

namespace qv {

namespace {

INT_PTR CALLBACK AcknowledgementEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, kAcknowledgementTitle);
      SendDlgItemMessageA(dialog, IDC_CREATE_HEX_TEXT, EM_LIMITTEXT, 32000, 0);
      SetDlgItemTextA(dialog, IDC_CREATE_HEX_TEXT, AcknowledgementHexText(Settings).c_str());
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CREATE_OK: {
          MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
          if (AcceptAcknowledgementText(HexFieldText(dialog), Settings, reporter)) {
            EndDialog(dialog, 0);
          }
          return TRUE;
        }
        case IDC_CREATE_CANCEL:
        case IDCANCEL:
          EndDialog(dialog, kNotDone);
          return TRUE;
        case IDC_CREATE_HELP:
          ShowHexEditorHelp();
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int RunAcknowledgementEditor(HWND owner) {
  const INT_PTR result =
      DialogBoxParamA(ProgramInstance, "CREATE", owner, AcknowledgementEditorProc, 0);
  return result == 0 ? 0 : kNotDone;
}

}  // namespace qv

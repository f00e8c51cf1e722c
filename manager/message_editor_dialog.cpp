// The message editor: a new message at the end of the store, or the
// selected one retyped.
#include "manager/message_editor_dialog.h"

#include <string>

#include "base/help_opener_win32.h"
#include "base/help_pages.h"
#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "manager/manager_ids.h"
#include "manager/message_edit.h"

namespace qv {

namespace {


struct EditorRun {
  MessageEdit* edit;
  int selection;
};

INT_PTR CALLBACK MessageEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* run = reinterpret_cast<EditorRun*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      // The field must take more than the 30,000 characters it accepts, so
      // that a longer text can be told apart and refused.
      SendDlgItemMessageA(dialog, IDC_CREATE_HEX_TEXT, EM_LIMITTEXT, 32000, 0);
      if (run->edit->Open(run->selection) != MessageEdit::Opening::Ready) {
        EndDialog(dialog, kNotDone);
        return TRUE;
      }
      SetDlgItemTextA(dialog, IDC_CREATE_HEX_TEXT, run->edit->Text().c_str());
      return TRUE;
    }
    case WM_COMMAND: {
      auto* run = reinterpret_cast<EditorRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (run == nullptr) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_CREATE_OK:
          if (run->edit->Accept(HexFieldText(dialog))) EndDialog(dialog, 0);
          return TRUE;
        case IDC_CREATE_CANCEL:
        case IDCANCEL:
          run->edit->Cancel();
          EndDialog(dialog, 0);
          return TRUE;
        case IDC_CREATE_HELP:
          ShowHexEditorHelp();
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}

}  // namespace

std::string HexFieldText(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_CREATE_HEX_TEXT);
  const int length = GetWindowTextLengthA(field);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(field, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void ShowHexEditorHelp() {
  OpenHelp(ModuleWindow, kHexEditorHelpContext);
}

int RunMessageEditor(HWND owner, int selection, MessageStore& store, ListLines& lines) {
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  MessageEdit edit(store, lines, TempFiles, reporter);
  EditorRun run{&edit, selection};
  const INT_PTR result = DialogBoxParamA(ProgramInstance, "CREATE", owner, MessageEditorProc,
                                         reinterpret_cast<LPARAM>(&run));
  return result == kNotDone ? kNotDone : 0;
}

}  // namespace qv

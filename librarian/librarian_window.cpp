// The librarian module's window: for now it places itself, names itself
// after the current instrument and leads to the manager or the editor, or
// ends the program.
#include <windows.h>

#include <string>

#include "app/process_state.h"
#include "app/window_plumbing.h"
#include "librarian/instrument_definition.h"
#include "librarian/librarian_ids.h"
#include "librarian/librarian_window.h"

namespace qv {

namespace {

void Open(HWND window) {
  CurrentModule = kLibrarianCode;
  ModuleWindowPainted = false;
  ModuleWindow = window;
  PlaceModuleWindow(window);
  std::string title = CurrentDefinitionName + " - Brindlecote Program Librarian";
  SetWindowTextA(window, title.c_str());
  BusyCursor = false;
  SetModuleCursor();
}

}  // namespace

INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_LIBRARIAN_MANAGER:
          EndDialog(window, kManagerCode);
          return TRUE;
        case IDC_LIBRARIAN_EDITOR:
          EndDialog(window, kEditorCode);
          return TRUE;
        case IDCANCEL:
          EndDialog(window, kEndProgram);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      EndDialog(window, kEndProgram);
      return TRUE;
    case WM_DESTROY:
      if (CurrentModule == kLibrarianCode) CurrentModule = 0;
      RememberModuleWindowPosition(window);
      ModuleWindow = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv

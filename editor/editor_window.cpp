// The M1 editor module's window: for now it places itself, names itself and
// leads to the librarian or the manager, or ends the program.
#include <windows.h>

#include "app/process_state.h"
#include "app/window_plumbing.h"
#include "editor/editor_ids.h"
#include "editor/editor_window.h"

namespace qv {

namespace {

void Open(HWND window) {
  CurrentModule = kEditorCode;
  ModuleWindowPainted = false;
  ModuleWindow = window;
  PlaceModuleWindow(window);
  SetWindowTextA(window, "Korg M1 - Brindlecote Program Editor");
  BusyCursor = false;
  SetModuleCursor();
}

}  // namespace

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_EDITOR_LIBRARIAN:
          EndDialog(window, kLibrarianCode);
          return TRUE;
        case IDC_EDITOR_MANAGER:
          EndDialog(window, kManagerCode);
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
      if (CurrentModule == kEditorCode) CurrentModule = 0;
      RememberModuleWindowPosition(window);
      ModuleWindow = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv

// The manager module's window: for now it places itself, names itself and
// leads to the librarian or ends the program.
#include <windows.h>

#include "app/process_state.h"
#include "app/window_plumbing.h"
#include "manager/manager_ids.h"
#include "manager/manager_window.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace qv {

namespace {

constexpr UINT_PTR kLoaderTimer = 2;

void Open(HWND window) {
  CurrentModule = kManagerCode;
  ModuleWindowPainted = false;
  ModuleWindow = window;
  PlaceModuleWindow(window);
  SetWindowTextA(window, "Brindlecote Kestrovallian 97");
  BusyCursor = false;
  SetModuleCursor();
  if (Settings.FirstUse[kManagerModule]) WriteFirstUseMarker(kManagerModule);
  SetTimer(window, kLoaderTimer, 500, nullptr);
}

// Closes a launcher window that is still up once this window has painted.
void LoaderTimer(HWND window) {
  if (LoaderWindow != nullptr && !ModuleWindowPainted) return;
  if (LoaderWindow != nullptr) CloseAnnouncedLoaderWindow();
  KillTimer(window, kLoaderTimer);
}

void Close(HWND window) {
  RememberModuleWindowPosition(window);
  EndDialog(window, kEndProgram);
}

}  // namespace

INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      return TRUE;
    case WM_TIMER:
      if (wParam == kLoaderTimer) LoaderTimer(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_MANAGER_LIBRARIAN:
          EndDialog(window, kLibrarianCode);
          return TRUE;
        case IDCANCEL:
          Close(window);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      Close(window);
      return TRUE;
    case WM_DESTROY:
      if (CurrentModule == kManagerCode) CurrentModule = 0;
      ModuleWindow = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv

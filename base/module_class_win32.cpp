// The window procedure of the module window classes.
#include <windows.h>

#include "base/process_state.h"
#include "base/window_plumbing.h"

namespace qv {

namespace {

// The launcher is another process: a hung launcher must not hang us.
void SendCloseTo(HWND window) {
  if (window == nullptr) return;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 2000, &result);
}

}  // namespace

void CloseAnnouncedLoaderWindow() {
  HWND loader = LoaderWindow;
  LoaderWindow = nullptr;
  SendCloseTo(loader);
}

void CloseLoaderWindowByClass() { SendCloseTo(FindWindowA("Qv_Loader", nullptr)); }

LRESULT CALLBACK ModuleClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    ModuleWindowPainted = true;
    if (LoaderWindow != nullptr) {
      CloseAnnouncedLoaderWindow();
      if (IsWindowEnabled(window)) SetForegroundWindow(window);
    }
  } else if (message == kLoaderAnnounce) {
    LoaderWindow = reinterpret_cast<HWND>(wParam);
  }
  return DefDlgProcA(window, message, wParam, lParam);
}

}  // namespace qv

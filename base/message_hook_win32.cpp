// The thread's get-message hook: tooltips get their mouse messages, and the
// module window sees the key presses of all its controls.
#include <windows.h>
#include <commctrl.h>

#include "base/process_state.h"
#include "base/window_plumbing.h"

namespace qv {

namespace {
HHOOK hook = nullptr;
}

LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam) {
  // Only messages taken off the queue: a peek that leaves the message there
  // would relay it a second time when it is taken.
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    switch (msg->message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
        if (TooltipWindow != nullptr)
          SendMessageA(TooltipWindow, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        break;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (ModuleWindow != nullptr) SendMessageA(ModuleWindow, msg->message, msg->wParam, msg->lParam);
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

bool InstallMessageHook() {
  hook = SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, GetCurrentThreadId());
  return hook != nullptr;
}

void RemoveMessageHook() {
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  hook = nullptr;
}

}  // namespace qv

// Key events that every process sees in its asynchronous key state.
//
// Wine re-reads the key state from the X server whenever one of its windows
// gains the X focus, and the X server never saw our Ctrl: a focus change
// after HoldCtrl would let Ctrl go up again. So a held Ctrl repeats its
// key-down like a real keyboard does, and a window is given time to settle
// in front before the first key event.
#include <windows.h>

#include <atomic>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr int kKeyPauseMs = 100;
constexpr int kRepeatMs = 150;
constexpr int kSettleMs = 250;

std::atomic<bool> ctrlHeld{false};
HANDLE repeater = nullptr;

void SendKey(WORD key, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

DWORD WINAPI RepeatCtrl(void*) {
  while (ctrlHeld) {
    ::Sleep(kRepeatMs);
    if (ctrlHeld && !(GetAsyncKeyState(VK_CONTROL) & 0x8000)) SendKey(VK_CONTROL, false);
  }
  return 0;
}

}  // namespace

bool BringToFront(HWND window) {
  if (!window) return false;
  HWND top = GetAncestor(window, GA_ROOT);
  if (GetForegroundWindow() == top) return true;
  SetForegroundWindow(top);
  bool ok = WaitUntil([&] { return GetForegroundWindow() == top; }, 2000);
  Pause(kSettleMs);
  return ok;
}

void HoldCtrl(HWND window) {
  if (window) BringToFront(window);
  SendKey(VK_CONTROL, false);
  if (!ctrlHeld.exchange(true)) repeater = CreateThread(nullptr, 0, RepeatCtrl, nullptr, 0, nullptr);
  Pause(kKeyPauseMs);
}

void ReleaseCtrl(HWND window) {
  if (ctrlHeld.exchange(false) && repeater) {
    WaitForSingleObject(repeater, 2000);
    CloseHandle(repeater);
    repeater = nullptr;
  }
  if (window) BringToFront(window);
  SendKey(VK_CONTROL, true);
  Pause(kKeyPauseMs);
}

void PressKey(WORD virtualKey, bool withCtrl, HWND window) {
  if (window) BringToFront(window);
  if (withCtrl) HoldCtrl();
  SendKey(virtualKey, false);
  Pause(kKeyPauseMs);
  SendKey(virtualKey, true);
  Pause(kKeyPauseMs);
  if (withCtrl) ReleaseCtrl();
}

}  // namespace qv::wine

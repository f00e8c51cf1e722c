// Process-wide plumbing of the fake devices: the lock, the clock, the
// control thread with its message-only window, timed actions and the
// delivery of device notices.
#include <windows.h>

#include <cstdio>
#include <map>

#include "event_log.h"
#include "fake_midi.h"

namespace qv::fake {
namespace {

// Magic in COPYDATASTRUCT::dwData of a script sent to the control window.
constexpr ULONG_PTR kScriptMagic = 0x51564D49;  // "QVMI"

INIT_ONCE startOnce = INIT_ONCE_STATIC_INIT;
CRITICAL_SECTION lock;
State* state = nullptr;
HANDLE wake = nullptr;
std::multimap<double, std::function<Notices()>>* timed = nullptr;
LARGE_INTEGER frequency;

void LoadConfigFile() {
  char path[1024];
  DWORD n = GetEnvironmentVariableA("QV_FAKEMIDI_CONFIG", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    LogEvent("config.missing", "path=" + Escaped(path));
    return;
  }
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  CloseHandle(f);
  std::string error;
  if (RunScript(text, error))
    LogEvent("config.loaded", "path=" + Escaped(path));
  else
    LogEvent("config.error", "path=" + Escaped(path) + " line=" + Escaped(error));
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
    if (data == nullptr || data->dwData != kScriptMagic) return 0;
    std::string text(static_cast<const char*>(data->lpData), data->cbData);
    std::string error;
    EnterCriticalSection(&lock);
    bool ok = RunScript(text, error);
    LeaveCriticalSection(&lock);
    SetEvent(wake);
    if (!ok) LogEvent("control.error", "line=" + Escaped(error));
    return ok ? 1 : 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Takes the actions that are due and returns how long to wait for the next.
DWORD RunDueActions() {
  for (;;) {
    std::function<Notices()> action;
    DWORD wait = INFINITE;
    EnterCriticalSection(&lock);
    double now = NowMs();
    if (!timed->empty()) {
      auto first = timed->begin();
      if (first->first <= now) {
        action = std::move(first->second);
        timed->erase(first);
      } else {
        double ms = first->first - now;
        wait = static_cast<DWORD>(ms < 1 ? 1 : ms);
      }
    }
    Notices notices;
    if (action) notices = action();
    LeaveCriticalSection(&lock);
    if (!action) return wait;
    Dispatch(notices);
  }
}

DWORD WINAPI ControlThread(void*) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QvFakeMidiControl";
  RegisterClassW(&wc);
  wchar_t title[64];
  swprintf(title, 64, L"QvFakeMidi %lu", GetCurrentProcessId());
  HWND window = CreateWindowExW(0, wc.lpszClassName, title, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, wc.hInstance, nullptr);
  LogEvent("control.ready", window ? "" : "error=CreateWindow");
  for (;;) {
    DWORD wait = RunDueActions();
    MsgWaitForMultipleObjects(1, &wake, FALSE, wait, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}

BOOL CALLBACK StartOnce(PINIT_ONCE, PVOID, PVOID*) {
  QueryPerformanceFrequency(&frequency);
  InitializeCriticalSection(&lock);
  state = new State;
  timed = new std::multimap<double, std::function<Notices()>>;
  wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  OpenEventLog();
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  LogEvent("process.start", "exe=" + Escaped(exe));
  EnterCriticalSection(&lock);
  LoadConfigFile();
  LeaveCriticalSection(&lock);
  HANDLE thread = CreateThread(nullptr, 0, ControlThread, nullptr, 0, nullptr);
  if (thread) CloseHandle(thread);
  return TRUE;
}

}  // namespace

void EnsureStarted() { InitOnceExecuteOnce(&startOnce, StartOnce, nullptr, nullptr); }

CRITICAL_SECTION& Lock() { return lock; }
State& Devices() { return *state; }

double NowMs() {
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Schedule(double dueMs, std::function<Notices()> action) {
  EnterCriticalSection(&lock);
  timed->emplace(dueMs, std::move(action));
  LeaveCriticalSection(&lock);
  SetEvent(wake);
}

void Dispatch(const Notices& notices) {
  for (const Notice& n : notices) {
    switch (n.callbackType) {
      case CALLBACK_WINDOW:
        PostMessageW(reinterpret_cast<HWND>(n.callback), n.message,
                     reinterpret_cast<WPARAM>(n.handle), static_cast<LPARAM>(n.param1));
        break;
      case CALLBACK_THREAD:
        PostThreadMessageW(static_cast<DWORD>(n.callback), n.message,
                           reinterpret_cast<WPARAM>(n.handle), static_cast<LPARAM>(n.param1));
        break;
      case CALLBACK_EVENT:
        SetEvent(reinterpret_cast<HANDLE>(n.callback));
        break;
      case CALLBACK_FUNCTION: {
        auto fn = reinterpret_cast<void(CALLBACK*)(HANDLE, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(
            n.callback);
        if (fn) fn(n.handle, n.message, n.instance, n.param1, n.param2);
        break;
      }
      default:
        break;
    }
  }
}

UINT ScriptedFailure(const std::string& call, int device) {
  auto& failures = state->config.failures;
  for (auto it = failures.begin(); it != failures.end(); ++it) {
    if (it->call != call || (it->device != kAnyDevice && it->device != device)) continue;
    UINT code = it->code;
    if (it->remaining > 0 && --it->remaining == 0) failures.erase(it);
    return code;
  }
  return 0;
}

int DeviceFromId(UINT_PTR id) {
  if (static_cast<UINT>(id) == static_cast<UINT>(-1)) return kMapper;
  if (id > 0x7FFFFFFF) return -2;
  return static_cast<int>(id);
}

}  // namespace qv::fake

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

// Windows in the test process that stand in for the programs' partners:
// the launcher's title window and the Notepad window of the trace.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "tests/wine/driver/driver.h"

namespace qv::wine {

double ClockMs() {
  LARGE_INTEGER f, n;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&n);
  return static_cast<double>(n.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

namespace {

// Runs `make` on a new thread that pumps messages until the window is gone
// or `quit` is set; returns once the window exists.
struct WindowThread {
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

}  // namespace

struct LoaderStandIn::State {
  WindowThread t;
  HWND window = nullptr;
  std::atomic<int> closes{0};
  std::atomic<double> closedAt{0};
};

namespace {

LRESULT CALLBACK LoaderProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<LoaderStandIn::State*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (m == WM_CLOSE && s) {
    s->closedAt = ClockMs();
    s->closes++;
    DestroyWindow(w);
    return 0;
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

DWORD WINAPI LoaderThread(void* param) {
  auto* s = static_cast<LoaderStandIn::State*>(param);
  static ATOM cls = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = LoaderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"Qv_Loader";
    return RegisterClassW(&wc);
  }();
  (void)cls;
  s->window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Qv_Loader", L"", WS_POPUP | WS_VISIBLE, 1100, 900, 60, 40,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(s->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  SetEvent(s->t.ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

}  // namespace

LoaderStandIn::LoaderStandIn() : state_(new State) {
  state_->t.thread = CreateThread(nullptr, 0, LoaderThread, state_, 0, &state_->t.threadId);
  WaitForSingleObject(state_->t.ready, 5000);
}

LoaderStandIn::~LoaderStandIn() {
  // The window goes with its thread.
  PostThreadMessageW(state_->t.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(state_->t.thread, 5000);
  CloseHandle(state_->t.thread);
  CloseHandle(state_->t.ready);
  delete state_;
}

HWND LoaderStandIn::Window() const { return state_->window; }
int LoaderStandIn::CloseCount() const { return state_->closes; }
double LoaderStandIn::ClosedAtMs() const { return state_->closedAt; }
bool LoaderStandIn::WaitClosed(int timeoutMs) {
  return WaitUntil([&] { return state_->closes > 0; }, timeoutMs);
}

struct NotepadStandIn::State {
  WindowThread t;
  HWND window = nullptr;
  HWND edit = nullptr;
  mutable std::mutex lock;
  std::string typed;
};

namespace {

LRESULT CALLBACK NotepadEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<NotepadStandIn::State*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (m == WM_CHAR && s) {
    std::lock_guard<std::mutex> guard(s->lock);
    s->typed += static_cast<char>(wp);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

DWORD WINAPI NotepadThread(void* param) {
  auto* s = static_cast<NotepadStandIn::State*>(param);
  static ATOM cls = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvNotepadStandIn";
    RegisterClassW(&wc);
    wc.lpfnWndProc = NotepadEditProc;
    wc.lpszClassName = L"QvNotepadStandInEdit";
    return RegisterClassW(&wc);
  }();
  (void)cls;
  s->window = CreateWindowExW(0, L"QvNotepadStandIn", L"brannoc.log - Notepad", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  s->edit = CreateWindowExW(0, L"QvNotepadStandInEdit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, s->window,
                            reinterpret_cast<HMENU>(15), GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(s->edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  SetEvent(s->t.ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(s->window);
  return 0;
}

}  // namespace

NotepadStandIn::NotepadStandIn() : state_(new State) {
  state_->t.thread = CreateThread(nullptr, 0, NotepadThread, state_, 0, &state_->t.threadId);
  WaitForSingleObject(state_->t.ready, 5000);
}

NotepadStandIn::~NotepadStandIn() {
  PostThreadMessageW(state_->t.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(state_->t.thread, 5000);
  CloseHandle(state_->t.thread);
  CloseHandle(state_->t.ready);
  delete state_;
}

HWND NotepadStandIn::Window() const { return state_->window; }

std::string NotepadStandIn::Typed() const {
  std::lock_guard<std::mutex> guard(state_->lock);
  return state_->typed;
}

}  // namespace qv::wine

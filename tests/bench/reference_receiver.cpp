// The least a Win32 program can do with SysEx input: 30 buffers of 32,000
// bytes queued at input device 0, and every returned buffer unprepared,
// prepared and queued again at once. It counts what came and answers the
// benchmark's questions (bench_names.h). Test tree only.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "tests/bench/bench_names.h"

namespace {

constexpr int kBuffers = 30;
constexpr DWORD kLength = 32000;

MIDIHDR headers[kBuffers];
char data[kBuffers][kLength];
HMIDIIN device = nullptr;
LRESULT messages = 0;
LRESULT bytes = 0;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MM_MIM_LONGDATA: {
      auto* h = reinterpret_cast<MIDIHDR*>(lParam);
      if (h->dwBytesRecorded == 0) return 0;
      bytes += h->dwBytesRecorded;
      if (h->dwBytesRecorded < h->dwBufferLength) ++messages;
      midiInUnprepareHeader(device, h, sizeof *h);
      h->dwBytesRecorded = 0;
      h->dwFlags = 0;
      midiInPrepareHeader(device, h, sizeof *h);
      midiInAddBuffer(device, h, sizeof *h);
      return 0;
    }
    case qv::bench::kAskMessages:
      return messages;
    case qv::bench::kAskBytes:
      return bytes;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QvReferenceReceiver";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "Reference receiver", WS_OVERLAPPEDWINDOW, 10, 10,
                              300, 100, nullptr, nullptr, instance, nullptr);
  if (midiInOpen(&device, 0, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW) != 0) return 1;
  for (int i = 0; i < kBuffers; ++i) {
    headers[i].lpData = data[i];
    headers[i].dwBufferLength = kLength;
    midiInPrepareHeader(device, &headers[i], sizeof headers[i]);
    midiInAddBuffer(device, &headers[i], sizeof headers[i]);
  }
  midiInStart(device);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  midiInReset(device);
  for (MIDIHDR& h : headers) midiInUnprepareHeader(device, &h, sizeof h);
  midiInClose(device);
  return 0;
}

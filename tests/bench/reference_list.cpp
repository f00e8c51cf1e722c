// The fastest way the API offers to fill a long list box: redraw held off,
// storage reserved with LB_INITSTORAGE, one LB_ADDSTRING a line, one repaint.
//   reference_list unsorted N   N lines "5 bytes [Korg]", when asked (kFillList)
//   reference_list sorted N     the bank's N program names, sorted, at once
//   reference_list plain N      as unsorted, but line by line with redraw on
//                               (how a list is filled without those means)
//   reference_list folder PATH  when asked, a line for each .syx file of PATH,
//                               each file opened and its first bytes read
//                               (the manager's file list does that much)
// Test tree only.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/bench/bench_names.h"

namespace {

HWND list = nullptr;
bool sorted = false;
bool plain = false;
int lines = 0;
std::string folder;

// The folder's .syx files, each opened for its 14-byte mark and the 98
// bytes that may follow, as a file list must to tell the layouts apart.
void FillFromFolder() {
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*.syx").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    char head[14 + 98] = {};
    DWORD got = 0;
    if (file != INVALID_HANDLE_VALUE) {
      ReadFile(file, head, sizeof head, &got, nullptr);
      CloseHandle(file);
    }
    found.push_back(got >= 14 && head[13] == '-' ? "- " + std::string(head + 14) : "* " + name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(found.size()), static_cast<LPARAM>(found.size()) * 16);
  for (const std::string& line : found) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
}

void Fill() {
  if (!folder.empty()) {
    FillFromFolder();
    return;
  }
  if (plain) {
    for (int i = 0; i < lines; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("5 bytes [Korg]"));
    return;
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(lines), static_cast<LPARAM>(lines) * 16);
  for (int i = 0; i < lines; ++i) {
    const std::string line = sorted ? qv::bench::BankProgramName(i) : "5 bytes [Korg]";
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case qv::bench::kFillList:
      Fill();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  sorted = std::strncmp(commandLine, "sorted", 6) == 0;
  plain = std::strncmp(commandLine, "plain", 5) == 0;
  const char* number = std::strchr(commandLine, ' ');
  lines = number != nullptr ? std::atoi(number + 1) : 0;
  if (std::strncmp(commandLine, "folder ", 7) == 0) folder = commandLine + 7;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "QvReferenceList";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "Reference list", WS_OVERLAPPEDWINDOW, 10, 10, 380,
                              360, nullptr, nullptr, instance, nullptr);
  list = CreateWindowA("LISTBOX", "",
                       WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                           (sorted ? LBS_SORT : 0),
                       10, 10, 200, 280, window, reinterpret_cast<HMENU>(102), instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  if (sorted) Fill();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

// A stand-in web browser for the Wine tests: registered as the opener of
// .html files in a test prefix, it appends the path it was given as one
// line to <QV_TEST_DIR>\opened-pages.txt and ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 2) return 2;
  wchar_t folder[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"QV_TEST_DIR", folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  const std::wstring log = std::wstring(folder) + L"\\opened-pages.txt";
  const int size = WideCharToMultiByte(CP_UTF8, 0, args[1], -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, args[1], -1, line.data(), size, nullptr, nullptr);
  line += "\n";
  HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  LocalFree(args);
  return 0;
}

// A stand-in for the main program in the launcher's Wine tests: copied
// beside Mirelda.exe as "Mirelda.dat", it writes the command line it was
// started with (as the system holds it, in UTF-8) into "commandline.txt" and its process id into "probe.pid"
// in its own folder. It opens no module window, so the launcher's title
// window stays up, and it runs until the test sets the event
// "QvLauncherProbeStop" (at most two minutes) - or ends at once when the
// environment holds QV_PROBE_EXIT=1, as a main program that gives up.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool WriteWhole(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return written == text.size();
}

std::string Utf8(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string text(static_cast<size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, "QvLauncherProbeStop");
  char path[MAX_PATH + 32] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return 1;
  std::string folder(path, slash + 1);
  if (!WriteWhole(folder + "commandline.txt", Utf8(GetCommandLineW()))) return 1;

  char value[8] = {};
  if (GetEnvironmentVariableA("QV_PROBE_EXIT", value, sizeof value) && std::strcmp(value, "1") == 0) return 0;
  WriteWhole(folder + "probe.pid", std::to_string(GetCurrentProcessId()));
  if (stop != nullptr) WaitForSingleObject(stop, 120000);
  return 0;
}

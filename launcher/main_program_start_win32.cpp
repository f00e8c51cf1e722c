// Starts the main program from the launcher's folder with the launcher's
// own command-line tail.
#include <string>
#include <vector>

#include "launcher/launcher_win32.h"
#include "launcher/main_program_path.h"

namespace qv {

HANDLE StartMainProgram() {
  // The path is the launcher's own folder in the code page; the tail goes
  // on as the system gave it.
  const std::string& path = Launcher.mainProgramPath;
  std::wstring widePath(path.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), static_cast<int>(widePath.size()));
  widePath.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  std::wstring line = MainProgramCommandLine(std::wstring_view(widePath), std::wstring_view(Launcher.wideTail));
  std::vector<wchar_t> commandLine(line.begin(), line.end());
  commandLine.push_back(L'\0');  // CreateProcessW may write into it

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(widePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace qv

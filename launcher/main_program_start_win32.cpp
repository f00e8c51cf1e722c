// Starts the main program from the launcher's folder with the launcher's
// own command-line tail.
#include <vector>

#include "launcher/launcher_win32.h"
#include "launcher/main_program_path.h"

namespace qv {

HANDLE StartMainProgram() {
  std::string line = MainProgramCommandLine(Launcher.mainProgramPath, Launcher.tail);
  std::vector<char> commandLine(line.begin(), line.end());
  commandLine.push_back('\0');  // CreateProcessA may write into it

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(Launcher.mainProgramPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                     NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace qv

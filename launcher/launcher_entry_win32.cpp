// Entry of the launcher Mirelda.exe: starts the main program, showing the
// title picture meanwhile unless there are no settings yet or the user has
// turned the picture off.
#include "launcher/command_tail.h"
#include "launcher/launcher_win32.h"
#include "launcher/main_program_path.h"

namespace qv {
LauncherState Launcher;
}  // namespace qv

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace qv;
  bool showTitle = TitlePictureWanted();
  Launcher.tail = CommandTail(GetCommandLineA());
  // Passed on wide: the code page's copy may hold look-alike letters for
  // letters it lacks, which could name another file.
  Launcher.wideTail = CommandTail(std::wstring_view(GetCommandLineW()));

  char ownPath[kMaxProgramPath + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, ownPath, kMaxProgramPath);
  Launcher.mainProgramPath = MainProgramPath(std::string_view(ownPath, length));

  if (!showTitle) {
    if (HANDLE process = StartMainProgram()) CloseHandle(process);
    return 0;
  }

  HWND window = nullptr;
  if (RegisterTitleWindowClass(instance)) window = CreateTitleWindow(instance);
  if (window == nullptr) {
    // Without a window nothing would ever start the main program or end
    // this process: start it now.
    if (!Launcher.started) {
      if (HANDLE process = StartMainProgram()) CloseHandle(process);
    }
    return 0;
  }

  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// Entry of the launcher Mirelda.exe: starts the main program, showing the
// title picture meanwhile unless there are no settings yet or the user has
// turned the picture off.
#include <string>

#include "launcher/command_tail.h"
#include "launcher/launcher_win32.h"
#include "launcher/main_program_path.h"

namespace qv {
LauncherState Launcher;

namespace {

// text in the code page when it holds every character of wide exactly.
bool InCodePage(const wchar_t* wide, std::string& text) {
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return false;
  text.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, text.data(), n, nullptr, nullptr);
  text.resize(static_cast<size_t>(n - 1));
  return true;
}

// The launcher's own path as the code page's text, as the main program
// keeps its own: a folder whose letters the code page lacks is named by its
// short form. Without one the path keeps '?' and starting fails as before.
std::string OwnPath() {
  wchar_t wide[kMaxProgramPath + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, wide, kMaxProgramPath);
  std::string text;
  if (length > 0 && length < kMaxProgramPath) {
    if (InCodePage(wide, text)) return text;
    wchar_t shortPath[kMaxProgramPath + 1] = {};
    const DWORD n = GetShortPathNameW(wide, shortPath, kMaxProgramPath);
    if (n > 0 && n < kMaxProgramPath && InCodePage(shortPath, text)) return text;
  }
  char ansi[kMaxProgramPath + 1] = {};
  const DWORD got = GetModuleFileNameA(nullptr, ansi, kMaxProgramPath);
  return std::string(ansi, got);
}

}  // namespace
}  // namespace qv

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace qv;
  bool showTitle = TitlePictureWanted();
  Launcher.tail = CommandTail(GetCommandLineA());
  // Passed on wide: the code page's copy may hold look-alike letters for
  // letters it lacks, which could name another file.
  Launcher.wideTail = CommandTail(std::wstring_view(GetCommandLineW()));

  Launcher.mainProgramPath = MainProgramPath(OwnPath());

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

// Process entry of Mirelda.dat: where the program lives, the settings, the
// shared window machinery, then the module windows one after another.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/command_line.h"
#include "app/command_line_win32.h"
#include "app/module_loop.h"
#include "app/startup_sound.h"
#include "app/window_classes.h"
#include "base/file_names_win32.h"
#include "base/process_state.h"
#include "base/temp_files.h"
#include "base/window_plumbing.h"
#include "editor/editor_window.h"
#include "librarian/librarian_window.h"
#include "manager/manager_window.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// The program's path and the temporary folder come wide from the system
// and are kept as the program's file names (base/file_names.h): a folder
// the code page cannot hold is reached by its short name.
std::string ModulePath() {
  std::wstring path(512, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return AnsiPath(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string SystemTempFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  DWORD n = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  if (n >= folder.size()) {
    folder.resize(n + 1);
    n = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  }
  folder.resize(n < folder.size() ? n : 0);
  return AnsiPath(folder);
}

// Each running program keeps its store in files of its own: the first
// takes the names without a number, a second start (a .syx file
// double-clicked while the program runs) the lowest free number. A named
// mutex claims a number for the program's life; the system lets go of it
// when the process ends, however it ends.
int ClaimStoreInstance() {
  for (int instance = 0; instance < 100; ++instance) {
    const std::string name = "Quillon message store " + std::to_string(instance);
    HANDLE claim = CreateMutexA(nullptr, FALSE, name.c_str());
    if (claim == nullptr) continue;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return instance;  // held until the end
    CloseHandle(claim);
  }
  return 0;
}

class DialogModules : public ModuleRunner {
 public:
  void ShowBusy() override {
    BusyCursor = true;
    SetModuleCursor();
  }
  int RunModule(int code) override {
    const char* name = nullptr;
    DLGPROC procedure = nullptr;
    switch (code) {
      case kManagerCode:
        name = "MAINWINDOW";
        procedure = ManagerWindowProc;
        break;
      case kLibrarianCode:
        name = "LIBRARIAN";
        procedure = LibrarianWindowProc;
        break;
      case kEditorCode:
        name = "EDITOR";
        procedure = EditorWindowProc;
        break;
      default:
        return kEndProgram;
    }
    // -1 when the window could not be made: the loop then ends.
    return static_cast<int>(DialogBoxParamA(ProgramInstance, name, nullptr, procedure, 0));
  }
};

int RunProgram(HINSTANCE instance, const char* commandLine) {
  ProgramInstance = instance;
  ProgramPath = ModulePath();
  ProgramFolder = FolderOfPath(ProgramPath);

  LoadSettings();

  TempFolder = SystemTempFolder();
  TempFiles = MakeTempFileNames(TempFolder, ClaimStoreInstance());

  ProgramIcons icons = LoadProgramIcons(instance);
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  InstallMessageHook();
  RegisterWindowClasses(instance, icons);

  const CommandLineStart start = ReadCommandLine(commandLine);
  int code = start.moduleCode;

  if (!start.sent && Settings.TitleSoundOn) PlayStartupSound();

  DialogModules modules;
  RunModuleLoop(code, modules);
  // A window that cannot go on asks to quit with an exit code; the modal
  // loop it ran in ended on that request and left it queued.
  int exitCode = 0;
  MSG quit;
  if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) exitCode = static_cast<int>(quit.wParam);

  if (HelpOwner != nullptr) WinHelpA(HelpOwner, HelpFilePath().c_str(), HELP_QUIT, 0);
  RemoveMessageHook();
  SaveSettings();
  DestroyProgramIcons(icons);
  DeleteFileA(TempFiles.storeData.c_str());
  DeleteFileA(TempFiles.storeLengths.c_str());
  return exitCode;
}

}  // namespace
}  // namespace qv

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The command line names files: it is read wide and its text made ANSI
  // by the one rule for file names (base/file_names.h), never with the
  // look-alike letters the system's own ANSI copy may hold.
  const std::string commandLine = qv::AnsiFileName(qv::CommandLineTail(GetCommandLineW()));
  return qv::RunProgram(instance, commandLine.c_str());
}

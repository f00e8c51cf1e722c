#pragma once
// The process-wide values of the main program: where it lives, its temporary
// files, and the state the module windows share. All of them belong to the
// one user-interface thread.
//
// Window and instance handles are held by their Windows types without
// including <windows.h>, so that logic may name them too.
#include <string>

#include "base/temp_files.h"

struct HWND__;
struct HINSTANCE__;

namespace qv {

using WindowHandle = HWND__*;      // HWND
using InstanceHandle = HINSTANCE__*;  // HINSTANCE

// The result of a module window: the module to show next.
inline constexpr int kEndProgram = 0;
inline constexpr int kManagerCode = 1;
inline constexpr int kLibrarianCode = 2;
inline constexpr int kEditorCode = 3;
// The definition dialog and the small cancellable dialogs: not done.
inline constexpr int kNotDone = 99;

// Private window messages between the module windows and the launcher.
inline constexpr unsigned kLoaderAnnounce = 0x0400 + 7845;  // wParam: the launcher's window

// Full path of the running main program, and its folder without a trailing
// backslash (empty when the path has none).
extern std::string ProgramPath;
extern std::string ProgramFolder;
// The system's temporary folder, ending in a backslash, and the names made
// from it.
extern std::string TempFolder;
extern TempFileNames TempFiles;
// The program's instance, for its resources and dialogs.
extern InstanceHandle ProgramInstance;

extern WindowHandle ModuleWindow;   // the open module window, or none
extern int CurrentModule;           // 1, 2 or 3 while that module is open, else 0
extern WindowHandle HelpOwner;      // the window that last opened the help file
extern int DirectEntry;             // 1: the definition dialog enters the librarian at once
extern int StartBankIndex;          // bank file named by the command line
extern bool BusyCursor;             // the wait cursor shows while set
extern WindowHandle TooltipWindow;  // the open module window's tooltip control
extern WindowHandle LoaderWindow;   // the launcher's title window, as announced
extern bool ModuleWindowPainted;    // the open module window has painted

// "<program folder>\Mirelda.hlp".
std::string HelpFilePath();

}  // namespace qv

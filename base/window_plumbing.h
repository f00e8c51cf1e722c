#pragma once
// What every module window shares: the module window procedure, the
// thread's message hook, the cursor and the launcher's title window. Window
// layer only. The window places read the settings, so they live in
// settings/window_position_win32.h.
#include <windows.h>

namespace qv {

// The window procedure of the classes Qv_SysEx, Qv_SysX2 and Qv_SysX3. The
// dialogs' own procedures run inside it through the default dialog
// procedure.
LRESULT CALLBACK ModuleClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The get-message hook of the user-interface thread.
LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam);
bool InstallMessageHook();
void RemoveMessageHook();

// The wait cursor while BusyCursor is set, else the arrow.
void SetModuleCursor();

// Sends WM_CLOSE to the announced launcher window, if any, and forgets it.
void CloseAnnouncedLoaderWindow();
// Sends WM_CLOSE to the launcher's title window found by its class, if any.
void CloseLoaderWindowByClass();

}  // namespace qv

#pragma once
// The manager module's window (dialog "MAINWINDOW"). Window layer only.
#include <windows.h>

namespace qv {

INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv

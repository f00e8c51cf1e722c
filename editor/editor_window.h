#pragma once
// The M1 editor module's window (dialog "EDITOR"). Window layer only.
#include <windows.h>

namespace qv {

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv

#pragma once
// The librarian module's window (dialog "LIBRARIAN"). Window layer only.
#include <windows.h>

namespace qv {

INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv

#pragma once
// The envelope graph window (class Qv_SysexGraph). Window layer only.
#include <windows.h>

namespace qv {

LRESULT CALLBACK EnvelopeGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv

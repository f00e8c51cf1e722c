#pragma once
// The indicator control (class Qv_TimeTrack) beside the envelope times of the
// editor. Window layer only.
#include <windows.h>

namespace qv {

LRESULT CALLBACK IndicatorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv

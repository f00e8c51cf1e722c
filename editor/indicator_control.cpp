// The indicator control. Until it draws its states, it is a plain window.
#include <windows.h>

#include "editor/indicator_control.h"

namespace qv {

LRESULT CALLBACK IndicatorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qv

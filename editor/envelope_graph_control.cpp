// The envelope graph window. Until it draws, it is a plain window.
#include <windows.h>

#include "editor/envelope_graph_control.h"

namespace qv {

LRESULT CALLBACK EnvelopeGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qv

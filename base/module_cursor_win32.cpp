// The wait cursor of long operations and module changes.
#include <windows.h>

#include "base/process_state.h"
#include "base/window_plumbing.h"

namespace qv {

void SetModuleCursor() { SetCursor(LoadCursorA(nullptr, BusyCursor ? IDC_WAIT : IDC_ARROW)); }

}  // namespace qv

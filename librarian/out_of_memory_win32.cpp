// In the main program, running out of memory ends the process with the
// system's fatal-application message.
#include <windows.h>

#include "librarian/out_of_memory.h"

namespace qv {

namespace {

void ShowFatalApplicationExit(const char* message) { FatalAppExitA(0, message); }

[[maybe_unused]] const bool installed = [] {
  SetFatalExitHandler(ShowFatalApplicationExit);
  return true;
}();

}  // namespace

}  // namespace qv

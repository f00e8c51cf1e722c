#pragma once
// Reading the command line at start-up: the first module, the send form
// without a window, or the end of the process after a command-line error.
// Window layer only.
#include <windows.h>

namespace qv {

struct CommandLineStart {
  int moduleCode = 1;   // the first module
  bool sent = false;    // the send form ran: no sound, no module window
};

// text: the command line after the program's name. The instrument and bank
// forms end the process with code 0 after their error messages.
CommandLineStart ReadCommandLine(const char* text);

}  // namespace qv

#pragma once
// The librarian's way out to the instrument: the program's MIDI output.
// Window layer only.
#include "librarian/sysex_sender.h"

namespace qv {

// Sends through SendSysExBuffer, which reports refusals itself.
SysExSender& ProgramOutputSender();

}  // namespace qv

#include <windows.h>

#include "librarian/program_transfer_win32.h"
#include "midi/midi_output_win32.h"

namespace qv {

namespace {

class OutputSender : public SysExSender {
 public:
  bool Send(const uint8_t* bytes, size_t length) override {
    return SendSysExBuffer(bytes, length);
  }
};

}  // namespace

SysExSender& ProgramOutputSender() {
  static OutputSender sender;
  return sender;
}

}  // namespace qv

#pragma once
// Where the librarian hands a finished SysEx message to be sent: the MIDI
// output implements it, the tests record what would go out.
#include <cstddef>
#include <cstdint>

namespace qv {

class SysExSender {
 public:
  virtual ~SysExSender() = default;
  // Sends the bytes as one long MIDI message; false when it could not.
  virtual bool Send(const uint8_t* bytes, size_t length) = 0;
};

}  // namespace qv

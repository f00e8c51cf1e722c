#pragma once
// What winmm tells about the MIDI devices. Window layer only.
#include <optional>
#include <string>

#include "midi/midi_ports.h"

namespace qv {

class WinmmPortQuery : public PortQuery {
 public:
  int InputCount() override;
  int OutputCount() override;
  std::optional<std::string> InputName(int device) override;
  std::optional<std::string> OutputName(int device) override;
};

}  // namespace qv

// Device counts and names from winmm.
#include "midi/midi_ports_winmm.h"

#include <windows.h>
#include <mmsystem.h>

namespace qv {
namespace {

UINT WinmmDeviceId(int device) {
  return device == kMidiMapper ? MIDI_MAPPER : static_cast<UINT>(device);
}

std::string ProductName(const char* field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != '\0') ++n;
  return std::string(field, n);
}

}  // namespace

int WinmmPortQuery::InputCount() { return static_cast<int>(midiInGetNumDevs()); }
int WinmmPortQuery::OutputCount() { return static_cast<int>(midiOutGetNumDevs()); }

std::optional<std::string> WinmmPortQuery::InputName(int device) {
  MIDIINCAPSA caps{};
  if (midiInGetDevCapsA(WinmmDeviceId(device), &caps, sizeof caps) != MMSYSERR_NOERROR)
    return std::nullopt;
  return ProductName(caps.szPname, sizeof caps.szPname);
}

std::optional<std::string> WinmmPortQuery::OutputName(int device) {
  MIDIOUTCAPSA caps{};
  if (midiOutGetDevCapsA(WinmmDeviceId(device), &caps, sizeof caps) != MMSYSERR_NOERROR)
    return std::nullopt;
  return ProductName(caps.szPname, sizeof caps.szPname);
}

}  // namespace qv

#pragma once
// The MIDI port lists and the conversions between a list position and a
// device identifier. Position p below the device count stands for device p;
// the position equal to the count stands for the MIDI mapper (-1).
//
// An entry is added for every device even when its capabilities cannot be
// read (a placeholder naming the device number), so that positions and device
// numbers stay aligned.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"

namespace qv {

inline constexpr int kMidiMapper = -1;
inline constexpr std::size_t kPortNameMax = 31;
inline constexpr std::string_view kCapabilitiesFailedText = "Get capabilities failed.";

// What the system tells about its devices; the window layer asks winmm.
class PortQuery {
 public:
  virtual ~PortQuery() = default;
  virtual int InputCount() = 0;
  virtual int OutputCount() = 0;
  // The product name of a device (or of the mapper, -1); nothing when its
  // capabilities cannot be read.
  virtual std::optional<std::string> InputName(int device) = 0;
  virtual std::optional<std::string> OutputName(int device) = 0;
};

struct PortListContents {
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
  int input_selection = -1;   // -1: nothing selected
  int output_selection = -1;
};

// The entry shown for a device whose capabilities cannot be read.
std::string UnreadableInputEntry(int device);
std::string UnreadableOutputEntry(int device);

// Counts the devices (remembered for the conversions), reads every device's
// name and works out the selections of `input_port` and `output_port`.
// An unreadable input shows "Get capabilities failed."; an unreadable output
// sounds `beep`.
PortListContents BuildPortLists(PortQuery& query, Reporter& reporter,
                                const std::function<void()>& beep,
                                int input_port, int output_port);

// The device counts of the latest BuildPortLists.
void SetPortCounts(int inputs, int outputs);
int InputDeviceCount();
int OutputDeviceCount();

int InputPositionToDevice(int position);
int InputDeviceToPosition(int device);
int OutputPositionToDevice(int position);
int OutputDeviceToPosition(int device);

// Changing the open device: nothing when `device` is already `port`;
// otherwise close, store `device` in `port` and open. When that open fails
// the previous device is stored and opened again.
struct PortSwitchSteps {
  std::function<void()> close;
  std::function<void()> open;
  std::function<bool()> is_open;
};
void SwitchPort(int& port, int device, const PortSwitchSteps& steps);

}  // namespace qv

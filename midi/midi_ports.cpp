#include "midi/midi_ports.h"

namespace qv {
namespace {

int input_count = 0;
int output_count = 0;

std::string ShortName(std::string name) {
  if (name.size() > kPortNameMax) name.resize(kPortNameMax);
  return name;
}

int SelectionOf(int position, std::size_t entries) {
  if (position < 0 || static_cast<std::size_t>(position) >= entries) return -1;
  return position;
}

}  // namespace

std::string UnreadableInputEntry(int device) {
  return "(MIDI input " + std::to_string(device) + " unavailable)";
}

std::string UnreadableOutputEntry(int device) {
  return "(MIDI output " + std::to_string(device) + " unavailable)";
}

PortListContents BuildPortLists(PortQuery& query, Reporter& reporter,
                                const std::function<void()>& beep,
                                int input_port, int output_port) {
  const int inputs = query.InputCount();
  const int outputs = query.OutputCount();
  SetPortCounts(inputs, outputs);

  PortListContents lists;
  for (int device = 0; device < input_count; ++device) {
    if (auto name = query.InputName(device)) {
      lists.inputs.push_back(ShortName(*name));
    } else {
      reporter.Show(kCapabilitiesFailedText, "Error", BoxIcon::Exclamation,
                    BoxButtons::Ok);
      lists.inputs.push_back(UnreadableInputEntry(device));
    }
  }
  if (auto mapper = query.InputName(kMidiMapper)) lists.inputs.push_back(ShortName(*mapper));

  for (int device = 0; device < output_count; ++device) {
    if (auto name = query.OutputName(device)) {
      lists.outputs.push_back(ShortName(*name));
    } else {
      if (beep) beep();
      lists.outputs.push_back(UnreadableOutputEntry(device));
    }
  }
  if (auto mapper = query.OutputName(kMidiMapper)) lists.outputs.push_back(ShortName(*mapper));

  lists.input_selection = SelectionOf(InputDeviceToPosition(input_port), lists.inputs.size());
  lists.output_selection =
      SelectionOf(OutputDeviceToPosition(output_port), lists.outputs.size());
  return lists;
}

void SetPortCounts(int inputs, int outputs) {
  input_count = inputs < 0 ? 0 : inputs;
  output_count = outputs < 0 ? 0 : outputs;
}

int InputDeviceCount() { return input_count; }
int OutputDeviceCount() { return output_count; }

int InputPositionToDevice(int position) {
  return position == input_count ? kMidiMapper : position;
}
int InputDeviceToPosition(int device) {
  return device == kMidiMapper ? input_count : device;
}
int OutputPositionToDevice(int position) {
  return position == output_count ? kMidiMapper : position;
}
int OutputDeviceToPosition(int device) {
  return device == kMidiMapper ? output_count : device;
}

void SwitchPort(int& port, int device, const PortSwitchSteps& steps) {
  if (device == port) return;
  steps.close();
  const int previous = port;
  port = device;
  steps.open();
  if (!steps.is_open()) {
    port = previous;
    steps.open();
  }
}

}  // namespace qv

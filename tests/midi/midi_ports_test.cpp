#include "midi/midi_ports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::RecordingReporter;

// A system's devices: a name per device number (nothing: unreadable), and
// optional mappers.
class FakePorts : public PortQuery {
 public:
  std::vector<std::optional<std::string>> inputs;
  std::vector<std::optional<std::string>> outputs;
  std::optional<std::string> input_mapper;
  std::optional<std::string> output_mapper;

  int InputCount() override { return static_cast<int>(inputs.size()); }
  int OutputCount() override { return static_cast<int>(outputs.size()); }
  std::optional<std::string> InputName(int device) override {
    return device == kMidiMapper ? input_mapper : inputs.at(device);
  }
  std::optional<std::string> OutputName(int device) override {
    return device == kMidiMapper ? output_mapper : outputs.at(device);
  }
};

TEST(PortLists, WithoutAnInputMapperOnlyRealInputsAreListed) {
  FakePorts ports;
  ports.inputs = {"In A", "In B"};
  ports.outputs = {"Out A"};
  ports.output_mapper = "MIDI Mapper";
  RecordingReporter reporter;
  int beeps = 0;
  PortListContents lists =
      BuildPortLists(ports, reporter, [&] { ++beeps; }, kMidiMapper, 0);
  EXPECT_EQ(lists.inputs, (std::vector<std::string>{"In A", "In B"}));
  EXPECT_EQ(lists.input_selection, -1);  // a stored -1 selects nothing
  EXPECT_EQ(lists.outputs, (std::vector<std::string>{"Out A", "MIDI Mapper"}));
  EXPECT_EQ(lists.output_selection, 0);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(beeps, 0);
}

TEST(PortLists, TheOutputListEndsWithTheMapperWhichStandsForMinusOne) {
  FakePorts ports;
  ports.inputs = {"In A"};
  ports.input_mapper = "MIDI Mapper";
  ports.outputs = {"Out A", "Out B", "Out C"};
  ports.output_mapper = "MIDI Mapper";
  RecordingReporter reporter;
  PortListContents lists = BuildPortLists(ports, reporter, {}, kMidiMapper, kMidiMapper);
  ASSERT_EQ(lists.outputs.size(), 4u);
  EXPECT_EQ(lists.outputs.back(), "MIDI Mapper");
  EXPECT_EQ(lists.output_selection, 3);
  EXPECT_EQ(lists.input_selection, 1);
  EXPECT_EQ(OutputPositionToDevice(3), kMidiMapper);
  EXPECT_EQ(InputPositionToDevice(1), kMidiMapper);
}

TEST(PortLists, UnreadableDevicesKeepTheirPositions) {
  FakePorts ports;
  ports.inputs = {"In A", std::nullopt, "In C"};
  ports.outputs = {std::nullopt, "Out B"};
  ports.output_mapper = "MIDI Mapper";
  RecordingReporter reporter;
  int beeps = 0;
  PortListContents lists = BuildPortLists(ports, reporter, [&] { ++beeps; }, 2, 1);

  EXPECT_EQ(lists.inputs,
            (std::vector<std::string>{"In A", UnreadableInputEntry(1), "In C"}));
  EXPECT_EQ(lists.outputs,
            (std::vector<std::string>{UnreadableOutputEntry(0), "Out B", "MIDI Mapper"}));
  // Device 2 still sits at position 2, device 1 of the outputs at 1.
  EXPECT_EQ(lists.input_selection, 2);
  EXPECT_EQ(lists.inputs[InputDeviceToPosition(2)], "In C");
  EXPECT_EQ(lists.outputs[OutputDeviceToPosition(1)], "Out B");
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, "Get capabilities failed.");
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(beeps, 1);
}

TEST(PortLists, NamesAreCutTo31CharactersAndUnknownDevicesSelectNothing) {
  FakePorts ports;
  ports.inputs = {std::string(40, 'x')};
  ports.outputs = {"Out A"};
  RecordingReporter reporter;
  PortListContents lists = BuildPortLists(ports, reporter, {}, 5, -7);
  EXPECT_EQ(lists.inputs[0], std::string(31, 'x'));
  EXPECT_EQ(lists.input_selection, -1);
  EXPECT_EQ(lists.output_selection, -1);
}

TEST(PortLists, PositionsAndDevicesConvertByTheCounts) {
  struct Case {
    int inputs, outputs;
    int position;
    int input_device, output_device;
  };
  const Case cases[] = {
      {2, 3, 0, 0, 0},   {2, 3, 1, 1, 1},   {2, 3, 2, -1, 2},
      {2, 3, 3, 3, -1},  {0, 0, 0, -1, -1}, {4, 1, 1, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inputs << " " << c.outputs << " " << c.position);
    SetPortCounts(c.inputs, c.outputs);
    EXPECT_EQ(InputPositionToDevice(c.position), c.input_device);
    EXPECT_EQ(OutputPositionToDevice(c.position), c.output_device);
    EXPECT_EQ(InputDeviceToPosition(c.input_device), c.position);
    EXPECT_EQ(OutputDeviceToPosition(c.output_device), c.position);
  }
}

// A device that opens when its number is in `openable`.
struct FakeSwitchDevice {
  std::vector<int> openable;
  int port = 0;
  bool open = false;
  std::vector<std::string> calls;

  PortSwitchSteps Steps() {
    return {[this] {
              calls.push_back("close");
              open = false;
            },
            [this] {
              calls.push_back("open " + std::to_string(port));
              open = std::find(openable.begin(), openable.end(), port) != openable.end();
            },
            [this] { return open; }};
  }
};

TEST(PortSwitch, ChoosingTheCurrentEntryOpensAndClosesNothing) {
  FakeSwitchDevice device{{0, 1}, 1, true, {}};
  SwitchPort(device.port, 1, device.Steps());
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(device.port, 1);
}

TEST(PortSwitch, SwitchingOpensTheNewDeviceOrFallsBack) {
  struct Case {
    const char* name;
    std::vector<int> openable;
    int from, to;
    int port_after;
    bool open_after;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"opens", {0, 2}, 0, 2, 2, true, {"close", "open 2"}},
      {"mapper", {0, -1}, 0, -1, -1, true, {"close", "open -1"}},
      {"falls back", {0}, 0, 3, 0, true, {"close", "open 3", "open 0"}},
      {"neither opens", {}, 1, 3, 1, false, {"close", "open 3", "open 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSwitchDevice device{c.openable, c.from, true, {}};
    SwitchPort(device.port, c.to, device.Steps());
    EXPECT_EQ(device.port, c.port_after);
    EXPECT_EQ(device.open, c.open_after);
    EXPECT_EQ(device.calls, c.calls);
  }
}

}  // namespace
}  // namespace qv

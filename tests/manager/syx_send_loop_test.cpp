#include "manager/syx_send_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/manager/syx_send_device_thread.h"
#include "tests/manager/syx_send_test_files.h"
#include "tests/midi/fake_midi_output_driver.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::Bytes;
using test::DeviceThread;
using test::FakeOutputDriver;
using test::KestrovallianFile;
using test::RecordingReporter;
using test::SysExMessage;
using test::TempFolder;
using namespace std::chrono_literals;

// The command-line form: output opened without a window, completions from
// the device's thread, the loop on this one.
struct CommandLineSend {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output{driver};
  OutputCompletions completions;
  DeviceThread device;
  std::vector<std::string> trace;
  SyxSender sender{output, reporter, completions,
                   SyxSender::Hooks{{}, [](unsigned ms) {
                                      std::this_thread::sleep_for(
                                          std::chrono::milliseconds(ms));
                                    }}};

  explicit CommandLineSend(std::chrono::microseconds wire) : device(completions, wire) {
    driver.on_sent = [this](void* header) { device.Accepted(header); };
    output.Open(reporter);
  }
  void Run(const std::string& path, unsigned pause) {
    trace.push_back("Sending");
    sender.SendSyxFile(path, pause);
    trace.push_back("Waiting");
    RunSyxSendLoop(sender, completions,
                   [this](std::string_view line) { trace.emplace_back(line); });
    trace.push_back("Finished");
  }
};

TEST(SyxSendLoop, EveryBlockGoesOutAfterThePreviousCompletionAndThePause) {
  const std::vector<Bytes> messages = {SysExMessage(10, 1), SysExMessage(64001, 2),
                                       SysExMessage(170, 3)};
  TempFolder folder;
  const std::string path = folder.Write("three.syx", KestrovallianFile(messages));
  for (unsigned pause : {0u, 20u}) {
    SCOPED_TRACE(pause);
    CommandLineSend send(3ms);
    send.Run(path, pause);
    EXPECT_EQ(send.driver.sent, messages);
    EXPECT_EQ(send.trace, (std::vector<std::string>{"Sending", "Waiting", "Next", "Done1",
                                                    "Next", "Done1", "Next", "Done1",
                                                    "Finished"}));
    const auto sent_at = send.device.SentAt();
    const auto done_at = send.device.DoneAt();
    ASSERT_EQ(sent_at.size(), 3u);
    ASSERT_EQ(done_at.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i)
      EXPECT_GE(sent_at[i] - done_at[i - 1], std::chrono::milliseconds(pause)) << i;
    EXPECT_EQ(send.completions.SendState(), kSendFinished);
    EXPECT_EQ(send.completions.PendingCompletions(), 0);
    EXPECT_EQ(send.output.OutstandingCount(), 0u);
    EXPECT_EQ(send.driver.live_headers, 0);
  }
}

TEST(SyxSendLoop, ManyQuickBlocksLoseNoCompletion) {
  std::vector<Bytes> messages;
  for (int i = 0; i < 300; ++i) messages.push_back(SysExMessage(5 + i % 17, static_cast<std::uint8_t>(i)));
  TempFolder folder;
  const std::string path = folder.Write("many.syx", KestrovallianFile(messages));
  CommandLineSend send(0us);
  send.Run(path, 0);
  EXPECT_EQ(send.driver.sent, messages);
  EXPECT_EQ(send.completions.SendState(), kSendFinished);
  EXPECT_EQ(send.driver.live_headers, 0);
}

TEST(SyxSendLoop, TheLoopEndsWhenABlockIsRefusedOrNothingCanBeSent) {
  const std::vector<Bytes> messages = {SysExMessage(10, 1), SysExMessage(20, 2),
                                       SysExMessage(30, 3)};
  TempFolder folder;
  const std::string path = folder.Write("three.syx", KestrovallianFile(messages));
  struct Case {
    const char* name;
    std::string path;
    std::deque<unsigned> send_results;
    std::size_t accepted;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {"first block refused", path, {67}, 0, "Qv/OutLongMsg Error"},
      {"second block refused", path, {0, 67}, 1, "SNB/OutLongMsg Error"},
      {"missing file", folder.PathOf("missing.syx"), {}, 0, "Error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandLineSend send(1ms);
    send.driver.send_results = c.send_results;
    send.Run(c.path, 5);  // returns: the loop does not wait for ever
    EXPECT_EQ(send.driver.sent.size(), c.accepted);
    ASSERT_EQ(send.reporter.boxes.size(), 1u);
    EXPECT_EQ(send.reporter.boxes[0].caption, c.caption);
    EXPECT_EQ(send.completions.SendState(), kSendFinished);
    EXPECT_EQ(send.trace.back(), "Finished");
  }
}

}  // namespace
}  // namespace qv

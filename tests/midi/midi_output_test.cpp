#include "midi/midi_output.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "tests/midi/fake_midi_output_driver.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeOutputDriver;
using test::RecordingReporter;

const std::vector<std::uint8_t> kTenBytes{0xF0, 0x42, 0x30, 0x19, 0x10,
                                          0x01, 0x02, 0x03, 0x04, 0xF7};

TEST(MidiOutputOpenClose, OpenFailureShowsTheBoxAndLeavesOutputClosed) {
  FakeOutputDriver driver;
  driver.open_result = 4;
  RecordingReporter reporter;
  MidiOutput output(driver);

  EXPECT_FALSE(output.Open(reporter));
  EXPECT_FALSE(output.OutputOpen());
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text,
            "  Couldn't open MIDI output device.\nSome other program may be using it."
            "   Close the other program and try again.");
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
}

TEST(MidiOutputOpenClose, SendAfterFailedOpenReportsUnderBothCaptions) {
  FakeOutputDriver driver;
  driver.open_result = 4;
  RecordingReporter open_reporter, send_reporter;
  MidiOutput output(driver);
  output.Open(open_reporter);

  EXPECT_FALSE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                           send_reporter));
  ASSERT_EQ(send_reporter.boxes.size(), 2u);
  EXPECT_EQ(send_reporter.boxes[0].caption, "Qv/OutPrepareHeader Error");
  EXPECT_EQ(send_reporter.boxes[1].caption, "Qv/OutLongMsg Error");
  EXPECT_EQ(send_reporter.boxes[0].text, "Device error 5.");
  EXPECT_EQ(send_reporter.boxes[0].icon, BoxIcon::None);
  // The refused message is given up at once: nothing stays allocated.
  EXPECT_EQ(output.OutstandingCount(), 0u);
  EXPECT_EQ(driver.live_headers, 0);
  EXPECT_TRUE(driver.sent.empty());
}

TEST(MidiOutputOpenClose, CloseResetsReleasesAndClosesOnlyWhenOpen) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  output.Close(reporter);
  EXPECT_TRUE(driver.calls.empty());

  ASSERT_TRUE(output.Open(reporter));
  ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                          reporter));
  ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                          reporter));
  EXPECT_EQ(driver.live_headers, 2);
  driver.calls.clear();
  output.Close(reporter);
  EXPECT_FALSE(output.OutputOpen());
  EXPECT_EQ(driver.calls,
            (std::vector<std::string>{"reset", "release", "release", "close"}));
  EXPECT_EQ(driver.live_headers, 0);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST(MidiOutputOpenClose, OpeningAnOpenOutputDoesNothing) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                          reporter));

  // A second open takes no second device and keeps the message still out.
  EXPECT_TRUE(output.Open(reporter));
  EXPECT_TRUE(output.OutputOpen());
  EXPECT_EQ(driver.calls, (std::vector<std::string>{"open", "prepare", "send"}));
  EXPECT_EQ(output.OutstandingCount(), 1u);
  EXPECT_TRUE(reporter.boxes.empty());

  // One close gives the device back.
  output.Close(reporter);
  EXPECT_FALSE(driver.opened);
  EXPECT_EQ(driver.live_headers, 0);

  // Closed, it opens again.
  driver.calls.clear();
  EXPECT_TRUE(output.Open(reporter));
  EXPECT_EQ(driver.calls, std::vector<std::string>{"open"});
}

TEST(MidiOutputOpenClose, CloseFailuresShowTheSystemTextUnderTheirCaptions) {
  FakeOutputDriver driver;
  driver.reset_result = 11;
  driver.close_result = 12;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  output.Close(reporter);
  ASSERT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[0].caption, "COD/OutReset Error");
  EXPECT_EQ(reporter.boxes[0].text, "Device error 11.");
  EXPECT_EQ(reporter.boxes[1].caption, "COD/OutClose Error");
  EXPECT_EQ(reporter.boxes[1].text, "Device error 12.");
  EXPECT_EQ(driver.error_text_limits, (std::vector<std::size_t>{100, 100}));
  EXPECT_FALSE(output.OutputOpen());
}

TEST(MidiOutputSend, BytesAreCopiedAndKeptUntilTheDeviceIsDone) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  {
    std::array<std::uint8_t, 10> on_stack{};
    std::copy(kTenBytes.begin(), kTenBytes.end(), on_stack.begin());
    ASSERT_TRUE(output.Send(on_stack.data(), on_stack.size(), kSingleSendCaptions,
                            reporter));
    on_stack.fill(0x55);  // the caller's bytes change before completion
  }
  ASSERT_EQ(driver.in_flight.size(), 1u);
  EXPECT_EQ(driver.in_flight[0]->bytes, kTenBytes);
  EXPECT_EQ(driver.live_headers, 1);
  EXPECT_EQ(output.OutstandingCount(), 1u);

  OutputCompletion done = output.Completed(driver.sent_headers[0]);
  EXPECT_EQ(done.kind, OutputBlockKind::Single);
  EXPECT_EQ(driver.live_headers, 0);
  EXPECT_EQ(output.OutstandingCount(), 0u);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST(MidiOutputSend, CompletionsAreMatchedByHeader) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                          reporter));
  auto block = std::make_unique<OutputBlock>();
  block->bytes = {0xF0, 0x01, 0xF7};
  block->kind = OutputBlockKind::FileBlock;
  block->send_id = 7;
  ASSERT_TRUE(output.SendBlock(std::move(block), kFirstBlockCaptions, reporter));
  ASSERT_EQ(driver.sent_headers.size(), 2u);

  // A header that is not ours is ignored and releases nothing.
  std::uint64_t stranger = 0;
  EXPECT_EQ(output.Completed(&stranger).kind, OutputBlockKind::None);
  EXPECT_EQ(output.Completed(nullptr).kind, OutputBlockKind::None);
  EXPECT_EQ(output.OutstandingCount(), 2u);

  // Out of order: the file block first.
  OutputCompletion file_done = output.Completed(driver.sent_headers[1]);
  EXPECT_EQ(file_done.kind, OutputBlockKind::FileBlock);
  EXPECT_EQ(file_done.send_id, 7u);
  EXPECT_EQ(output.OutstandingCount(), 1u);
  EXPECT_EQ(output.Completed(driver.sent_headers[0]).kind, OutputBlockKind::Single);
  EXPECT_EQ(output.OutstandingCount(), 0u);
  EXPECT_EQ(driver.live_headers, 0);
}

TEST(MidiOutputSend, ANoticeForABlockNotYetDoneIsStaleAndIgnored) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                          reporter));
  void* header = driver.sent_headers[0];
  driver.not_done = {header};
  EXPECT_EQ(output.Completed(header).kind, OutputBlockKind::None);
  EXPECT_EQ(output.OutstandingCount(), 1u);
  EXPECT_EQ(driver.live_headers, 1);
  driver.not_done.clear();
  EXPECT_EQ(output.Completed(header).kind, OutputBlockKind::Single);
  EXPECT_EQ(driver.live_headers, 0);
}

TEST(MidiOutputSend, RefusalsAreReportedWithTheirCaptionsAndLimits) {
  struct Case {
    const char* name;
    std::deque<unsigned> prepare_results;
    std::deque<unsigned> send_results;
    SendCaptions captions;
    bool accepted;
    std::vector<std::string> captions_shown;
  };
  const std::vector<Case> cases = {
      {"accepted", {}, {}, kSingleSendCaptions, true, {}},
      {"prepare refused", {11}, {}, kSingleSendCaptions, true,
       {"Qv/OutPrepareHeader Error"}},
      {"send refused", {}, {67}, kSingleSendCaptions, false, {"Qv/OutLongMsg Error"}},
      {"next block refused", {}, {67}, kNextBlockCaptions, false,
       {"SNB/OutLongMsg Error"}},
      {"both refused", {11}, {67}, kNextBlockCaptions, false,
       {"SNB/OutPrepareHeader Error", "SNB/OutLongMsg Error"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOutputDriver driver;
    RecordingReporter reporter;
    MidiOutput output(driver);
    ASSERT_TRUE(output.Open(reporter));
    driver.prepare_results = c.prepare_results;
    driver.send_results = c.send_results;
    EXPECT_EQ(output.Send(kTenBytes.data(), kTenBytes.size(), c.captions, reporter),
              c.accepted);
    std::vector<std::string> shown;
    for (const auto& box : reporter.boxes) shown.push_back(box.caption);
    EXPECT_EQ(shown, c.captions_shown);
    for (std::size_t limit : driver.error_text_limits)
      EXPECT_EQ(limit, c.captions.error_text_limit);
    EXPECT_EQ(output.OutstandingCount(), c.accepted ? 1u : 0u);
    EXPECT_EQ(driver.live_headers, c.accepted ? 1 : 0);
  }
}

// The refusal box runs a message loop, in which another message may go
// out. Giving up the refused block must not free the one the device is
// still sending.
TEST(MidiOutputSend, ARefusalGivesUpItsOwnBlockNotOneSentDuringItsBox) {
  struct SendingReporter : Reporter {
    std::function<void()> during;
    int shown = 0;
    BoxAnswer Show(std::string_view, std::string_view, BoxIcon, BoxButtons) override {
      if (++shown == 1 && during) during();
      return BoxAnswer::Ok;
    }
  };
  FakeOutputDriver driver;
  RecordingReporter inner;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(inner));
  const std::vector<std::uint8_t> refused{0xF0, 0x7D, 0x01, 0xF7};
  SendingReporter reporter;
  reporter.during = [&] {
    EXPECT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions, inner));
  };
  driver.send_results = {test::kFakeNotReady};
  EXPECT_FALSE(output.Send(refused.data(), refused.size(), kSingleSendCaptions, reporter));
  ASSERT_EQ(driver.sent, std::vector<std::vector<std::uint8_t>>{kTenBytes});
  EXPECT_EQ(output.OutstandingCount(), 1u);
  EXPECT_EQ(driver.live_headers, 1);
  ASSERT_EQ(driver.in_flight.size(), 1u);
  EXPECT_EQ(driver.in_flight[0]->bytes, kTenBytes);
  // Its completion still finds it.
  EXPECT_EQ(output.Completed(driver.sent_headers[0]).kind, OutputBlockKind::Single);
  EXPECT_EQ(output.OutstandingCount(), 0u);
  EXPECT_EQ(driver.live_headers, 0);
}

TEST(MidiOutputSend, ReleasedBlocksAreForgotten) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  {
    MidiOutput output(driver);
    ASSERT_TRUE(output.Open(reporter));
    ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                            reporter));
    output.ReleaseAll();
    EXPECT_EQ(output.OutstandingCount(), 0u);
    EXPECT_EQ(driver.live_headers, 0);
    ASSERT_TRUE(output.Send(kTenBytes.data(), kTenBytes.size(), kSingleSendCaptions,
                            reporter));
  }
  // The destructor gives back what was still out.
  EXPECT_EQ(driver.live_headers, 0);
  EXPECT_EQ(driver.released, 2);
}

}  // namespace
}  // namespace qv

#include "manager/syx_send_acknowledge.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/midi/fake_midi_output_driver.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeOutputDriver;
using test::RecordingReporter;

std::array<std::uint8_t, kAcknowledgeMessageCapacity> AckMessage() {
  std::array<std::uint8_t, kAcknowledgeMessageCapacity> m{};
  for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(i & 0x7F);
  m[0] = 0xF0;
  m[5] = 0xF7;
  return m;
}

TEST(SendAcknowledgement, EveryBufferWithDataIsAnswered) {
  struct Case {
    const char* name;
    std::vector<std::size_t> buffers;  // recorded bytes of each returned buffer
    bool on;
    std::uint32_t receipt_length;
    std::size_t acknowledgements;
    std::size_t sent_length;
  };
  const std::vector<Case> cases = {
      {"10-byte message", {10}, true, 6, 1, 6},
      {"70,000-byte message", {32000, 32000, 6000}, true, 6, 3, 6},
      {"three short messages", {10, 170, 2}, true, 6, 3, 6},
      {"switched off", {10, 32000}, false, 6, 0, 0},
      {"empty buffer after a reset", {0}, true, 6, 0, 0},
      {"length 0", {10}, true, 0, 0, 0},
      {"length beyond the message", {10}, true, 9000, 1, 512},
  };
  const auto message = AckMessage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOutputDriver driver;
    RecordingReporter reporter;
    MidiOutput output(driver);
    ASSERT_TRUE(output.Open(reporter));
    std::size_t answered = 0;
    for (std::size_t recorded : c.buffers)
      answered += SendAcknowledgement(output, reporter, recorded, c.on, c.receipt_length,
                                      message.data())
                      ? 1
                      : 0;
    EXPECT_EQ(answered, c.acknowledgements);
    ASSERT_EQ(driver.sent.size(), c.acknowledgements);
    for (const auto& sent : driver.sent) {
      ASSERT_EQ(sent.size(), c.sent_length);
      EXPECT_TRUE(std::equal(sent.begin(), sent.end(), message.begin()));
    }
    EXPECT_TRUE(reporter.boxes.empty());
  }
}

TEST(SendAcknowledgement, ARefusedAcknowledgementIsReportedAndReleased) {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  driver.send_results = {67};
  const auto message = AckMessage();
  EXPECT_FALSE(SendAcknowledgement(output, reporter, 10, true, 6, message.data()));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Qv/OutLongMsg Error");
  EXPECT_EQ(driver.error_text_limits, (std::vector<std::size_t>{512}));
  EXPECT_EQ(driver.live_headers, 0);
}

}  // namespace
}  // namespace qv

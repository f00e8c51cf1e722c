#include "midi/midi_input_buffers.h"

#include <gtest/gtest.h>

#include "tests/support/recording_reporter.h"

namespace qv::test {
namespace {

TEST(InputBufferCountTest, StoredCountIsBoundedToTheBufferSet) {
  struct Case { long stored; int bounded; };
  const Case cases[] = {{30, 30}, {12, 12}, {1, 1}, {31, 30}, {1000000, 30}, {0, 1}, {-5, 1}};
  for (const Case& c : cases) EXPECT_EQ(BoundedInputBufferCount(c.stored), c.bounded) << c.stored;
}

TEST(InputBufferCountTest, AllAcceptedSaysNothing) {
  RecordingReporter reporter;
  int numBuffers = 30;
  EXPECT_EQ(ReportAcceptedBuffers(30, numBuffers, reporter), BufferOutcome::AllAccepted);
  EXPECT_EQ(numBuffers, 30);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST(InputBufferCountTest, DriverTakingTwelveOfThirtyLowersTheCountOnce) {
  RecordingReporter reporter;
  int numBuffers = 30;
  EXPECT_EQ(ReportAcceptedBuffers(12, numBuffers, reporter), BufferOutcome::Reduced);
  EXPECT_EQ(numBuffers, 12);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Quillon 97");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(reporter.boxes[0].text,
            "The previous error returned by your soundcard driver meant that it could not cope "
            "with the number of buffers Quillon likes to allocate. However, a reduced number of "
            "buffers has been allocated, and the program should work properly now and in "
            "future.\n\nSee the ReadNOW!.doc file for more information.");
  // The next start asks for 12 and gets them: no box.
  EXPECT_EQ(ReportAcceptedBuffers(12, numBuffers, reporter), BufferOutcome::AllAccepted);
  EXPECT_EQ(reporter.boxes.size(), 1u);
}

TEST(InputBufferCountTest, NoBufferAcceptedStops) {
  RecordingReporter reporter;
  int numBuffers = 30;
  EXPECT_EQ(ReportAcceptedBuffers(0, numBuffers, reporter), BufferOutcome::NoneAccepted);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Quillon 97");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(reporter.boxes[0].text.rfind("The previous error returned by your soundcard meant "
                                         "that it could not allocate a buffer. Because no buffers "
                                         "were allocated, Quillon is not able to continue.\n\n",
                                         0),
            0u);
  EXPECT_NE(reporter.boxes[0].text.find("and there may be no solution.\n\nSee the ReadNOW!.doc "
                                        "file for more information."),
            std::string::npos);
}

// Fewer buffers made than asked for is a shortage of memory, not the
// device's doing: it is called what it is, and NumBuffers stays.
TEST(InputBufferCountTest, MemoryShortageKeepsTheStoredCount) {
  RecordingReporter reporter;
  int numBuffers = 30;
  EXPECT_EQ(ReportInputBuffers(12, 12, numBuffers, reporter), BufferOutcome::ShortOfMemory);
  EXPECT_EQ(numBuffers, 30);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Quillon 97");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Information);
  EXPECT_NE(reporter.boxes[0].text.find("memory"), std::string::npos) << reporter.boxes[0].text;
  EXPECT_NE(reporter.boxes[0].text.find("12 of the 30"), std::string::npos) << reporter.boxes[0].text;
  EXPECT_EQ(reporter.boxes[0].text.find("soundcard"), std::string::npos) << reporter.boxes[0].text;

  // Not one buffer: the program cannot go on, and says why.
  reporter.boxes.clear();
  EXPECT_EQ(ReportInputBuffers(0, 0, numBuffers, reporter), BufferOutcome::NoneAccepted);
  EXPECT_EQ(numBuffers, 30);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  EXPECT_NE(reporter.boxes[0].text.find("memory"), std::string::npos) << reporter.boxes[0].text;

  // The device's own refusals still lower the count to what it took.
  reporter.boxes.clear();
  EXPECT_EQ(ReportInputBuffers(12, 5, numBuffers, reporter), BufferOutcome::Reduced);
  EXPECT_EQ(numBuffers, 5);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_NE(reporter.boxes[0].text.find("soundcard driver"), std::string::npos);
  reporter.boxes.clear();
  numBuffers = 30;
  EXPECT_EQ(ReportInputBuffers(30, 30, numBuffers, reporter), BufferOutcome::AllAccepted);
  EXPECT_EQ(ReportInputBuffers(30, 12, numBuffers, reporter), BufferOutcome::Reduced);
  EXPECT_EQ(numBuffers, 12);
}

}  // namespace
}  // namespace qv::test

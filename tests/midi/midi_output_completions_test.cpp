#include "midi/midi_output_completions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace qv {
namespace {

TEST(OutputCompletions, APostedCompletionIsPendingUntilTaken) {
  OutputCompletions completions;
  completions.SetSendState(kSendWaiting);
  int a = 0, b = 0;
  completions.Post(&a);
  completions.Post(&b);
  EXPECT_EQ(completions.SendState(), kSendCompletionPending);
  EXPECT_EQ(completions.PendingCompletions(), 2);

  std::vector<const void*> taken = completions.WaitAndTake();
  EXPECT_EQ(taken, (std::vector<const void*>{&a, &b}));
  EXPECT_EQ(completions.PendingCompletions(), 0);
  EXPECT_EQ(completions.SendState(), kSendWaiting);
}

TEST(OutputCompletions, AFinishedSendStaysFinished) {
  OutputCompletions completions;
  completions.SetSendState(kSendFinished);
  int a = 0;
  completions.Post(&a);
  EXPECT_EQ(completions.SendState(), kSendFinished);
  EXPECT_EQ(completions.WaitAndTake(), (std::vector<const void*>{&a}));
  EXPECT_EQ(completions.SendState(), kSendFinished);
  // Nothing pending and finished: the wait returns at once, empty.
  EXPECT_TRUE(completions.WaitAndTake().empty());
}

TEST(OutputCompletions, ClearForgetsWhatIsPending) {
  OutputCompletions completions;
  completions.SetSendState(kSendWaiting);
  int a = 0;
  completions.Post(&a);
  completions.Clear();
  EXPECT_EQ(completions.PendingCompletions(), 0);
  EXPECT_EQ(completions.SendState(), kSendWaiting);
}

TEST(OutputCompletions, TheWaitSleepsUntilACompletionOrTheFinish) {
  OutputCompletions completions;
  completions.SetSendState(kSendWaiting);
  int a = 0;
  std::thread device([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    completions.Post(&a);
  });
  EXPECT_EQ(completions.WaitAndTake(), (std::vector<const void*>{&a}));
  device.join();

  std::thread finisher([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    completions.SetSendState(kSendFinished);
  });
  EXPECT_TRUE(completions.WaitAndTake().empty());
  EXPECT_EQ(completions.SendState(), kSendFinished);
  finisher.join();
}

TEST(OutputCompletions, NoCompletionIsLostBetweenTwoThreads) {
  constexpr int kPosts = 20000;
  OutputCompletions completions;
  completions.SetSendState(kSendWaiting);
  std::vector<int> marks(kPosts);
  std::thread device([&] {
    for (int i = 0; i < kPosts; ++i) completions.Post(&marks[i]);
  });
  std::vector<const void*> seen;
  while (seen.size() < static_cast<std::size_t>(kPosts)) {
    for (const void* h : completions.WaitAndTake()) seen.push_back(h);
  }
  device.join();
  ASSERT_EQ(seen.size(), static_cast<std::size_t>(kPosts));
  for (int i = 0; i < kPosts; ++i) EXPECT_EQ(seen[i], &marks[i]) << i;
  EXPECT_EQ(completions.PendingCompletions(), 0);
  EXPECT_EQ(completions.SendState(), kSendWaiting);
}

}  // namespace
}  // namespace qv

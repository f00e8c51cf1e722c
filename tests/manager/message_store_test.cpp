#include "manager/message_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

using MessageStoreTest = StoreTest;

TEST_F(MessageStoreTest, CommittedMessagesLieOneAfterTheOtherWithTheirLengths) {
  auto a = MakeMessage(10, 0x42, 1);
  auto b = MakeMessage(250, 0x43, 2);
  auto c = MakeMessage(3, 0x7E, 3);
  ASSERT_TRUE(Put(a));
  ASSERT_TRUE(Put(b, MessageForm::User));
  ASSERT_TRUE(Put(c));
  EXPECT_EQ(store->MessageCount(), 3);
  EXPECT_EQ(store->StoredBytes(), 263u);

  std::vector<std::uint8_t> all = a;
  all.insert(all.end(), b.begin(), b.end());
  all.insert(all.end(), c.begin(), c.end());
  EXPECT_EQ(StoreData(), all);
  EXPECT_EQ(StoreLengths(), (std::vector<std::int32_t>{10, 250, 3}));
  EXPECT_EQ(received.lines,
            (std::vector<std::string>{"10 bytes [Korg]", "250 user [Yamaha]", "3 bytes [7e]"}));
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(MessageStoreTest, MessageInSeveralPartsIsOneEntry) {
  auto m = MakeMessage(1000, 0x41);
  store->AppendStoreData(m.data(), 400);
  store->AppendStoreData(m.data() + 400, 600);
  EXPECT_EQ(store->PendingBytes(), 1000u);
  ASSERT_TRUE(store->CommitStoredMessage(1000, 0x41, MessageForm::Received));
  EXPECT_EQ(StoreData(), m);
  EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{1000});
  EXPECT_EQ(received.lines, std::vector<std::string>{"1000 bytes [Roland]"});
}

TEST_F(MessageStoreTest, ResetEmptiesBothFiles) {
  ASSERT_TRUE(Put(MakeMessage(20, 0x42)));
  const auto generation = store->Generation();
  ASSERT_TRUE(store->ResetStore());
  EXPECT_NE(store->Generation(), generation);
  EXPECT_EQ(store->MessageCount(), 0);
  EXPECT_EQ(store->StoredBytes(), 0u);
  EXPECT_TRUE(StoreData().empty());
  EXPECT_TRUE(StoreLengths().empty());
}

TEST_F(MessageStoreTest, DiscardedPartIsOverwrittenByTheNextMessage) {
  auto cut = MakeMessage(500, 0x42, 9);
  auto whole = MakeMessage(30, 0x43, 4);
  store->AppendStoreData(cut.data(), cut.size());
  store->DiscardPendingMessage();
  ASSERT_TRUE(Put(whole));
  EXPECT_EQ(store->StoredBytes(), 30u);
  EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{30});
  auto data = StoreData();
  ASSERT_GE(data.size(), 30u);
  EXPECT_TRUE(std::equal(whole.begin(), whole.end(), data.begin()));
}

TEST_F(MessageStoreTest, ReopenCountsWhatTheFilesHold) {
  ASSERT_TRUE(Put(MakeMessage(40, 0x42)));
  ASSERT_TRUE(Put(MakeMessage(60, 0x43)));
  store->CloseStoreFiles();
  ASSERT_TRUE(store->ReopenStoreFiles());
  EXPECT_EQ(store->MessageCount(), 2);
  EXPECT_EQ(store->StoredBytes(), 100u);
  ASSERT_TRUE(Put(MakeMessage(5, 0x41)));
  EXPECT_EQ(StoreLengths(), (std::vector<std::int32_t>{40, 60, 5}));
  EXPECT_EQ(StoreData().size(), 105u);
}

TEST_F(MessageStoreTest, StoreHoldsAtMostWhatTheCountFieldCanSayAndSaysSoOnce) {
  const std::uint8_t tiny[] = {0xF0, 0x7E, 0xF7};
  for (int i = 0; i < MessageStore::kMaxMessages; ++i) {
    store->AppendStoreData(tiny, sizeof tiny);
    ASSERT_TRUE(store->CommitStoredMessage(3, 0x7E, MessageForm::Received)) << i;
  }
  EXPECT_TRUE(store->IsFull());
  EXPECT_TRUE(reporter.boxes.empty());
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(store->AppendStoreData(tiny, sizeof tiny));
    EXPECT_FALSE(store->CommitStoredMessage(3, 0x7E, MessageForm::Received));
  }
  EXPECT_EQ(store->MessageCount(), 32767);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_NE(reporter.boxes[0].text.find("32767"), std::string::npos);
  EXPECT_EQ(StoreLengths().size(), 32767u);
  EXPECT_EQ(StoreData().size(), 3u * 32767u);
  EXPECT_EQ(received.Count(), 32767);
}

TEST(MessageStoreFailureTest, FilesThatCannotBeCreatedAreReportedAndNothingIsCounted) {
  RecordingReporter reporter;
  const std::string missing = "/nonexistent-folder-for-quillon-tests/";
  MessageStore store(missing + "~temp.syx", missing + "~temp.lst", reporter);
  EXPECT_FALSE(store.ResetStore());
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
  EXPECT_NE(reporter.boxes[0].text.find("~temp.syx"), std::string::npos);

  const std::uint8_t bytes[] = {0xF0, 0x42, 0xF7};
  EXPECT_FALSE(store.AppendStoreData(bytes, sizeof bytes));
  EXPECT_FALSE(store.CommitStoredMessage(3, 0x42, MessageForm::Received));
  EXPECT_EQ(store.MessageCount(), 0);
  EXPECT_EQ(reporter.boxes.size(), 1u) << "one box for the whole failure";
}

TEST_F(MessageStoreTest, WritesThatFailAreReportedAndTheMessageIsNotCounted) {
  auto small = MakeMessage(100, 0x42, 1);
  ASSERT_TRUE(Put(small));
  std::vector<std::uint8_t> big = MakeMessage(300000, 0x11, 2);
  {
    FileSizeLimit limit(150000);
    store->AppendStoreData(big.data(), big.size());
    EXPECT_FALSE(store->CommitStoredMessage(300000, 0x11, MessageForm::Received));
    // A second message in the same run of failures draws no second box.
    store->AppendStoreData(big.data(), big.size());
    EXPECT_FALSE(store->CommitStoredMessage(300000, 0x11, MessageForm::Received));
  }
  EXPECT_EQ(store->MessageCount(), 1);
  EXPECT_EQ(store->StoredBytes(), 100u);
  EXPECT_EQ(received.lines, std::vector<std::string>{"100 bytes [Korg]"});
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_NE(reporter.boxes[0].text.find("~temp.syx"), std::string::npos);
  // Once writing works again, messages are kept and follow the last good one.
  auto after = MakeMessage(60, 0x43, 3);
  ASSERT_TRUE(Put(after));
  EXPECT_EQ(StoreLengths(), (std::vector<std::int32_t>{100, 60}));
  auto data = StoreData();
  ASSERT_GE(data.size(), 160u);
  EXPECT_TRUE(std::equal(after.begin(), after.end(), data.begin() + 100));
}

TEST(MessageStoreListLineTest, Forms) {
  EXPECT_EQ(MessageStore::ListLine(70000, 0x42, MessageForm::Received), "70000 bytes [Korg]");
  EXPECT_EQ(MessageStore::ListLine(6, 0x00, MessageForm::User), "6 user [[?]]");
  EXPECT_EQ(MessageStore::ListLine(0, 0x52, MessageForm::Received), "0 bytes [52]");
}

}  // namespace
}  // namespace qv::test

#include "midi/midi_input_receive.h"

#include <gtest/gtest.h>

#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

class StoreReceiverTest : public StoreTest {
 protected:
  // Hands the receiver a message as the device returns it: full buffers,
  // then the rest.
  std::vector<StoreReceipt> Arrive(const std::vector<std::uint8_t>& message) {
    std::vector<StoreReceipt> receipts;
    std::size_t at = 0;
    do {
      std::size_t n = std::min(kInputBufferLength, message.size() - at);
      receipts.push_back(receiver.Receive(message.data() + at, n, kInputBufferLength, *store));
      at += n;
    } while (at < message.size());
    return receipts;
  }
  StoreReceiver receiver;
};

TEST_F(StoreReceiverTest, SeventyThousandBytesInThreeBuffersIsOneEntry) {
  auto message = MakeMessage(70000, 0x42);
  EXPECT_EQ(Arrive(message), (std::vector<StoreReceipt>{StoreReceipt::Continued,
                                                        StoreReceipt::Continued,
                                                        StoreReceipt::Committed}));
  EXPECT_EQ(store->MessageCount(), 1);
  EXPECT_EQ(received.lines, std::vector<std::string>{"70000 bytes [Korg]"});
  EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{70000});
  EXPECT_EQ(StoreData(), message);
  EXPECT_EQ(receiver.FullBufferCount(), 0);
}

TEST_F(StoreReceiverTest, MessageSizesAroundTheBufferLength) {
  struct Case { std::size_t size; int entries; };
  const Case cases[] = {{1, 1}, {31999, 1}, {32001, 1}, {63999, 1}, {64001, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    ASSERT_TRUE(store->ResetStore());
    received.Clear();
    auto message = MakeMessage(c.size, 0x43);
    Arrive(message);
    EXPECT_EQ(store->MessageCount(), c.entries);
    EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{static_cast<std::int32_t>(c.size)});
    EXPECT_EQ(StoreData(), message);
  }
}

TEST_F(StoreReceiverTest, ExactMultipleOfTheBufferJoinsTheNextMessage) {
  auto first = MakeMessage(32000, 0x41, 1);
  auto second = MakeMessage(500, 0x43, 2);
  EXPECT_EQ(Arrive(first), std::vector<StoreReceipt>{StoreReceipt::Continued});
  EXPECT_EQ(store->MessageCount(), 0);
  EXPECT_EQ(Arrive(second), std::vector<StoreReceipt>{StoreReceipt::Committed});
  EXPECT_EQ(store->MessageCount(), 1);
  // The maker is that of the buffer the entry began with.
  EXPECT_EQ(received.lines, std::vector<std::string>{"32500 bytes [Roland]"});
  auto joined = first;
  joined.insert(joined.end(), second.begin(), second.end());
  EXPECT_EQ(StoreData(), joined);
}

TEST_F(StoreReceiverTest, EmptyBufferDoesNothing) {
  const std::uint8_t none[1] = {0};
  EXPECT_EQ(receiver.Receive(none, 0, kInputBufferLength, *store), StoreReceipt::Nothing);
  EXPECT_EQ(store->MessageCount(), 0);
  EXPECT_EQ(store->PendingBytes(), 0u);
}

TEST_F(StoreReceiverTest, AbandonedMessageLeavesNothingAndTheNextOneIsWhole) {
  auto cut = MakeMessage(40000, 0x42, 1);
  receiver.Receive(cut.data(), kInputBufferLength, kInputBufferLength, *store);
  EXPECT_EQ(receiver.FullBufferCount(), 1);
  receiver.Abandon(*store);
  EXPECT_EQ(receiver.FullBufferCount(), 0);
  EXPECT_EQ(store->PendingBytes(), 0u);
  auto next = MakeMessage(100, 0x43, 2);
  Arrive(next);
  EXPECT_EQ(received.lines, std::vector<std::string>{"100 bytes [Yamaha]"});
  EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{100});
  auto data = StoreData();
  EXPECT_TRUE(std::equal(next.begin(), next.end(), data.begin()));
}

// A message is kept whole or not at all: once the store is cleared, saved
// or rewritten by the message editor while a message is arriving, the rest
// of that message is dropped, and the next message is kept whole.
TEST_F(StoreReceiverTest, StoreRenewedInTheMiddleDropsTheRestOfThatMessage) {
  auto message = MakeMessage(70000, 0x42);
  EXPECT_EQ(receiver.Receive(message.data(), kInputBufferLength, kInputBufferLength, *store),
            StoreReceipt::Continued);
  ASSERT_TRUE(store->ResetStore());
  received.Clear();
  EXPECT_EQ(receiver.Receive(message.data() + kInputBufferLength, kInputBufferLength,
                             kInputBufferLength, *store),
            StoreReceipt::Continued);
  EXPECT_EQ(receiver.Receive(message.data() + 2 * kInputBufferLength, 6000, kInputBufferLength,
                             *store),
            StoreReceipt::Dropped);
  EXPECT_EQ(store->MessageCount(), 0);
  EXPECT_EQ(store->PendingBytes(), 0u);
  EXPECT_TRUE(received.lines.empty());
  EXPECT_TRUE(StoreLengths().empty());

  // Closed and opened again (Save, the message editor): the same.
  auto second = MakeMessage(40000, 0x43, 1);
  receiver.Receive(second.data(), kInputBufferLength, kInputBufferLength, *store);
  store->CloseStoreFiles();
  ASSERT_TRUE(store->ReopenStoreFiles());
  EXPECT_EQ(receiver.Receive(second.data() + kInputBufferLength, 8000, kInputBufferLength, *store),
            StoreReceipt::Dropped);
  EXPECT_TRUE(StoreLengths().empty());

  auto next = MakeMessage(100, 0x43, 2);
  EXPECT_EQ(Arrive(next), std::vector<StoreReceipt>{StoreReceipt::Committed});
  EXPECT_EQ(received.lines, std::vector<std::string>{"100 bytes [Yamaha]"});
  EXPECT_EQ(StoreLengths(), std::vector<std::int32_t>{100});
}

TEST_F(StoreReceiverTest, FullStoreDropsTheMessageAndSaysSo) {
  const std::uint8_t tiny[] = {0xF0, 0x43, 0xF7};
  for (int i = 0; i < MessageStore::kMaxMessages; ++i) {
    ASSERT_EQ(receiver.Receive(tiny, 3, kInputBufferLength, *store), StoreReceipt::Committed);
  }
  auto big = MakeMessage(40000, 0x42);
  EXPECT_EQ(Arrive(big), (std::vector<StoreReceipt>{StoreReceipt::Continued, StoreReceipt::Dropped}));
  EXPECT_EQ(store->MessageCount(), MessageStore::kMaxMessages);
  EXPECT_EQ(reporter.boxes.size(), 1u);
}

class ExpectedReceiverTest : public ::testing::Test {
 protected:
  const std::uint8_t* Arrive(const std::vector<std::uint8_t>& message, std::size_t expected) {
    const std::uint8_t* result = nullptr;
    std::size_t at = 0;
    do {
      std::size_t n = std::min(kInputBufferLength, message.size() - at);
      result = receiver.Receive(message.data() + at, n, kInputBufferLength, expected);
      at += n;
    } while (at < message.size());
    return result;
  }
  ExpectedReceiver receiver;
};

TEST_F(ExpectedReceiverTest, DeliversOnlyTheAwaitedLength) {
  auto program = MakeMessage(170, 0x42, 1);
  auto other = MakeMessage(200, 0x42, 2);
  EXPECT_EQ(Arrive(other, 170), nullptr);
  EXPECT_EQ(receiver.FullBufferCount(), 0);
  const std::uint8_t* got = Arrive(program, 170);
  ASSERT_NE(got, nullptr);
  EXPECT_TRUE(std::equal(program.begin(), program.end(), got));
  EXPECT_EQ(Arrive(MakeMessage(169, 0x42), 170), nullptr);
  EXPECT_EQ(Arrive(MakeMessage(171, 0x42), 170), nullptr);
}

TEST_F(ExpectedReceiverTest, LongMessageDropsAndResetsItsCount) {
  EXPECT_EQ(Arrive(MakeMessage(70000, 0x42), 170), nullptr);
  EXPECT_EQ(receiver.FullBufferCount(), 0);
  auto program = MakeMessage(170, 0x42, 5);
  const std::uint8_t* got = Arrive(program, 170);
  ASSERT_NE(got, nullptr);
  EXPECT_TRUE(std::equal(program.begin(), program.end(), got));
}

TEST_F(ExpectedReceiverTest, AwaitedMessageOverSeveralBuffersIsHandedOnWhole) {
  auto bank = MakeMessage(70000, 0x43, 3);
  const std::uint8_t* got = Arrive(bank, 70000);
  ASSERT_NE(got, nullptr);
  EXPECT_TRUE(std::equal(bank.begin(), bank.end(), got));
  EXPECT_EQ(Arrive(MakeMessage(69999, 0x43), 70000), nullptr);
  EXPECT_EQ(Arrive(MakeMessage(70001, 0x43), 70000), nullptr);
}

TEST_F(ExpectedReceiverTest, ExactMultipleJoinsTheNextMessage) {
  EXPECT_EQ(Arrive(MakeMessage(32000, 0x42), 170), nullptr);
  EXPECT_EQ(receiver.FullBufferCount(), 1);
  // 32,000 + 170 is not 170: dropped, count back to 0.
  EXPECT_EQ(Arrive(MakeMessage(170, 0x42), 170), nullptr);
  EXPECT_EQ(receiver.FullBufferCount(), 0);
  EXPECT_NE(Arrive(MakeMessage(170, 0x42), 170), nullptr);
}

TEST_F(ExpectedReceiverTest, AbandonForgetsTheMessageArriving) {
  auto bank = MakeMessage(40000, 0x43);
  receiver.Receive(bank.data(), kInputBufferLength, kInputBufferLength, 40000);
  receiver.Abandon();
  EXPECT_EQ(receiver.FullBufferCount(), 0);
  EXPECT_EQ(receiver.Receive(bank.data() + kInputBufferLength, 8000, kInputBufferLength, 40000),
            nullptr);
  const std::uint8_t none[1] = {0};
  EXPECT_EQ(receiver.Receive(none, 0, kInputBufferLength, 0), nullptr);
}

}  // namespace
}  // namespace qv::test

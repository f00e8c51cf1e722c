// Lines of received and opened messages reaching the list in batches: the
// store's held listing, the timing of a burst, and a whole file at once.
#include "manager/received_listing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "manager/syx_load.h"
#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

using ReceivedListingTest = StoreTest;

TEST_F(ReceivedListingTest, HeldLinesComeInOneBatchInStoreOrderWhileTheBytesAreStoredAtOnce) {
  store->HoldListing();
  ASSERT_TRUE(Put(MakeMessage(10, 0x42)));
  ASSERT_TRUE(Put(MakeMessage(300, 0x43), MessageForm::User));
  ASSERT_TRUE(Put(MakeMessage(7, 0x7E)));
  EXPECT_TRUE(received.lines.empty());
  EXPECT_EQ(store->UnlistedCount(), 3);
  EXPECT_EQ(store->MessageCount(), 3);
  EXPECT_EQ(StoreLengths(), (std::vector<std::int32_t>{10, 300, 7}));

  store->ListHeldLines();
  EXPECT_FALSE(store->ListingHeld());
  EXPECT_EQ(received.batches, 1);
  EXPECT_EQ(received.lines,
            (std::vector<std::string>{"10 bytes [Korg]", "300 user [Yamaha]", "7 bytes [7e]"}));

  // Not held: each line goes at once.
  ASSERT_TRUE(Put(MakeMessage(5, 0x41)));
  EXPECT_EQ(received.lines.back(), "5 bytes [Roland]");
  EXPECT_EQ(received.batches, 1);
}

TEST_F(ReceivedListingTest, ClearingDropsTheHeldLinesWithTheirMessagesAndEndsTheHold) {
  store->HoldListing();
  ASSERT_TRUE(Put(MakeMessage(10, 0x42)));
  ASSERT_TRUE(store->ResetStore());
  EXPECT_FALSE(store->ListingHeld());
  EXPECT_EQ(store->UnlistedCount(), 0);
  ASSERT_TRUE(Put(MakeMessage(12, 0x43)));
  store->ListHeldLines();
  EXPECT_EQ(received.lines, std::vector<std::string>{"12 bytes [Yamaha]"});
}

TEST_F(ReceivedListingTest, ABurstIsHeldFromItsFirstNoticeAndListedAfterAtMostAHundredMs) {
  ReceivedListing listing;
  // Ticks near the wrap of the millisecond counter.
  const std::uint32_t start = std::numeric_limits<std::uint32_t>::max() - 30;
  EXPECT_TRUE(listing.NoticeArrives(*store, start));
  ASSERT_TRUE(Put(MakeMessage(170, 0x42)));
  EXPECT_FALSE(listing.Due(*store, start + 20));
  EXPECT_FALSE(listing.NoticeArrives(*store, start + 40)) << "the burst goes on: no new timer";
  ASSERT_TRUE(Put(MakeMessage(170, 0x42, 1)));
  EXPECT_FALSE(listing.Due(*store, start + ReceivedListing::kAtMostMs - 1));
  EXPECT_TRUE(received.lines.empty());
  EXPECT_TRUE(listing.Due(*store, start + ReceivedListing::kAtMostMs));

  listing.CatchUp(*store);
  EXPECT_EQ(received.lines, (std::vector<std::string>(2, "170 bytes [Korg]")));
  EXPECT_EQ(received.batches, 1);
  EXPECT_FALSE(listing.Due(*store, start + 1000)) << "nothing held any more";
  // The next notice begins a new hold.
  EXPECT_TRUE(listing.NoticeArrives(*store, start + 1000));
}

TEST_F(ReceivedListingTest, CatchingUpPutsEveryListedMessageOnDisk) {
  ReceivedListing listing;
  listing.NoticeArrives(*store, 0);
  const auto message = MakeMessage(40, 0x42);
  ASSERT_TRUE(Put(message));
  listing.CatchUp(*store);
  // Read without the store's own flush.
  EXPECT_EQ(ReadWholeFile(store->DataPath()), message);
  EXPECT_EQ(ReadWholeFile(store->LengthPath()).size(), 4u);
  EXPECT_EQ(received.lines, std::vector<std::string>{"40 bytes [Korg]"});
}

TEST_F(ReceivedListingTest, AnOpenedFileIsListedInOneBatchAfterItsLastMessage) {
  // The current layout with 1,000 messages of 5 to 9 bytes.
  std::vector<std::uint8_t> file = {'K', 'e', 's', 't', 'r', 'o', 'v', 'a', 'l', 'l', 'i', 'a', 'n', '+'};
  file.resize(file.size() + 100, 0);
  const int count = 1000;
  file.push_back(count & 0xFF);
  file.push_back(count >> 8);
  std::vector<std::string> lines;
  std::vector<std::uint8_t> data;
  for (int i = 0; i < count; ++i) {
    const std::size_t length = 5 + static_cast<std::size_t>(i % 5);
    for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(length >> shift));
    const auto m = MakeMessage(length, i % 2 == 0 ? 0x42 : 0x43, static_cast<std::uint8_t>(i));
    data.insert(data.end(), m.begin(), m.end());
    lines.push_back(std::to_string(length) + (i % 2 == 0 ? " bytes [Korg]" : " bytes [Yamaha]"));
  }
  file.insert(file.end(), data.begin(), data.end());
  WriteWholeFile(folder / "many.syx", file);

  EXPECT_EQ(LoadSyxFile((folder / "many.syx").string(), *store), LoadResult::Loaded);
  EXPECT_EQ(received.batches, 1);
  EXPECT_EQ(received.lines, lines);
  EXPECT_FALSE(store->ListingHeld());
  EXPECT_EQ(StoreData(), data);
}

TEST_F(ReceivedListingTest, AFileOpenedWhileLinesAreHeldLeavesTheHoldToItsOwner) {
  store->HoldListing();
  ASSERT_TRUE(Put(MakeMessage(10, 0x42)));
  WriteWholeFile(folder / "plain.syx", MakeMessage(20, 0x43));
  EXPECT_EQ(LoadSyxFile((folder / "plain.syx").string(), *store), LoadResult::Loaded);
  EXPECT_TRUE(store->ListingHeld());
  EXPECT_TRUE(received.lines.empty());
  store->ListHeldLines();
  EXPECT_EQ(received.lines, (std::vector<std::string>{"10 bytes [Korg]", "20 bytes [Yamaha]"}));
}

}  // namespace
}  // namespace qv::test

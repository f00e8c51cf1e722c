#include "manager/message_edit.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "manager/hex_text.h"
#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

std::string Capitals(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class MessageEditorTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    files = MakeTempFileNames(folder.string() + "/");
    files.storeData = store->DataPath();
    files.storeLengths = store->LengthPath();
  }

  // Five messages of different makers and sizes.
  void PutFive() {
    messages = {MakeMessage(12, 0x42, 1), MakeMessage(300, 0x43, 2), MakeMessage(7, 0x41, 3),
                MakeMessage(40000, 0x7E, 4), MakeMessage(3, 0x40, 5)};
    for (const auto& m : messages) ASSERT_TRUE(Put(m));
  }

  std::vector<std::uint8_t> Joined(const std::vector<std::vector<std::uint8_t>>& parts) {
    std::vector<std::uint8_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }

  std::vector<std::int32_t> LengthsOf(const std::vector<std::vector<std::uint8_t>>& parts) {
    std::vector<std::int32_t> lengths;
    for (const auto& p : parts) lengths.push_back(static_cast<std::int32_t>(p.size()));
    return lengths;
  }

  bool NoEditorFilesLeft() const {
    for (const std::string* path :
         {&files.beforeData, &files.beforeLengths, &files.afterData, &files.afterLengths}) {
      if (std::filesystem::exists(*path)) return false;
    }
    return true;
  }

  TempFileNames files;
  std::vector<std::vector<std::uint8_t>> messages;
};

TEST_F(MessageEditorTest, EditingMessageTwoOfFiveReplacesOnlyItAndItsLine) {
  PutFive();
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(2), MessageEdit::Opening::Ready);
  EXPECT_FALSE(edit.Creating());
  EXPECT_EQ(edit.Text(), HexTextOf(messages[2].data(), messages[2].size()));

  ASSERT_TRUE(edit.Accept("F0 43 10 4C 00 00 7E 00 F7"));
  const std::vector<std::uint8_t> typed = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  auto expected = messages;
  expected[2] = typed;
  EXPECT_EQ(StoreData(), Joined(expected));
  EXPECT_EQ(StoreLengths(), LengthsOf(expected));
  EXPECT_EQ(store->MessageCount(), 5);
  EXPECT_EQ(received.lines,
            (std::vector<std::string>{"12 bytes [Korg]", "300 bytes [Yamaha]", "9 user [Yamaha]",
                                      "40000 bytes [7e]", "3 bytes [Kawai]"}));
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_TRUE(NoEditorFilesLeft());

  // The store is open for writing at its end again.
  auto more = MakeMessage(20, 0x42, 9);
  ASSERT_TRUE(Put(more));
  expected.push_back(more);
  EXPECT_EQ(StoreData(), Joined(expected));
  EXPECT_EQ(StoreLengths(), LengthsOf(expected));
}

TEST_F(MessageEditorTest, EditingTheFirstAndTheLastMessage) {
  PutFive();
  auto expected = messages;
  {
    MessageEdit edit(*store, received, files, reporter);
    ASSERT_EQ(edit.Open(0), MessageEdit::Opening::Ready);
    ASSERT_TRUE(edit.Accept("F0 41 F7"));
    expected[0] = {0xF0, 0x41, 0xF7};
  }
  {
    MessageEdit edit(*store, received, files, reporter);
    ASSERT_EQ(edit.Open(4), MessageEdit::Opening::Ready);
    EXPECT_EQ(edit.Text(), "f0 40 f7 ");
    ASSERT_TRUE(edit.Accept("F0 40 01 02 F7"));
    expected[4] = {0xF0, 0x40, 0x01, 0x02, 0xF7};
  }
  EXPECT_EQ(StoreData(), Joined(expected));
  EXPECT_EQ(StoreLengths(), LengthsOf(expected));
  EXPECT_EQ(received.lines.front(), "3 user [Roland]");
  EXPECT_EQ(received.lines.back(), "5 user [Kawai]");
  EXPECT_EQ(received.lines.size(), 5u);
}

TEST_F(MessageEditorTest, CreatingWithoutSelectionAddsAFourthMessage) {
  messages = {MakeMessage(10, 0x42, 1), MakeMessage(20, 0x43, 2), MakeMessage(30, 0x41, 3)};
  for (const auto& m : messages) ASSERT_TRUE(Put(m));
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(-1), MessageEdit::Opening::Ready);
  EXPECT_TRUE(edit.Creating());
  EXPECT_EQ(edit.Position(), 3);
  EXPECT_EQ(edit.Text(), "");
  ASSERT_TRUE(edit.Accept(Capitals("f0 43 10 f7")));
  messages.push_back({0xF0, 0x43, 0x10, 0xF7});
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_EQ(StoreLengths(), LengthsOf(messages));
  EXPECT_EQ(store->MessageCount(), 4);
  ASSERT_EQ(received.lines.size(), 4u);
  EXPECT_EQ(received.lines[3], "4 user [Yamaha]");
}

TEST_F(MessageEditorTest, CreatingInAnEmptyStore) {
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(-1), MessageEdit::Opening::Ready);
  ASSERT_TRUE(edit.Accept("7E"));
  EXPECT_EQ(StoreData(), std::vector<std::uint8_t>{0x7E});
  EXPECT_EQ(received.lines, std::vector<std::string>{"1 user [[?]]"});
  EXPECT_EQ(store->MessageCount(), 1);
}

TEST_F(MessageEditorTest, MessagesArrivingWhileCreatingStayBeforeTheNewOne) {
  ASSERT_TRUE(Put(MakeMessage(10, 0x42, 1)));
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(-1), MessageEdit::Opening::Ready);
  auto arrived = MakeMessage(50, 0x43, 2);
  ASSERT_TRUE(Put(arrived));
  ASSERT_TRUE(edit.Accept("F0 00 F7"));
  EXPECT_EQ(StoreLengths(), (std::vector<std::int32_t>{10, 50, 3}));
  EXPECT_EQ(received.lines.back(), "3 user [[?]]");
  EXPECT_EQ(received.lines.size(), 3u);
}

TEST_F(MessageEditorTest, TooLongToEditLeavesTheStoreAsItWas) {
  messages = {MakeMessage(100, 0x42, 1), MakeMessage(12000, 0x43, 2), MakeMessage(10000, 0x41, 3)};
  for (const auto& m : messages) ASSERT_TRUE(Put(m));
  const auto linesBefore = received.lines;
  MessageEdit edit(*store, received, files, reporter);
  EXPECT_EQ(edit.Open(1), MessageEdit::Opening::TooLong);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text,
            "Sorry; you can only edit sysex messages that are 10,000 bytes or less in length.");
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_EQ(received.lines, linesBefore);
  EXPECT_TRUE(NoEditorFilesLeft());

  // Exactly 10,000 bytes can be edited.
  MessageEdit edit10000(*store, received, files, reporter);
  EXPECT_EQ(edit10000.Open(2), MessageEdit::Opening::Ready);
  EXPECT_EQ(edit10000.Text().size(), 30000u);
  EXPECT_EQ(reporter.boxes.size(), 1u);
}

struct RefusedText {
  const char* name;
  std::string text;
  const char* box;  // nullptr: stays open without a box
};

class MessageEditorRefusals : public MessageEditorTest,
                              public ::testing::WithParamInterface<RefusedText> {};

TEST_P(MessageEditorRefusals, KeepTheDialogOpenAndTheStoreUnchanged) {
  PutFive();
  const auto linesBefore = received.lines;
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(1), MessageEdit::Opening::Ready);
  EXPECT_FALSE(edit.Accept(GetParam().text));
  if (GetParam().box == nullptr) {
    EXPECT_TRUE(reporter.boxes.empty());
  } else {
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, GetParam().box);
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  }
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_EQ(StoreLengths(), LengthsOf(messages));
  EXPECT_EQ(received.lines, linesBefore);
  EXPECT_TRUE(NoEditorFilesLeft());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageEditorRefusals,
    ::testing::Values(RefusedText{"Empty", "", nullptr},
                      RefusedText{"SpacesOnly", "    ", nullptr},
                      RefusedText{"OddDigits", "F0 4", kHexPairsText},
                      RefusedText{"LowerCase", "f0 43 10 f7", kHexDigitsText},
                      RefusedText{"LongerThan30000", std::string(30001, ' '), kTooLongTextText},
                      RefusedText{"LongestTextOfSpaces", std::string(30000, ' '), nullptr}),
    [](const ::testing::TestParamInfo<RefusedText>& info) { return std::string(info.param.name); });

TEST_F(MessageEditorTest, AnEditorFileThatCannotBeWrittenChangesNothing) {
  PutFive();
  const auto linesBefore = received.lines;
  // The before files would lie in a folder that does not exist.
  files.beforeData = (folder / "missing" / "~tempbefore.syx").string();
  files.beforeLengths = (folder / "missing" / "~tempbefore.lst").string();
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(3 - 1), MessageEdit::Opening::Ready);
  EXPECT_FALSE(edit.Accept("F0 42 F7"));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_NE(reporter.boxes[0].text.find("~tempbefore.syx"), std::string::npos);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_EQ(StoreLengths(), LengthsOf(messages));
  EXPECT_EQ(received.lines, linesBefore);
  EXPECT_EQ(store->MessageCount(), 5);
  EXPECT_TRUE(NoEditorFilesLeft());
  // The store still takes messages.
  ASSERT_TRUE(Put(MakeMessage(5, 0x42)));
  EXPECT_EQ(StoreLengths().size(), 6u);
}

TEST_F(MessageEditorTest, AFullDiskWhileJoiningChangesNothing) {
  PutFive();
  const auto linesBefore = received.lines;
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(0), MessageEdit::Opening::Ready);
  {
    // The 40,000-byte message cannot be copied into the editor files.
    FileSizeLimit limit(20000);
    EXPECT_FALSE(edit.Accept("F0 42 F7"));
  }
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_EQ(StoreLengths(), LengthsOf(messages));
  EXPECT_EQ(received.lines, linesBefore);
  EXPECT_TRUE(NoEditorFilesLeft());
  // Once there is room again the same edit goes through.
  EXPECT_TRUE(edit.Accept("F0 42 F7"));
  auto expected = messages;
  expected[0] = {0xF0, 0x42, 0xF7};
  EXPECT_EQ(StoreData(), Joined(expected));
}

TEST_F(MessageEditorTest, CancelRemovesEditorFilesAndChangesNothing) {
  PutFive();
  WriteWholeFile(files.afterData, {1, 2, 3});
  MessageEdit edit(*store, received, files, reporter);
  ASSERT_EQ(edit.Open(1), MessageEdit::Opening::Ready);
  WriteWholeFile(files.beforeData, {1, 2, 3});
  edit.Cancel();
  EXPECT_TRUE(NoEditorFilesLeft());
  EXPECT_EQ(StoreData(), Joined(messages));
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(MessageEditorTest, ADamagedLengthFileIsReportedNotRead) {
  PutFive();
  store->Flush();
  // Someone cut the length file short behind the store's back.
  std::filesystem::resize_file(store->LengthPath(), 6);
  MessageEdit edit(*store, received, files, reporter);
  EXPECT_EQ(edit.Open(4), MessageEdit::Opening::Unreadable);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
}

}  // namespace
}  // namespace qv::test

#include "librarian/program_transfer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "librarian/little_endian.h"
#include "librarian/string_expansion.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- The device-list line format ----------------------------------------

TEST(DeviceLineFormat, PadsNumbersToTheDigitsOfTheHighestShownNumber) {
  struct Case {
    int32_t highest;
    int32_t displayOffset;
    int64_t number;
    const char* line;
  };
  const Case cases[] = {
      {127, 1, 1, "001 Strings"},      // 128 has three digits
      {127, 1, 128, "128 Strings"},
      {2048, 0, 0, "0000 Strings"},
      {2048, 0, 2048, "2048 Strings"},
      {9, 0, 7, "7 Strings"},
      {99, 1, 5, "005 Strings"},
      {0, 0, 0, "0 Strings"},          // nothing positive: no padding
      {-5, 2, -3, "-3 Strings"},
      {5, -10, 12, "12 Strings"},
  };
  for (const Case& c : cases) {
    InstrumentDefinition definition;
    definition.highestProgram = c.highest;
    definition.displayOffset = c.displayOffset;
    EXPECT_EQ(DeviceLineText(c.number, "Strings", DeviceLineDigits(definition)), c.line)
        << c.highest << " + " << c.displayOffset;
  }
}

// ---- A test instrument ----------------------------------------------------
//
// It answers a request "F0 7D <program> F7" with 14 bytes: F0 7D 01
// <program>, nine data bytes whose first four are the name, and F7.

constexpr int32_t kProgramSize = 9;

InstrumentDefinition TestInstrument(int32_t lowest, int32_t highest, bool nameExtraction) {
  InstrumentDefinition definition;
  definition.channel = 1;
  definition.lowestProgram = lowest;
  definition.highestProgram = highest;
  definition.displayOffset = 1;
  definition.programSize = kProgramSize;
  definition.nameExtraction = nameExtraction ? 1 : 0;
  SetFixedText(definition.requestString, "F0 7D # F7;14,4");
  SetFixedText(definition.sendString, "F0 7E # % F7");
  SetFixedText(definition.nameOffsets, "0 1 2 3 ");
  return definition;
}

Bytes Answer(int program, const std::string& name, uint8_t fill = 0x11) {
  Bytes answer{0xF0, 0x7D, 0x01, static_cast<uint8_t>(program)};
  for (int i = 0; i < kProgramSize; ++i) {
    answer.push_back(i < static_cast<int>(name.size()) ? static_cast<uint8_t>(name[i]) : fill);
  }
  answer.push_back(0xF7);
  return answer;
}

Bytes Request(int program) { return {0xF0, 0x7D, static_cast<uint8_t>(program), 0xF7}; }

struct RecordingSender : SysExSender {
  std::vector<Bytes> sent;
  bool Send(const uint8_t* bytes, size_t length) override {
    sent.emplace_back(bytes, bytes + length);
    return true;
  }
};

struct FakeWindow : TransferWindow {
  std::vector<std::string> lines;
  int selected = -1;
  bool busy = false;
  bool enabled = true;
  bool saveAsForm = false;
  std::vector<std::string> askedWith;      // the names the dialog started with
  std::deque<std::optional<std::string>> typed;  // nullopt: Cancel
  std::function<void()> whileAsking;

  void ClearDeviceLines() override { lines.clear(); }
  void AddDeviceLine(std::string_view text) override { lines.emplace_back(text); }
  void ReplaceDeviceLine(int position, std::string_view text) override {
    ASSERT_GE(position, 0);
    ASSERT_LT(position, static_cast<int>(lines.size()));
    lines[static_cast<size_t>(position)] = std::string(text);
    selected = position;
  }
  void SetBusy(bool value) override { busy = value; }
  void EnableWindow(bool value) override { enabled = value; }
  bool SaveAsForm() const override { return saveAsForm; }
  bool AskProgramName(ProgramName& name) override {
    askedWith.emplace_back(ProgramNameText(name));
    if (whileAsking) whileAsking();
    std::optional<std::string> answer;
    if (!typed.empty()) {
      answer = typed.front();
      typed.pop_front();
    }
    if (!answer) return false;
    name = MakeProgramName(*answer);
    return true;
  }
};

struct RecordingList : BankNameList {
  std::vector<std::string> names;
  void AddName(std::string_view name) override { names.emplace_back(name); }
  void Clear() override { names.clear(); }
};

class ProgramTransferTest : public ::testing::Test {
 protected:
  void Open(int32_t lowest, int32_t highest, bool nameExtraction, bool autoUpdate = false) {
    definition = TestInstrument(lowest, highest, nameExtraction);
    definition.autoUpdate = autoUpdate ? 1 : 0;
    banks.SetProgramFolder(folder.path());
    banks.SetProgramSize(kProgramSize);
    banks.ListBankFiles();
    ASSERT_TRUE(banks.OpenBankFile(banks.BankCount(), [this](std::string& path) {
      path = folder.File("Test.QvBank");
      return true;
    }));
    ExpectedAnswerSize = kProgramSize;
    AnswerDataOffset = 0;
    transfer.Reset();
    transfer.FillDeviceList();
  }

  void Store(const std::string& name, uint8_t fill) {
    Bytes data(kProgramSize, fill);
    ASSERT_EQ(banks.StoreBankProgram(MakeProgramName(name), data).outcome,
              StoreResult::Outcome::Stored);
  }

  // The stored program of that name, or nothing.
  Bytes Stored(const std::string& name) {
    int32_t slot = banks.FindIndexEntry(name);
    if (slot < 0) return {};
    Bytes data(kProgramSize);
    banks.ReadBankProgram(slot, data);
    return data;
  }

  test::ScratchFolder folder;
  test::RecordingReporter reporter;
  RecordingList bankList;
  BankFiles banks{reporter, &bankList};
  RecordingSender sender;
  FakeWindow window;
  InstrumentDefinition definition;
  ProgramTransfer transfer{definition, banks, sender, window, reporter};
};

TEST_F(ProgramTransferTest, DeviceListNamesEveryProgramUnknown) {
  Open(0, 127, true);
  ASSERT_EQ(window.lines.size(), 128u);
  EXPECT_EQ(window.lines.front(), "001 <Unknown>");
  EXPECT_EQ(window.lines.back(), "128 <Unknown>");

  // A range from a broken definition lists no more than a definition may hold.
  definition.lowestProgram = -2000000000;
  definition.highestProgram = 2000000000;
  transfer.FillDeviceList();
  EXPECT_EQ(window.lines.size(), static_cast<size_t>(kHighestProgramLimit + 1));
  definition.highestProgram = definition.lowestProgram - 1;
  transfer.FillDeviceList();
  EXPECT_TRUE(window.lines.empty());
}

TEST_F(ProgramTransferTest, SaveStoresUnderTheExtractedName) {
  Open(10, 20, true);
  transfer.Save(5);
  ASSERT_EQ(sender.sent, (std::vector<Bytes>{Request(15)}));
  EXPECT_TRUE(window.busy);
  EXPECT_EQ(transfer.AwaitedLine, 5);
  EXPECT_EQ(ExpectedAnswerSize, 14);
  EXPECT_EQ(AnswerDataOffset, 4);

  transfer.AnswerReceived(Answer(15, "Pian", 0x22));
  EXPECT_FALSE(window.busy);
  EXPECT_EQ(window.lines[5], "16 Pian");
  EXPECT_EQ(window.selected, 5);
  EXPECT_EQ(Stored("Pian"), (Bytes{'P', 'i', 'a', 'n', 0x22, 0x22, 0x22, 0x22, 0x22}));
  EXPECT_EQ(bankList.names, (std::vector<std::string>{"Pian"}));
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_EQ(transfer.StoreAnswer, -1);
  EXPECT_FALSE(transfer.AnswerBusy);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_TRUE(window.askedWith.empty());
}

TEST_F(ProgramTransferTest, SaveOfAKnownNameAsksBeforeOverwriting) {
  Open(0, 9, true);
  Store("Bass", 0x01);

  reporter.answers = {BoxAnswer::No};
  transfer.Save(2);
  transfer.AnswerReceived(Answer(2, "Bass", 0x05));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Confirm Overwite");
  EXPECT_EQ(reporter.boxes[0].text,
            "Are you sure you want to overwrite the instrument \"Bass\"? \n\nIf you'd instead like "
            "to save under a different name, choose No here, then hold down Ctrl and click Save "
            "As.");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Question);
  EXPECT_EQ(reporter.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(Stored("Bass")[4], 0x01);          // declined: unchanged
  EXPECT_EQ(transfer.AwaitedLine, 2);          // and still awaited
  EXPECT_FALSE(transfer.AnswerBusy);

  reporter.answers = {BoxAnswer::Yes};
  transfer.AnswerReceived(Answer(2, "Bass", 0x06));
  EXPECT_EQ(Stored("Bass")[4], 0x06);
  EXPECT_EQ(bankList.names.size(), 1u);        // replaced, not added
  EXPECT_EQ(transfer.AwaitedLine, -1);
}

TEST_F(ProgramTransferTest, SaveAsFormAsksForTheNameStartingWithTheExtractedOne) {
  Open(0, 9, true);
  window.saveAsForm = true;
  window.typed = {std::string("My Piano")};
  transfer.Save(3);
  transfer.AnswerReceived(Answer(3, "Pian"));
  EXPECT_EQ(window.askedWith, (std::vector<std::string>{"Pian"}));
  EXPECT_EQ(window.lines[3], "04 My Piano");
  EXPECT_EQ(Stored("My Piano")[0], 'P');

  // Cancel stores nothing and leaves the line as it was.
  window.typed = {std::nullopt};
  transfer.Save(4);
  transfer.AnswerReceived(Answer(4, "Orga"));
  EXPECT_EQ(window.lines[4], "05 <Unknown>");
  EXPECT_TRUE(Stored("Orga").empty());
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_FALSE(window.busy);

  // The overwrite question of the Save As form.
  window.typed = {std::string("My Piano")};
  reporter.answers = {BoxAnswer::No};
  transfer.Save(5);
  transfer.AnswerReceived(Answer(5, "Pian"));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, "Are you sure you want to overwrite the instrument \"My Piano\"?");
}

TEST_F(ProgramTransferTest, WithoutNameExtractionTheDialogStartsWithTheLastName) {
  Open(0, 9, false);
  window.saveAsForm = true;
  window.typed = {std::string("First"), std::string("Second")};
  transfer.Save(0);
  transfer.AnswerReceived(Answer(0, "Xxxx"));
  transfer.Save(1);
  transfer.AnswerReceived(Answer(1, "Yyyy"));
  EXPECT_EQ(window.askedWith, (std::vector<std::string>{"", "First"}));
  EXPECT_EQ(window.lines[0], "01 First");
  EXPECT_EQ(window.lines[1], "02 Second");
  EXPECT_EQ(Stored("Second")[0], 'Y');
}

TEST_F(ProgramTransferTest, AllStoresEveryProgramWhoseNameIsNotYetInTheBank) {
  Open(0, 127, true);
  for (const char* known : {"P005", "P050", "P127"}) Store(known, 0x7F);
  transfer.StartPass(true);
  ASSERT_EQ(sender.sent.size(), 1u);
  for (int program = 0; program <= 127; ++program) {
    char name[8];
    std::snprintf(name, sizeof name, "P%03d", program);
    transfer.AnswerReceived(Answer(program, name, static_cast<uint8_t>(program)));
    // Each answer asks for the next program before it is handled.
    EXPECT_EQ(sender.sent.size(), static_cast<size_t>(std::min(program + 2, 128)));
    if (program < 127) {
      EXPECT_EQ(sender.sent.back(), Request(program + 1));
    }
  }
  EXPECT_EQ(bankList.names.size(), 128u);      // 3 known + 125 stored
  EXPECT_EQ(Stored("P005")[4], 0x7F);          // the known ones are skipped
  EXPECT_EQ(Stored("P006")[4], 6);
  EXPECT_EQ(window.lines[0], "001 P000");
  EXPECT_EQ(window.lines[127], "128 P127");
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(transfer.PassProgram, -1);
  EXPECT_EQ(transfer.StoreAnswer, 0);
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_FALSE(window.busy);

  // The pass is over: a late answer is ignored.
  transfer.AnswerReceived(Answer(3, "Late"));
  EXPECT_TRUE(Stored("Late").empty());
  EXPECT_EQ(sender.sent.size(), 128u);
}

TEST_F(ProgramTransferTest, UpdateNamesTheLinesAndStoresNothing) {
  Open(1, 3, true);
  window.saveAsForm = true;  // Ctrl held does not matter within a pass
  transfer.StartPass(false);
  EXPECT_EQ(sender.sent, (std::vector<Bytes>{Request(1)}));
  transfer.AnswerReceived(Answer(1, "Aaaa"));
  transfer.AnswerReceived(Answer(2, "Bbbb"));
  EXPECT_TRUE(window.busy);
  transfer.AnswerReceived(Answer(3, "Cccc"));
  EXPECT_FALSE(window.busy);
  EXPECT_EQ(window.lines, (std::vector<std::string>{"2 Aaaa", "3 Bbbb", "4 Cccc"}));
  EXPECT_TRUE(bankList.names.empty());
  EXPECT_TRUE(window.askedWith.empty());
  EXPECT_EQ(sender.sent, (std::vector<Bytes>{Request(1), Request(2), Request(3)}));
}

TEST_F(ProgramTransferTest, UnaskedAnswersAreIgnored) {
  Open(0, 9, true);
  transfer.AnswerReceived(Answer(1, "Free"));
  EXPECT_EQ(window.lines[1], "02 <Unknown>");
  EXPECT_TRUE(bankList.names.empty());
  EXPECT_TRUE(sender.sent.empty());
}

TEST_F(ProgramTransferTest, EntryCheckAsksForTheLowestProgram) {
  Open(4, 9, true);
  transfer.StartEntryCheck();
  EXPECT_EQ(sender.sent, (std::vector<Bytes>{Request(4)}));
  EXPECT_TRUE(transfer.EntryAnswerMissing());
  EXPECT_TRUE(window.enabled);
  EXPECT_EQ(transfer.PassProgram, -1);
  transfer.AnswerReceived(Answer(4, "Lead"));
  EXPECT_FALSE(transfer.EntryAnswerMissing());
  EXPECT_EQ(window.lines[0], "05 Lead");
  EXPECT_TRUE(bankList.names.empty());

  // With Ctrl held (or without name extraction) the answer changes nothing.
  window.saveAsForm = true;
  transfer.StartEntryCheck();
  transfer.AnswerReceived(Answer(4, "Solo"));
  EXPECT_EQ(window.lines[0], "05 Lead");
  EXPECT_FALSE(transfer.EntryAnswerMissing());
  EXPECT_TRUE(window.askedWith.empty());
}

TEST_F(ProgramTransferTest, EntryCheckWithAutoUpdateRunsAPassWithTheWindowDisabled) {
  Open(0, 2, true, /*autoUpdate=*/true);
  transfer.StartEntryCheck();
  EXPECT_FALSE(window.enabled);
  EXPECT_TRUE(window.busy);
  EXPECT_EQ(transfer.PassProgram, 0);
  transfer.AnswerReceived(Answer(0, "One "));
  EXPECT_FALSE(transfer.EntryAnswerMissing());
  transfer.AnswerReceived(Answer(1, "Two "));
  transfer.AnswerReceived(Answer(2, "Thre"));
  EXPECT_TRUE(window.enabled);
  EXPECT_FALSE(window.busy);
  EXPECT_EQ(window.lines, (std::vector<std::string>{"1 One ", "2 Two ", "3 Thre"}));
  EXPECT_TRUE(bankList.names.empty());
}

// A record that did not come through the dialog or a checked load: no
// pass runs over a range the dialog would refuse, so the window stays usable.
TEST_F(ProgramTransferTest, NoPassOverARangeTheDialogRefuses) {
  for (auto [lowest, highest] : {std::pair{-1, 5}, std::pair{2147483647, 2147483647},
                                 std::pair{7, 3}}) {
    Open(0, 2, true, /*autoUpdate=*/true);
    definition.lowestProgram = lowest;
    definition.highestProgram = highest;
    transfer.StartEntryCheck();
    EXPECT_EQ(transfer.PassProgram, -1) << lowest;
    EXPECT_TRUE(window.enabled) << lowest;
    transfer.StartPass(false);
    EXPECT_EQ(transfer.PassProgram, -1) << lowest;
    transfer.AnswerReceived(Answer(0, "Once"));
    EXPECT_EQ(transfer.AwaitedLine, -1) << lowest;
    EXPECT_TRUE(window.enabled) << lowest;
    banks.CloseBankFile();
    std::remove(folder.File("Test.QvBank").c_str());
  }
}

TEST_F(ProgramTransferTest, AnAnswerDuringTheNameDialogWaitsForTheRunningOne) {
  Open(0, 9, true);
  window.saveAsForm = true;
  window.typed = {std::string("Kept")};
  size_t sentWhileAsking = 0;
  window.whileAsking = [&] {
    transfer.AnswerReceived(Answer(6, "Echo"));
    EXPECT_TRUE(transfer.AnswerBusy);
    EXPECT_EQ(window.askedWith.size(), 1u);  // not handled inside
    sentWhileAsking = sender.sent.size();
  };
  transfer.Save(6);
  transfer.AnswerReceived(Answer(6, "Orig", 0x33));
  EXPECT_EQ(sentWhileAsking, 1u);
  // The running answer is stored; the one that came meanwhile finds
  // nothing awaited and is dropped.
  EXPECT_EQ(Stored("Kept")[4], 0x33);
  EXPECT_EQ(window.askedWith.size(), 1u);
  EXPECT_EQ(bankList.names, (std::vector<std::string>{"Kept"}));
  EXPECT_FALSE(transfer.AnswerBusy);
}

TEST_F(ProgramTransferTest, AFullBankEndsThePassAndGivesTheWindowBack) {
  Open(0, 5, true);
  // Fill all but one slot directly in the file, then reopen it.
  const std::string path = banks.CurrentBankPath();
  banks.CloseBankFile();
  {
    Bytes file(static_cast<size_t>(BankRecordOffset(kBankSlotCount, kProgramSize)), 0);
    WriteInt32LE(file.data(), kProgramSize);
    for (int32_t slot = 0; slot < kBankSlotCount - 1; ++slot) {
      file[4 + static_cast<size_t>(slot)] = 1;
      std::string name = "S" + std::to_string(slot);
      std::copy(name.begin(), name.end(),
                file.begin() + static_cast<std::ptrdiff_t>(BankRecordOffset(slot, kProgramSize)));
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
  banks.ListBankFiles();
  ASSERT_TRUE(banks.OpenBankFile(0, {}));

  transfer.StartPass(true);
  transfer.AnswerReceived(Answer(0, "Ok  "));
  EXPECT_EQ(Stored("Ok  ")[0], 'O');
  transfer.AnswerReceived(Answer(1, "Over"));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "File full!");
  EXPECT_EQ(transfer.PassProgram, -1);
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_FALSE(window.busy);
  EXPECT_TRUE(window.enabled);
  // The request already out for program 2 is answered into nothing.
  transfer.AnswerReceived(Answer(2, "Late"));
  EXPECT_EQ(window.lines[2], "3 <Unknown>");
  EXPECT_EQ(reporter.boxes.size(), 1u);
}

TEST_F(ProgramTransferTest, AFailedBankWriteEndsThePassWithOneBox) {
  Open(0, 5, true);
  transfer.StartPass(true);
  transfer.AnswerReceived(Answer(0, "Ok  "));
  EXPECT_EQ(Stored("Ok  ")[0], 'O');
  // The bank file goes away under the pass: the next store cannot write.
  ASSERT_EQ(std::remove(banks.CurrentBankPath().c_str()), 0);
  for (int program = 1; program <= 5; ++program) transfer.AnswerReceived(Answer(program, "Lost"));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "File create failed");
  EXPECT_EQ(transfer.PassProgram, -1);
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_NE(transfer.StoreAnswer, 1);
  EXPECT_FALSE(window.busy);
  EXPECT_TRUE(window.enabled);
  // The program whose store failed keeps its name on the device list; the
  // answers already on their way are dropped.
  EXPECT_EQ(window.lines[1], "2 Lost");
  EXPECT_EQ(window.lines[2], "3 <Unknown>");
  EXPECT_EQ(sender.sent.size(), 3u);
}

// A pass whose awaited answer does not come between two ticks of the
// window's pass timer ends, says so and gives the window back.
TEST_F(ProgramTransferTest, APassWithoutAnswerEndsAtTheSecondTick) {
  Open(0, 9, true, /*autoUpdate=*/true);
  transfer.StartEntryCheck();
  ASSERT_FALSE(window.enabled);
  EXPECT_TRUE(transfer.PassTimerTick());  // nothing to compare with yet
  transfer.AnswerReceived(Answer(0, "Zero"));
  EXPECT_TRUE(transfer.PassTimerTick());  // an answer came since
  transfer.AnswerReceived(Answer(1, "One "));
  transfer.AnswerReceived(Answer(2, "Two "));
  EXPECT_TRUE(transfer.PassTimerTick());
  EXPECT_TRUE(reporter.boxes.empty());
  // The answer for program 3 is lost.
  EXPECT_FALSE(transfer.PassTimerTick());
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Couldn't update program list");
  EXPECT_NE(reporter.boxes[0].text.find("program 04,"), std::string::npos) << reporter.boxes[0].text;
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
  EXPECT_TRUE(window.enabled);
  EXPECT_FALSE(window.busy);
  EXPECT_EQ(transfer.PassProgram, -1);
  EXPECT_EQ(transfer.AwaitedLine, -1);
  EXPECT_EQ(window.lines[2], "03 Two ");
  EXPECT_EQ(window.lines[3], "04 <Unknown>");
  // A late answer changes nothing; no pass, no tick work.
  transfer.AnswerReceived(Answer(3, "Late"));
  EXPECT_EQ(window.lines[3], "04 <Unknown>");
  EXPECT_FALSE(transfer.PassTimerTick());
  EXPECT_EQ(reporter.boxes.size(), 1u);

  // While an answer is being handled (a box of its own is open) the pass
  // is not given up.
  transfer.StartPass(false);
  transfer.AnswerBusy = true;
  EXPECT_TRUE(transfer.PassTimerTick());
  EXPECT_TRUE(transfer.PassTimerTick());
  EXPECT_EQ(transfer.PassProgram, 0);
  transfer.AnswerBusy = false;
}

TEST(PassAnswerTime, GrowsWithTheAnswer) {
  EXPECT_GE(PassAnswerWaitMs(14), 1000u);
  // At least twice the wire time of 3125 bytes a second.
  for (int32_t size : {170, 16350, 32000, 1000000})
    EXPECT_GE(PassAnswerWaitMs(size), static_cast<uint32_t>(size) * 2000u / 3125u) << size;
  EXPECT_EQ(PassAnswerWaitMs(-5), PassAnswerWaitMs(0));
}

TEST_F(ProgramTransferTest, CopySendsTheStoredProgramToTheChosenPlace) {
  Open(10, 20, true);
  Store("Harp", 0x44);
  transfer.Copy(3, "Harp");
  ASSERT_EQ(sender.sent.size(), 1u);
  Bytes expected{0xF0, 0x7E, 13};
  expected.insert(expected.end(), kProgramSize, 0x44);
  expected.push_back(0xF7);
  EXPECT_EQ(sender.sent[0], expected);
  EXPECT_EQ(window.lines[3], "14 Harp");
  EXPECT_EQ(window.selected, 3);
  EXPECT_FALSE(window.busy);
  EXPECT_EQ(transfer.AwaitedLine, -1);  // nothing is awaited

  transfer.Copy(4, "Nowhere");
  transfer.Copy(-1, "Harp");
  EXPECT_EQ(sender.sent.size(), 1u);
  EXPECT_EQ(window.lines[4], "15 <Unknown>");
}

TEST_F(ProgramTransferTest, SaveDuringAPassReplacesThePass) {
  Open(0, 9, true);
  transfer.StartPass(false);
  transfer.Save(7);
  EXPECT_EQ(transfer.PassProgram, -1);
  transfer.AnswerReceived(Answer(7, "Only"));
  EXPECT_EQ(sender.sent, (std::vector<Bytes>{Request(0), Request(7)}));
  EXPECT_EQ(Stored("Only")[0], 'O');
  EXPECT_EQ(transfer.AwaitedLine, -1);
}

}  // namespace
}  // namespace qv

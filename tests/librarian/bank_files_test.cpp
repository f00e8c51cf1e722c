#include "librarian/bank_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "librarian/little_endian.h"
#include "tests/librarian/file_size_limit.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kFullText =
    "You can store a maximum of 32,000 programs in one file. If you need more, start another file.";
const std::string kOverwriteText =
    "The filename you've chosen seems to be in use. Do you want to overwrite the existing file?";
const std::string kCreateFailedText =
    "Couldn't update the instrument file! If the program is running from a CD-ROM or floppy disk, "
    "quit, copy all program files onto a folder of your hard disk, and then try again.";

struct RecordingList : BankNameList {
  std::vector<std::string> names;
  int clears = 0;
  std::vector<std::string> events;  // "begin <count>", "end" and the names between
  void AddName(std::string_view name) override {
    names.emplace_back(name);
    events.emplace_back(name);
  }
  void BeginNames(int count) override { events.push_back("begin " + std::to_string(count)); }
  void EndNames() override { events.push_back("end"); }
  void Clear() override {
    names.clear();
    ++clears;
  }
};

Bytes ProgramData(int32_t size, int seed) {
  Bytes data(static_cast<size_t>(size));
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(seed * 31 + i);
  return data;
}

// A bank file made byte by byte: header, map, and the records of the given
// slots named "<prefix><slot>".
Bytes MakeBankBytes(int32_t size, const std::vector<int32_t>& slots, const std::string& prefix) {
  Bytes file(kBankRecordsAt, 0);
  WriteInt32LE(file.data(), size);
  for (int32_t slot : slots) {
    file[4 + static_cast<size_t>(slot)] = 1;
    size_t at = static_cast<size_t>(BankRecordOffset(slot, size));
    if (file.size() < at + 30 + static_cast<size_t>(size)) file.resize(at + 30 + size, 0);
    std::string name = prefix + std::to_string(slot);
    std::copy(name.begin(), name.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    Bytes data = ProgramData(size, slot);
    std::copy(data.begin(), data.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 30));
  }
  return file;
}

class BankFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    banks.SetProgramFolder(folder.path());
    banks.SetProgramSize(100);
  }

  BankFiles::NewBankChooser Choose(const std::string& file) {
    return [this, file](std::string& path) {
      ++choices;
      path = folder.File(file);
      return true;
    };
  }

  // Creates and opens a new bank "<name>.QvBank" through the chooser's last entry.
  void CreateBank(const std::string& name) {
    banks.ListBankFiles();
    ASSERT_TRUE(banks.OpenBankFile(banks.BankCount(), Choose(name + ".QvBank")));
  }

  StoreResult Store(const std::string& name, int seed) {
    Bytes data = ProgramData(banks.ProgramSize(), seed);
    return banks.StoreBankProgram(MakeProgramName(name), data);
  }

  std::vector<std::string> SortedList() const {
    std::vector<std::string> names = list.names;
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ScratchFolder folder;
  test::RecordingReporter reporter;
  RecordingList list;
  BankFiles banks{reporter, &list};
  int choices = 0;
};

TEST_F(BankFilesTest, NewBankIsTheHeaderAndAnEmptySlotMap) {
  banks.ListBankFiles();
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Create new bank file"}));
  ASSERT_TRUE(banks.OpenBankFile(0, Choose("Tone.QvBank")));
  EXPECT_EQ(choices, 1);
  Bytes file = test::ReadWholeFile(folder.File("Tone.QvBank"));
  ASSERT_EQ(file.size(), 32004u);
  EXPECT_EQ(ReadInt32LE(file.data()), 100);
  EXPECT_TRUE(std::all_of(file.begin() + 4, file.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Tone", "Create new bank file"}));
  EXPECT_EQ(banks.OpenPosition(), 0);
  EXPECT_EQ(banks.CurrentBankPath(), folder.File("Tone.QvBank"));
  EXPECT_TRUE(list.names.empty());
  EXPECT_TRUE(reporter.boxes.empty());

  // Listed again on the next entry; a second new bank goes before the last entry.
  banks.ListBankFiles();
  EXPECT_EQ(banks.BankNames(), (std::vector<std::string>{"Tone"}));
  ASSERT_TRUE(banks.OpenBankFile(1, Choose("Other.QvBank")));
  EXPECT_EQ(banks.ChooserEntries(),
            (std::vector<std::string>{"Tone", "Other", "Create new bank file"}));
  EXPECT_EQ(banks.OpenPosition(), 1);
}

TEST_F(BankFilesTest, CancelledCreationLeavesNoBankOpen) {
  CreateBank("First");
  ASSERT_EQ(Store("Piano", 1).outcome, StoreResult::Outcome::Stored);
  banks.ListBankFiles();
  EXPECT_FALSE(banks.OpenBankFile(1, [](std::string&) { return false; }));
  EXPECT_FALSE(banks.IsBankOpen());
  EXPECT_EQ(banks.OpenPosition(), 1);
  EXPECT_EQ(banks.Index().Count(), 0u);
  // Nothing may land in the bank that was open before.
  EXPECT_EQ(Store("Strings", 2).outcome, StoreResult::Outcome::NoBank);
  EXPECT_FALSE(banks.DeleteBankProgram("Piano"));
  EXPECT_EQ(banks.MergeBankFiles(folder.File("First.QvBank")).copied, 0);
  Bytes buffer(100);
  EXPECT_FALSE(banks.ReadBankProgram(0, buffer));
  EXPECT_TRUE(reporter.boxes.empty());
  Bytes file = test::ReadWholeFile(folder.File("First.QvBank"));
  EXPECT_EQ(file[4], 1);
  EXPECT_EQ(file[5], 0);
  // The index stays usable.
  EXPECT_EQ(banks.FindIndexEntry("Piano"), -1);
  EXPECT_FALSE(banks.OpenBankFile(-1, nullptr));
  EXPECT_FALSE(banks.OpenBankFile(5, nullptr));
}

TEST_F(BankFilesTest, ExistingFileAsksBeforeItIsOverwritten) {
  CreateBank("Tone");
  ASSERT_EQ(Store("Piano", 1).outcome, StoreResult::Outcome::Stored);
  size_t before = test::ReadWholeFile(folder.File("Tone.QvBank")).size();

  banks.ListBankFiles();
  reporter.answers.push_back(BoxAnswer::No);
  EXPECT_FALSE(banks.OpenBankFile(1, Choose("Tone.QvBank")));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, kOverwriteText);
  EXPECT_EQ(reporter.boxes[0].caption, "Are you sure...");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(reporter.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(test::ReadWholeFile(folder.File("Tone.QvBank")).size(), before);
  EXPECT_FALSE(banks.IsBankOpen());

  reporter.answers.push_back(BoxAnswer::Yes);
  ASSERT_TRUE(banks.OpenBankFile(1, Choose("Tone.QvBank")));
  EXPECT_EQ(test::ReadWholeFile(folder.File("Tone.QvBank")).size(), 32004u);
  // The bank was listed already: it is selected, not listed twice.
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Tone", "Create new bank file"}));
  EXPECT_EQ(banks.OpenPosition(), 0);
  EXPECT_TRUE(list.names.empty());
}

// A bank created outside the program folder is opened where it was made,
// so that what is stored lands in the file the user chose; the chooser
// lists it only until the banks are listed again from the program folder.
TEST_F(BankFilesTest, BankCreatedElsewhereIsOpenedWhereItLies) {
  test::ScratchFolder elsewhere;
  banks.ListBankFiles();
  ASSERT_TRUE(banks.OpenBankFile(0, [&](std::string& path) {
    path = elsewhere.File("Away.QvBank");
    return true;
  }));
  EXPECT_EQ(banks.CurrentBankPath(), elsewhere.File("Away.QvBank"));
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Away", "Create new bank file"}));
  ASSERT_EQ(Store("Piano", 1).slot, 0);
  EXPECT_EQ(test::ReadWholeFile(elsewhere.File("Away.QvBank")).size(),
            static_cast<size_t>(BankRecordOffset(1, 100)));
  EXPECT_FALSE(std::filesystem::exists(folder.File("Away.QvBank")));
  banks.ListBankFiles();
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Create new bank file"}));
}

TEST_F(BankFilesTest, CreationFailureIsReported) {
  banks.ListBankFiles();
  EXPECT_FALSE(banks.OpenBankFile(0, Choose("missing/folder/Tone.QvBank")));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, kCreateFailedText);
  EXPECT_EQ(reporter.boxes[0].caption, "File create failed");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
  EXPECT_FALSE(banks.IsBankOpen());
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Create new bank file"}));
}

TEST_F(BankFilesTest, RecordsSitAtTheirOffsets) {
  CreateBank("Offsets");
  for (int i = 0; i < 6; ++i) {
    StoreResult stored = Store("Program " + std::to_string(i), i);
    ASSERT_EQ(stored.outcome, StoreResult::Outcome::Stored);
    EXPECT_EQ(stored.slot, i);
    EXPECT_TRUE(stored.newProgram);
  }
  Bytes file = test::ReadWholeFile(folder.File("Offsets.QvBank"));
  ASSERT_EQ(file.size(), 32784u);  // slot 5 ends at byte 32783
  EXPECT_EQ(file[9], 1);           // map byte of slot 5
  EXPECT_EQ(file[10], 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&file[32654])), "Program 5");
  EXPECT_EQ(Bytes(file.begin() + 32684, file.begin() + 32784), ProgramData(100, 5));
  EXPECT_EQ(BankRecordOffset(5, 100), 32654u);
  EXPECT_EQ(list.names.size(), 6u);
  EXPECT_EQ(banks.FindIndexEntry("Program 3"), 3);

  Bytes buffer(100);
  ASSERT_TRUE(banks.ReadBankProgram(5, buffer));
  EXPECT_EQ(buffer, ProgramData(100, 5));
  EXPECT_FALSE(banks.ReadBankProgram(6, buffer));  // beyond the end of the file
  EXPECT_EQ(buffer, Bytes(100, 0));
  EXPECT_FALSE(banks.ReadBankProgram(32000, buffer));
  EXPECT_FALSE(banks.ReadBankProgram(-1, buffer));
}

TEST_F(BankFilesTest, FreedSlotIsTakenByTheNextNewProgram) {
  CreateBank("Reuse");
  for (int i = 0; i < 5; ++i) ASSERT_EQ(Store("P" + std::to_string(i), i).slot, i);
  EXPECT_TRUE(banks.DeleteBankProgram("P2"));
  EXPECT_FALSE(banks.DeleteBankProgram("P2"));
  EXPECT_FALSE(banks.DeleteBankProgram("Nothing"));
  EXPECT_EQ(banks.FindIndexEntry("P2"), -1);
  Bytes file = test::ReadWholeFile(folder.File("Reuse.QvBank"));
  EXPECT_EQ(file[4 + 2], 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&file[BankRecordOffset(2, 100)])), "P2");  // kept

  StoreResult stored = Store("New", 9);
  EXPECT_EQ(stored.slot, 2);
  EXPECT_EQ(Store("Newer", 10).slot, 5);
  file = test::ReadWholeFile(folder.File("Reuse.QvBank"));
  EXPECT_EQ(file[4 + 2], 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&file[BankRecordOffset(2, 100)])), "New");
}

TEST_F(BankFilesTest, SameNameReplacesTheProgram) {
  CreateBank("Replace");
  ASSERT_EQ(Store("Piano", 1).slot, 0);
  ASSERT_EQ(Store("Strings", 2).slot, 1);
  StoreResult again = Store("Piano", 3);
  EXPECT_EQ(again.outcome, StoreResult::Outcome::Stored);
  EXPECT_EQ(again.slot, 0);
  EXPECT_FALSE(again.newProgram);
  EXPECT_EQ(list.names, (std::vector<std::string>{"Piano", "Strings"}));
  Bytes buffer(100);
  ASSERT_TRUE(banks.ReadBankProgram(0, buffer));
  EXPECT_EQ(buffer, ProgramData(100, 3));
  // Names compare exactly.
  EXPECT_EQ(Store("piano", 4).slot, 2);
}

TEST_F(BankFilesTest, ReopeningListsTheStoredNames) {
  CreateBank("Names");
  Store("Piano", 1);
  Store("Bass", 2);
  Store("Choir", 3);
  banks.DeleteBankProgram("Bass");
  // A name buffer whose bytes behind the zero hold old text still matches.
  ProgramName dirty = MakeProgramName("Organ");
  dirty[10] = 'x';
  Bytes data = ProgramData(100, 4);
  ASSERT_EQ(banks.StoreBankProgram(dirty, data).slot, 1);

  banks.CloseBankFile();
  EXPECT_TRUE(list.names.empty());
  EXPECT_EQ(banks.FindIndexEntry("Piano"), -1);
  banks.ListBankFiles();
  ASSERT_TRUE(banks.OpenBankFile(0, nullptr));
  EXPECT_EQ(SortedList(), (std::vector<std::string>{"Choir", "Organ", "Piano"}));
  EXPECT_EQ(banks.FindIndexEntry("Organ"), 1);
  EXPECT_EQ(banks.FindIndexEntry("Choir"), 2);
  EXPECT_EQ(choices, 1);  // only the creation asked for a file
}

TEST_F(BankFilesTest, OpeningABankBracketsAllItsNamesForTheList) {
  CreateBank("Bracketed");
  Store("Piano", 1);
  Store("Bass", 2);
  banks.CloseBankFile();
  list.events.clear();
  banks.ListBankFiles();
  ASSERT_TRUE(banks.OpenBankFile(0, nullptr));
  EXPECT_EQ(list.events, (std::vector<std::string>{"begin 2", "Piano", "Bass", "end"}));
}

TEST_F(BankFilesTest, ChooserOffersOnlyBanksOfTheProgramSize) {
  test::WriteWholeFile(folder.File("Right.QvBank"), MakeBankBytes(100, {}, ""));
  test::WriteWholeFile(folder.File("Wrong.QvBank"), MakeBankBytes(170, {}, ""));
  test::WriteWholeFile(folder.File("Tiny.QvBank"), Bytes{100, 0});  // header unreadable
  test::WriteWholeFile(folder.File("Right.syx"), MakeBankBytes(100, {}, ""));
  banks.ListBankFiles();
  EXPECT_EQ(banks.ChooserEntries(), (std::vector<std::string>{"Right", "Create new bank file"}));
  EXPECT_EQ(ReadBankHeader(folder.File("Tiny.QvBank")), 999999);
  EXPECT_EQ(ReadBankHeader(folder.File("None.QvBank")), 999999);
  EXPECT_EQ(ReadBankHeader(folder.File("Wrong.QvBank")), 170);
  EXPECT_EQ(banks.BankPathAt(0), folder.File("Right.QvBank"));
  EXPECT_EQ(banks.BankPathAt(1), "");
  banks.SetProgramSize(170);
  banks.ListBankFiles();
  EXPECT_EQ(banks.BankNames(), (std::vector<std::string>{"Wrong"}));
}

TEST_F(BankFilesTest, ShortOrBrokenBanksListOnlyWhatTheFileHolds) {
  Bytes file = MakeBankBytes(100, {0, 1, 2}, "S");
  // Slot 2's record is cut inside its name; slots 10 to 19 are marked in the
  // map without records; then the map itself ends after 20 bytes.
  file.resize(static_cast<size_t>(BankRecordOffset(2, 100)) + 12);
  for (int i = 10; i < 20; ++i) file[4 + static_cast<size_t>(i)] = 1;
  test::WriteWholeFile(folder.File("Broken.QvBank"), file);
  banks.ListBankFiles();
  ASSERT_TRUE(banks.OpenBankFile(0, nullptr));
  EXPECT_EQ(SortedList(), (std::vector<std::string>{"S0", "S1"}));

  Bytes shortMap(4 + 20, 1);
  WriteInt32LE(shortMap.data(), 100);
  test::WriteWholeFile(folder.File("Broken.QvBank"), shortMap);
  banks.CloseBankFile();
  ASSERT_TRUE(banks.OpenBankFile(0, nullptr));
  EXPECT_TRUE(list.names.empty());
  // Storing into it takes the first slot its short map leaves free.
  EXPECT_EQ(Store("Fresh", 1).slot, 20);

  // A bank that vanished cannot be opened.
  std::filesystem::remove(folder.File("Broken.QvBank"));
  banks.CloseBankFile();
  EXPECT_FALSE(banks.OpenBankFile(0, nullptr));
  EXPECT_FALSE(banks.IsBankOpen());
}

TEST_F(BankFilesTest, FailedWritesAreReportedNotTakenAsSuccess) {
  CreateBank("Gone");
  ASSERT_EQ(Store("Piano", 1).outcome, StoreResult::Outcome::Stored);
  std::filesystem::remove(folder.File("Gone.QvBank"));
  StoreResult stored = Store("Strings", 2);
  EXPECT_EQ(stored.outcome, StoreResult::Outcome::WriteFailed);
  EXPECT_FALSE(banks.DeleteBankProgram("Piano"));
  EXPECT_EQ(banks.FindIndexEntry("Piano"), 0);  // still listed, as the file was not changed
  EXPECT_EQ(banks.FindIndexEntry("Strings"), -1);
  // A merge into the vanished bank copies nothing and says so too.
  test::WriteWholeFile(folder.File("Other.QvBank"), MakeBankBytes(100, {0}, "O"));
  MergeResult merged = banks.MergeBankFiles(folder.File("Other.QvBank"));
  EXPECT_TRUE(merged.writeFailed);
  EXPECT_EQ(merged.copied, 0);
  // The program's own words for a bank file it cannot update.
  ASSERT_EQ(reporter.boxes.size(), 3u);
  for (const auto& box : reporter.boxes) {
    EXPECT_EQ(box.text, kCreateFailedText);
    EXPECT_EQ(box.caption, "File create failed");
    EXPECT_EQ(box.icon, BoxIcon::Exclamation);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
  }
  EXPECT_EQ(list.names, (std::vector<std::string>{"Piano"}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("Gone.QvBank")));
}

// A disk that takes no more bytes: the store is reported and not taken as
// done, and the slot stays free.
TEST_F(BankFilesTest, AWriteTheDiskRefusesIsReported) {
  CreateBank("Disk");
  ASSERT_EQ(Store("Piano", 1).slot, 0);
  {
    test::FileSizeLimit limit(BankRecordOffset(1, 100) + 50);
    ASSERT_TRUE(limit.active());
    EXPECT_EQ(Store("Strings", 2).outcome, StoreResult::Outcome::WriteFailed);
  }
  EXPECT_EQ(banks.FindIndexEntry("Strings"), -1);
  EXPECT_EQ(list.names, (std::vector<std::string>{"Piano"}));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, kCreateFailedText);
  EXPECT_EQ(reporter.boxes[0].caption, "File create failed");
  Bytes file = test::ReadWholeFile(folder.File("Disk.QvBank"));
  EXPECT_EQ(file[4 + 1], 0);
  // With room again, the next store takes that slot.
  EXPECT_EQ(Store("Strings", 2).slot, 1);
}

TEST_F(BankFilesTest, MergeCopiesProgramsWhoseNamesAreNew) {
  test::WriteWholeFile(folder.File("Source.QvBank"), MakeBankBytes(100, {0, 3, 7}, "M"));
  CreateBank("Dest");
  Store("M3", 50);       // already in the open bank
  Store("Own", 51);
  MergeResult merged = banks.MergeBankFiles(folder.File("Source.QvBank"));
  EXPECT_EQ(merged.copied, 2);
  EXPECT_EQ(merged.skipped, 1);
  EXPECT_FALSE(merged.full);
  EXPECT_TRUE(reporter.boxes.empty());
  Bytes file = test::ReadWholeFile(folder.File("Dest.QvBank"));
  EXPECT_EQ(Bytes(file.begin() + 4, file.begin() + 9), (Bytes{1, 1, 1, 1, 0}));

  banks.CloseBankFile();
  banks.ListBankFiles();
  int dest = static_cast<int>(std::find(banks.BankNames().begin(), banks.BankNames().end(), "Dest") -
                              banks.BankNames().begin());
  ASSERT_TRUE(banks.OpenBankFile(dest, nullptr));
  EXPECT_EQ(SortedList(), (std::vector<std::string>{"M0", "M3", "M7", "Own"}));
  Bytes buffer(100);
  ASSERT_TRUE(banks.ReadBankProgram(banks.FindIndexEntry("M7"), buffer));
  EXPECT_EQ(buffer, ProgramData(100, 7));
  ASSERT_TRUE(banks.ReadBankProgram(banks.FindIndexEntry("M3"), buffer));
  EXPECT_EQ(buffer, ProgramData(100, 50));  // the open bank's own M3 stayed
}

TEST_F(BankFilesTest, MergeCopiesDuplicateSourceNamesBoth) {
  Bytes source = MakeBankBytes(100, {0, 1}, "D");
  std::fill_n(source.begin() + static_cast<std::ptrdiff_t>(BankRecordOffset(1, 100)), 2, 'D');
  source[static_cast<size_t>(BankRecordOffset(1, 100)) + 1] = '0';  // slot 1 is named "D0" too
  test::WriteWholeFile(folder.File("Dup.QvBank"), source);
  CreateBank("Into");
  EXPECT_EQ(banks.MergeBankFiles(folder.File("Dup.QvBank")).copied, 2);
}

TEST_F(BankFilesTest, MergeIntoAFullBankStopsAtTheFirstProgramWithoutASlot) {
  banks.SetProgramSize(2);
  std::vector<int32_t> used;
  for (int32_t i = 0; i < kBankSlotCount; ++i) {
    if (i != 100 && i != 31999) used.push_back(i);
  }
  test::WriteWholeFile(folder.File("Full.QvBank"), MakeBankBytes(2, used, "F"));
  test::WriteWholeFile(folder.File("More.QvBank"), MakeBankBytes(2, {1, 2, 3, 4}, "N"));
  banks.ListBankFiles();
  ASSERT_EQ(banks.BankNames().size(), 2u);
  int full = banks.BankNames()[0] == "Full" ? 0 : 1;
  ASSERT_TRUE(banks.OpenBankFile(full, nullptr));
  EXPECT_EQ(list.names.size(), used.size());

  MergeResult merged = banks.MergeBankFiles(banks.BankPathAt(1 - full));
  EXPECT_EQ(merged.copied, 2);
  EXPECT_TRUE(merged.full);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, kFullText);
  EXPECT_EQ(reporter.boxes[0].caption, "File full!");
  EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  Bytes file = test::ReadWholeFile(folder.File("Full.QvBank"));
  EXPECT_TRUE(std::all_of(file.begin() + 4, file.begin() + 32004, [](uint8_t b) { return b == 1; }));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&file[BankRecordOffset(100, 2)])), "N1");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&file[BankRecordOffset(31999, 2)])), "N2");

  // Storing into the full bank: the message, and nothing stored.
  banks.CloseBankFile();
  ASSERT_TRUE(banks.OpenBankFile(full, nullptr));
  size_t sizeBefore = file.size();
  StoreResult stored = Store("Extra", 1);
  EXPECT_EQ(stored.outcome, StoreResult::Outcome::Full);
  EXPECT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[1].caption, "File full!");
  EXPECT_EQ(test::ReadWholeFile(folder.File("Full.QvBank")).size(), sizeBefore);
  EXPECT_EQ(banks.FindIndexEntry("Extra"), -1);
  // Replacing by name still works in a full bank.
  EXPECT_EQ(Store("F5", 1).slot, 5);
}

TEST_F(BankFilesTest, MergingTheOpenBankIntoItselfChangesNothing) {
  CreateBank("Self");
  Store("A", 1);
  Store("B", 2);
  banks.DeleteBankProgram("A");
  Bytes before = test::ReadWholeFile(folder.File("Self.QvBank"));
  MergeResult merged = banks.MergeBankFiles(folder.File("Self.QvBank"));
  EXPECT_EQ(merged.copied, 0);
  EXPECT_EQ(test::ReadWholeFile(folder.File("Self.QvBank")), before);
  // Also when named by another spelling of the same path.
  banks.MergeBankFiles(folder.path() + "/./Self.QvBank");
  EXPECT_EQ(test::ReadWholeFile(folder.File("Self.QvBank")), before);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(BankFilesTest, MergeIgnoresSourcesOfAnotherSizeOrMissing) {
  test::WriteWholeFile(folder.File("Big.QvBank"), MakeBankBytes(170, {0, 1}, "B"));
  CreateBank("Dest");
  Bytes before = test::ReadWholeFile(folder.File("Dest.QvBank"));
  EXPECT_EQ(banks.MergeBankFiles(folder.File("Big.QvBank")).copied, 0);
  EXPECT_EQ(banks.MergeBankFiles(folder.File("Missing.QvBank")).copied, 0);
  EXPECT_EQ(test::ReadWholeFile(folder.File("Dest.QvBank")), before);
}

TEST(BankFilesSize, UnusableProgramSizeOpensNothing) {
  test::ScratchFolder folder;
  test::RecordingReporter reporter;
  BankFiles banks(reporter);
  banks.SetProgramFolder(folder.path());
  banks.SetProgramSize(-4);
  test::WriteWholeFile(folder.File("Odd.QvBank"), Bytes{0xFC, 0xFF, 0xFF, 0xFF});
  banks.ListBankFiles();
  ASSERT_EQ(banks.BankCount(), 1);
  EXPECT_FALSE(banks.OpenBankFile(0, nullptr));
  EXPECT_EQ(banks.StoreBankProgram(MakeProgramName("x"), {}).outcome, StoreResult::Outcome::NoBank);
}

}  // namespace
}  // namespace qv

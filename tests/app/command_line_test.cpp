#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace qv {
namespace {

TEST(CommandLineParse, FormsAndPaths) {
  struct Case {
    const char* text;
    CommandLineForm form;
    const char* path;
  } cases[] = {
      {"", CommandLineForm::Ordinary, ""},
      {"no switch at all", CommandLineForm::Ordinary, ""},
      {"/send C:\\x.syx", CommandLineForm::Send, "C:\\x.syx"},
      {"/send C:\\My Files\\two  spaces.syx", CommandLineForm::Send, "C:\\My Files\\two  spaces.syx"},
      {"/s x.syx", CommandLineForm::Send, "x.syx"},
      {"/librarian C:\\Mirelda\\Korg M1.QvInstrument", CommandLineForm::Instrument,
       "C:\\Mirelda\\Korg M1.QvInstrument"},
      {"/bankfile C:\\Mirelda\\My bank.QvBank", CommandLineForm::Bank, "C:\\Mirelda\\My bank.QvBank"},
      {"/open C:\\x.syx", CommandLineForm::Ordinary, ""},
      {"/Send C:\\x.syx", CommandLineForm::Ordinary, ""},
      {"/LIBRARIAN x", CommandLineForm::Ordinary, ""},
      {"ignored text /bankfile b.QvBank", CommandLineForm::Bank, "b.QvBank"},
      {"/xyz /send a.syx", CommandLineForm::Ordinary, ""},
      {"/send", CommandLineForm::Send, ""},
      {"/librarian", CommandLineForm::Instrument, ""},
      {"/bankfile ", CommandLineForm::Bank, ""},
      {"/", CommandLineForm::Ordinary, ""},
      {"/send  lead.syx", CommandLineForm::Send, " lead.syx"},
      {"/send/x.syx y", CommandLineForm::Send, "y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CommandLineRequest request = ParseCommandLine(c.text);
    EXPECT_EQ(request.form, c.form);
    EXPECT_EQ(request.path, c.path);
  }
}

TEST(CommandLineNames, LastComponentAndPositionIgnoringCase) {
  EXPECT_EQ(LastPathComponent("C:\\Mirelda\\Korg M1.QvInstrument"), "Korg M1.QvInstrument");
  EXPECT_EQ(LastPathComponent("plain.QvBank"), "plain.QvBank");
  EXPECT_EQ(LastPathComponent("C:\\folder\\"), "");
  std::vector<std::string> files = {"Roland D50.QvInstrument", "Korg M1.QvInstrument",
                                    "korg m1.qvinstrument"};
  EXPECT_EQ(PositionOfFileName(files, "KORG M1.QVINSTRUMENT"), 1);
  EXPECT_EQ(PositionOfFileName(files, "Roland D50.QvInstrument"), 0);
  EXPECT_EQ(PositionOfFileName(files, "Korg M1"), -1);
  EXPECT_EQ(PositionOfFileName({}, "x"), -1);
}

TEST(CommandLineNames, M1DefinitionNames) {
  struct Case {
    const char* name;
    bool m1;
  } cases[] = {{"Korg M1", true},    {"Korg M1R", true}, {"Kong M1 synth", true},
               {"Roland D50", false}, {"korg M1", false}, {"Korg M", false},
               {"Korg X1", false},    {"", false},        {"KoXXXM1", true}};
  for (const Case& c : cases) EXPECT_EQ(IsM1DefinitionName(c.name), c.m1) << c.name;
}

TEST(CommandLineBank, ProgramSizeFromTheFirstFourBytes) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("quillon-command-line-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  auto write = [&](const char* name, std::vector<unsigned char> bytes) {
    std::string path = (folder / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return path;
  };
  EXPECT_EQ(ReadBankProgramSize(write("m1.QvBank", {0xAA, 0x00, 0x00, 0x00, 1, 2, 3})), 170u);
  EXPECT_EQ(ReadBankProgramSize(write("big.QvBank", {0x00, 0x7D, 0x00, 0x00})), 32000u);
  EXPECT_EQ(ReadBankProgramSize(write("short.QvBank", {0xAA, 0x00})), kUnreadableBankProgramSize);
  EXPECT_EQ(ReadBankProgramSize(write("empty.QvBank", {})), kUnreadableBankProgramSize);
  EXPECT_EQ(ReadBankProgramSize((folder / "missing.QvBank").string()), kUnreadableBankProgramSize);
  EXPECT_EQ(ReadBankProgramSize(""), kUnreadableBankProgramSize);
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

TEST(CommandLineBank, DefinitionChosenForABank) {
  // Positions 0..4: 170, unreadable, 266, 170, 170.
  std::map<int, std::optional<int32_t>> sizes = {
      {0, 170}, {1, std::nullopt}, {2, 266}, {3, 170}, {4, 170}};
  int calls = 0;
  auto sizeAt = [&](int n) {
    ++calls;
    return sizes.at(n);
  };
  struct Case {
    uint32_t bankSize;
    int32_t remembered;
    int32_t chosen;
  } cases[] = {
      {170, -1, 0}, {170, 0, 0}, {170, 3, 3}, {170, 4, 4}, {170, 2, 0}, {266, 3, 2},
      {266, 2, 2},  {99, 0, -1}, {kUnreadableBankProgramSize, -1, -1}, {170, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "bank " << c.bankSize << " remembered " << c.remembered);
    calls = 0;
    EXPECT_EQ(ChooseDefinitionForBank(5, sizeAt, c.bankSize, c.remembered), c.chosen);
    EXPECT_EQ(calls, 5) << "every definition is looked at";
  }
  EXPECT_EQ(ChooseDefinitionForBank(0, sizeAt, 170, 0), -1);
}

TEST(CommandLineBank, NegativeDefinitionSizeNeverMatchesAnUnreadableBank) {
  // A broken definition may hold any size; as unsigned it must not be taken
  // for the 9,999,999 of an unreadable bank by accident, nor for a real one.
  auto sizeAt = [](int) -> std::optional<int32_t> { return -1; };
  EXPECT_EQ(ChooseDefinitionForBank(2, sizeAt, kUnreadableBankProgramSize, -1), -1);
  EXPECT_EQ(ChooseDefinitionForBank(2, sizeAt, 170, -1), -1);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(CommandLineBank, ChooserPositionCountsOnlyBanksOfTheNamedBanksSize) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("quillon-chooser-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  auto bank = [&](const char* name, unsigned char size) {
    std::string path = (folder / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const unsigned char header[4] = {size, 0, 0, 0};
    if (f) {
      std::fwrite(header, 1, sizeof header, f);
      std::fclose(f);
    }
    return path;
  };
  // In listing order: two of another size before Mine, one of its size.
  const std::vector<std::string> paths = {bank("Aaa foreign.QvBank", 50), bank("Same.QvBank", 9),
                                          bank("Bbb foreign.QvBank", 50), bank("Mine.QvBank", 9),
                                          bank("Later.QvBank", 9)};
  EXPECT_EQ(BankChooserPosition(paths, "Mine.QvBank"), 1);
  EXPECT_EQ(BankChooserPosition(paths, "mine.qvbank"), 1) << "names compare without regard to case";
  EXPECT_EQ(BankChooserPosition(paths, "Same.QvBank"), 0);
  EXPECT_EQ(BankChooserPosition(paths, "Bbb foreign.QvBank"), 1);
  EXPECT_EQ(BankChooserPosition(paths, "Missing.QvBank"), -1);
  EXPECT_EQ(BankChooserPosition({}, "Mine.QvBank"), -1);
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

TEST(CommandLineTail, ProgramNameIsSkippedAsTheRuntimeSkipsIt) {
  EXPECT_EQ(CommandLineTail(L"\"C:\\Pro gram\\Mirelda.dat\" /bankfile C:\\x y.QvBank"),
            L"/bankfile C:\\x y.QvBank");
  EXPECT_EQ(CommandLineTail(L"Mirelda.dat  \t/send a.syx"), L"/send a.syx");
  EXPECT_EQ(CommandLineTail(L"Mirelda.dat"), L"");
  EXPECT_EQ(CommandLineTail(L"\"C:\\unclosed quote /send a.syx"), L"");
  EXPECT_EQ(CommandLineTail(L"\"C:\\Mirelda.dat\"/open"), L"/open");
  EXPECT_EQ(CommandLineTail(L""), L"");
}

}  // namespace
}  // namespace qv

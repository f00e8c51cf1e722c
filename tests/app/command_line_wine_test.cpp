// The command-line forms of Mirelda.dat under Wine: the send form with no
// window and no sound, and the error messages of the instrument and bank
// forms.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "librarian/librarian_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr char kLibrarianTitleEnd[] = " - Brindlecote Program Librarian";

void AppendNumber(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A file in the current Kestrovallian layout holding the messages.
std::vector<uint8_t> KestrovallianFile(const std::vector<std::vector<uint8_t>>& messages) {
  std::vector<uint8_t> file;
  for (char c : std::string("Kestrovallian+")) file.push_back(static_cast<uint8_t>(c));
  std::vector<uint8_t> name(100, 0);
  std::memcpy(name.data(), "three", 5);
  file.insert(file.end(), name.begin(), name.end());
  AppendNumber(file, static_cast<uint32_t>(messages.size()), 2);
  for (const auto& m : messages) AppendNumber(file, static_cast<uint32_t>(m.size()), 4);
  for (const auto& m : messages) file.insert(file.end(), m.begin(), m.end());
  return file;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
  }
  void TearDown() override {
    if (program_.Running()) program_.Kill();
    for (const std::string& path : made_) DeleteFileW(Wide(path).c_str());
  }
  void Begin(const std::string& arguments, const std::string& fakeMidiConfig = "") {
    StartOptions options;
    options.arguments = arguments;
    options.fakeMidiConfig = fakeMidiConfig;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
  }
  std::string Make(const std::string& path, const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    made_.push_back(path);
    return path;
  }
  // The one box of a command-line error, answered; then the process ends
  // with 0 and no module window was shown.
  void ExpectCommandLineError(const std::string& text) {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(box) << "no box \"" << text << "\"";
    EXPECT_EQ(box.caption, "Command line error");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.owner, nullptr) << "the box has no owner";
    EXPECT_TRUE(FindWindows({"Qv_SysEx", "", program_.Id(), false}).empty());
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(program_.WaitExit(10000), 0u);
  }
  // The librarian of the definition, once its title shows.
  HWND WaitForLibrarian(const std::string& definition) {
    HWND librarian = nullptr;
    WaitUntil(
        [&] {
          librarian = FindTopWindow({"Qv_SysEx", definition + kLibrarianTitleEnd, program_.Id()});
          return librarian != nullptr;
        },
        20000);
    return librarian;
  }
  // The librarian opened the bank: selected in the chooser, its programs
  // listed, and no dialog for a new bank instead.
  void ExpectBankOpen(HWND librarian, const std::string& bank, const std::string& program) {
    HWND chooser = Item(librarian, IDC_LIBRARIAN_BANK_CHOOSER);
    const int selected = ComboSelection(chooser);
    const auto lines = ComboLines(chooser);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(lines.at(static_cast<size_t>(selected)), bank);
    EXPECT_TRUE(WaitUntil(
        [&] {
          return ListLines(Item(librarian, IDC_LIBRARIAN_BANK_LIST)) == std::vector<std::string>{program};
        },
        5000))
        << "the bank's programs are not listed";
    HWND creation = FindTopWindow({"#32770", "Create new bank file...", program_.Id()});
    EXPECT_EQ(creation, nullptr) << "the dialog for a new bank opened instead";
    if (creation != nullptr) PostCommand(creation, IDCANCEL);
  }
  void EndLibrarian(HWND librarian) {
    Close(librarian);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }
  Program program_;
  std::vector<std::string> made_;
};

constexpr int kProgramSize = 9;

// A definition of program size 9 whose instrument answers "F0 7D # F7"
// with 14 bytes (see Responders).
std::vector<uint8_t> SmallDefinition() {
  std::vector<uint8_t> record(2048, 0);
  record[0] = 1;              // channel
  record[8] = 9;              // highest program
  record[16] = kProgramSize;  // program size
  std::memcpy(record.data() + 36, "F0 7D # F7;14,4", 15);
  std::memcpy(record.data() + 486, "F0 7E # % F7", 12);
  record[936] = ' ';
  return record;
}

std::string Responders() {
  std::string script;
  for (int program = 0; program <= 9; ++program) {
    std::vector<uint8_t> answer{0xF0, 0x7D, 0x01, static_cast<uint8_t>(program), 'P', 'r', '0',
                                static_cast<uint8_t>('0' + program), 1, 2, 3, 4, 5, 0xF7};
    script += "respond 0 0 20 " + HexText({0xF0, 0x7D, static_cast<uint8_t>(program), 0xF7}) +
              " => " + HexText(answer) + "\n";
  }
  return script;
}

// A bank of the given program size holding one program in slot 0.
std::vector<uint8_t> BankWithOneProgram(uint32_t programSize, const std::string& name) {
  std::vector<uint8_t> bank(4 + 32000 + 30 + programSize, 0);
  for (int i = 0; i < 4; ++i) bank[static_cast<size_t>(i)] = static_cast<uint8_t>(programSize >> (8 * i));
  bank[4] = 1;
  std::memcpy(bank.data() + 32004, name.data(), name.size());
  return bank;
}

// The .QvBank files of the program folder in the order the system lists them.
std::vector<std::string> BanksInListingOrder() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(BinDir() + "\\*.QvBank").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(Utf8(found.cFileName));
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST_F(CommandLine, SendFormSendsEachMessageOfAKestrovallianFileWithoutWindowOrSound) {
  const std::vector<std::vector<uint8_t>> messages = {
      {0xF0, 0x43, 0x10, 0x01, 0xF7}, {0xF0, 0x41, 0x10, 0x20, 0x30, 0xF7}, {0xF0, 0x7E, 0xF7}};
  std::string file = Make(TestDir() + "\\three in a row.syx", KestrovallianFile(messages));
  ASSERT_NO_FATAL_FAILURE(Begin("/send " + file));
  std::optional<DWORD> exit = program_.WaitExit(20000);
  ASSERT_TRUE(exit) << "the send form did not end";
  EXPECT_EQ(*exit, 0u);
  auto sent = MidiEvents("out.long", program_.Id());
  ASSERT_EQ(sent.size(), 3u);
  for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].Bytes(), messages[i]) << i;
  EXPECT_EQ(MidiEvents("out.open", program_.Id()).at(0).Field("callback"), "function");
  EXPECT_EQ(MidiEvents("out.close", program_.Id()).size(), 1u);
  EXPECT_TRUE(MidiEvents("sound.play", program_.Id()).empty()) << "no start-up sound";
  EXPECT_TRUE(MidiEvents("in.open", program_.Id()).empty()) << "no module window opened the input";
}

TEST_F(CommandLine, MissingInstrumentFileEndsTheProgramWithItsMessage) {
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian " + TestDir() + "\\No such one.QvInstrument"));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError("Specified instrument file was not found."));
}

TEST_F(CommandLine, InstrumentSwitchWithoutAFileIsAMissingFile) {
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian"));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError("Specified instrument file was not found."));
}

TEST_F(CommandLine, InstrumentFileOutsideTheProgramFolderEntersTheLibrarian) {
  std::vector<uint8_t> record(2048, 0);
  record[0] = 2;     // channel
  record[8] = 9;     // highest program
  record[16] = 100;  // program size
  std::memcpy(record.data() + 36, "F0 41 # F7", 10);
  std::memcpy(record.data() + 486, "F0 41 % F7", 10);
  std::string file = Make(TestDir() + "\\Roland D50.QvInstrument", record);
  // An empty bank of the definition's program size for the librarian to open.
  std::vector<uint8_t> bank(4 + 32000, 0);
  bank[0] = 100;
  Make(BinDir() + "\\Command line test.QvBank", bank);
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian " + file));
  HWND librarian = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        librarian = FindTopWindow({"Qv_SysEx", "", program_.Id()});
        return librarian != nullptr && Text(librarian) == std::string("Roland D50") + kLibrarianTitleEnd;
      },
      20000))
      << (librarian ? Text(librarian) : "no window");
  Close(librarian);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(CommandLine, BankFileOutsideTheProgramFolderIsNotFoundAndClosesTheTitleWindow) {
  std::string bank = Make(TestDir() + "\\Elsewhere.QvBank", {0xAA, 0, 0, 0});
  LoaderStandIn loader;
  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + bank));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(loader.CloseCount(), 1) << "the title window goes before the message";
  EXPECT_EQ(box.caption, "Command line error");
  EXPECT_EQ(box.text,
            "Specified bank file was not found; you must keep these files in the same folder as "
            "Mirelda.exe.");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(CommandLine, BankWithoutAFittingInstrumentEndsWithItsMessage) {
  std::string bank = Make(BinDir() + "\\Odd size.QvBank", {0x39, 0x30, 0, 0});
  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + bank));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError(
      "Can't find an instrument that matches specified bank file. Be sure you have an instrument "
      "definition for the instrument used to create the bank file."));
}

TEST_F(CommandLine, BankFileOpensItselfWhenBanksOfAnotherSizeAreListedBeforeIt) {
  Make(BinDir() + "\\Bank test.QvInstrument", SmallDefinition());
  const std::string mine = Make(BinDir() + "\\Mine.QvBank", BankWithOneProgram(kProgramSize, "Kept"));
  // Banks of another size until the system lists one before Mine.QvBank.
  for (int n = 1; n <= 30; ++n) {
    const auto order = BanksInListingOrder();
    if (!order.empty() && order.front() != "Mine.QvBank") break;
    Make(BinDir() + "\\Aaa foreign " + std::to_string(n) + ".QvBank", BankWithOneProgram(50, "Foreign"));
  }
  ASSERT_NE(BanksInListingOrder().front(), "Mine.QvBank") << "no foreign bank is listed first";

  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + mine, Responders()));
  HWND librarian = WaitForLibrarian("Bank test");
  ASSERT_NE(librarian, nullptr);
  EXPECT_EQ(ComboLines(Item(librarian, IDC_LIBRARIAN_BANK_CHOOSER)),
            (std::vector<std::string>{"Mine", "Create new bank file"}));
  ASSERT_NO_FATAL_FAILURE(ExpectBankOpen(librarian, "Mine", "Kept"));
  EndLibrarian(librarian);
}

TEST_F(CommandLine, BankAndInstrumentFilesOfLatinNamesOpenByTheirOwnNames) {
  Make(BinDir() + "\\Orgel Höhner.QvInstrument", SmallDefinition());
  const std::string bank = Make(BinDir() + "\\Flöten.QvBank", BankWithOneProgram(kProgramSize, "S\xFC\xDF"));

  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + bank, Responders()));
  HWND librarian = WaitForLibrarian("Orgel Höhner");
  ASSERT_NE(librarian, nullptr) << "the bank did not open";
  ASSERT_NO_FATAL_FAILURE(ExpectBankOpen(librarian, "Flöten", "Süß"));
  EndLibrarian(librarian);

  // Named in other capitals: the definition is found in the program folder
  // and remembered.
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 5));
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian " + BinDir() + "\\orgel hÖhner.qvinstrument", Responders()));
  librarian = WaitForLibrarian("Orgel Höhner");
  ASSERT_NE(librarian, nullptr) << "the definition did not open";
  ASSERT_NO_FATAL_FAILURE(ExpectBankOpen(librarian, "Flöten", "Süß"));
  EndLibrarian(librarian);
  EXPECT_EQ(ReadDword(kUserSettings, "LibrarianInstrument"), std::optional<DWORD>(0));
}

TEST_F(CommandLine, FileNamesOutsideTheCodePageAreRefusedByName) {
  // All exist; their names hold letters code page 1252 lacks. "Ā" has the
  // look-alike "A", and a bank of that name fits a definition: it must not
  // be opened instead.
  Make(BinDir() + "\\Bank test.QvInstrument", SmallDefinition());
  Make(BinDir() + "\\Anna.QvBank", BankWithOneProgram(kProgramSize, "Anna"));
  const std::string lookAlike = Make(BinDir() + "\\Ānna.QvBank", BankWithOneProgram(kProgramSize, "X"));
  const std::string bank = Make(BinDir() + "\\Флейта.QvBank", BankWithOneProgram(kProgramSize, "X"));
  const std::string definition = Make(BinDir() + "\\Орган.QvInstrument", SmallDefinition());
  const struct {
    std::string arguments;
    std::string shown;
  } cases[] = {{"/bankfile " + bank, "\"??????.QvBank\""},
               {"/librarian " + definition, "\"?????.QvInstrument\""},
               {"/bankfile " + lookAlike, "\"?nna.QvBank\""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    ASSERT_NO_FATAL_FAILURE(Begin(c.arguments, Responders()));
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(box) << "no box; windows: " << FindWindows({"Qv_SysEx", "", program_.Id(), false}).size();
    EXPECT_EQ(box.caption, "Command line error");
    EXPECT_NE(box.text.find("holds characters that this system's character set cannot show"),
              std::string::npos)
        << box.text;
    EXPECT_NE(box.text.find(c.shown), std::string::npos) << box.text;
    EXPECT_TRUE(FindWindows({"Qv_SysEx", "", program_.Id(), false}).empty());
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(program_.WaitExit(10000), 0u);
  }
}

TEST_F(CommandLine, SendFormRefusesANameOutsideTheCodePageAndSendsNothing) {
  const std::string file = Make(TestDir() + "\\Привет.syx", KestrovallianFile({{0xF0, 0x43, 0x10, 0xF7}}));
  ASSERT_NO_FATAL_FAILURE(Begin("/send " + file));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "File name not usable");
  EXPECT_NE(box.text.find("\"??????.syx\""), std::string::npos) << box.text;
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program_.WaitExit(10000), 0u);
  EXPECT_TRUE(MidiEvents("out.long", program_.Id()).empty());
}

}  // namespace
}  // namespace qv::wine

// Definition and bank files named beyond ASCII under Wine (code page 1252
// here): the definition list and the bank chooser offer them by their own
// names and they load and open; a new bank over an existing one of such a
// name asks first. Files are made with the wide calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kProgramSize = 9;
constexpr char kLibrarianTitleEnd[] = " - Brindlecote Program Librarian";

void PutInt(Bytes& record, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) record[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

Bytes DefinitionRecord() {
  Bytes record(2048, 0);
  PutInt(record, 0, 1);
  PutInt(record, 8, 9);
  PutInt(record, 16, kProgramSize);
  std::memcpy(record.data() + 36, "F0 7D # F7;14,4", 15);
  std::memcpy(record.data() + 486, "F0 7E # % F7", 12);
  std::memcpy(record.data() + 936, " ", 1);
  return record;
}

// A bank of the definition's size holding one program in slot 0, its
// name in code page 1252 as the program stores it.
Bytes BankWithOneProgram(const std::string& name) {
  Bytes bank(32004 + 30 + kProgramSize, 0);
  PutInt(bank, 0, kProgramSize);
  bank[4] = 1;
  std::memcpy(bank.data() + 32004, name.data(), name.size());
  return bank;
}

// The instrument answers each request "F0 7D <program> F7" with 14 bytes.
std::string Responders() {
  std::string script;
  for (int program = 0; program <= 9; ++program) {
    Bytes answer{0xF0, 0x7D, 0x01, static_cast<uint8_t>(program), 'P', 'r', '0',
                 static_cast<uint8_t>('0' + program), 1, 2, 3, 4, 5, 0xF7};
    script += "respond 0 0 20 " + HexText({0xF0, 0x7D, static_cast<uint8_t>(program), 0xF7}) +
              " => " + HexText(answer) + "\n";
  }
  return script;
}

class LibraryNames : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    for (const char* marker : {"FirstTime0", "FirstTime1", "FirstTime2"}) {
      ASSERT_TRUE(WriteDword(kMachineSettings, marker, 1));
    }
    RemoveLibraryFiles();
  }
  void TearDown() override {
    if (program_.Running()) program_.Kill();
    RemoveLibraryFiles();
  }
  static void RemoveLibraryFiles() {
    for (const wchar_t* pattern : {L"\\*.QvInstrument", L"\\*.QvBank"}) {
      WIN32_FIND_DATAW found;
      HANDLE search = FindFirstFileW((Wide(BinDir()) + pattern).c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do DeleteFileW((Wide(BinDir()) + L"\\" + found.cFileName).c_str());
      while (FindNextFileW(search, &found));
      FindClose(search);
    }
  }

  HWND StartManager() {
    StartOptions options;
    options.fakeMidiConfig = Responders();
    program_ = Start(options);
    if (!program_.Started()) return nullptr;
    return WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
  }

  HWND WaitForLibrarian(const std::string& definition) {
    const std::string title = definition + kLibrarianTitleEnd;
    HWND librarian = nullptr;
    WaitUntil(
        [&] {
          librarian = FindTopWindow({"Qv_SysEx", title, program_.Id()});
          return librarian != nullptr;
        },
        20000);
    return librarian;
  }

  // Enters the librarian with "Test Synth", whose chooser offers the bank
  // "Other", and chooses path in the dialog for a new bank.
  HWND NewBankThroughDialog(const std::string& path) {
    EXPECT_TRUE(WriteFileBytes(BinDir() + "\\Test Synth.QvInstrument", DefinitionRecord()));
    EXPECT_TRUE(WriteFileBytes(BinDir() + "\\Other.QvBank", BankWithOneProgram("Other")));
    EXPECT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
    HWND manager = StartManager();
    if (manager == nullptr) return nullptr;
    PostCommand(manager, IDC_MANAGER_LIBRARIAN);
    HWND librarian = WaitForLibrarian("Test Synth");
    if (librarian == nullptr) return nullptr;
    if (beforeNewBank_) beforeNewBank_();
    HWND chooser = Item(librarian, IDC_LIBRARIAN_BANK_CHOOSER);
    EXPECT_EQ(ComboLines(chooser), (std::vector<std::string>{"Other", "Create new bank file"}));
    SelectComboLine(chooser, 1);
    HWND dialog = WaitForWindow({"#32770", "Create new bank file...", program_.Id()}, 10000);
    if (dialog == nullptr || !ChooseInFileDialog(dialog, path)) return nullptr;
    // Until the dialog is gone it counts as a box: it has labels of id -1.
    if (!WaitForNoWindow({"#32770", "Create new bank file...", program_.Id()}, 10000)) return nullptr;
    return librarian;
  }

  void Finish(HWND librarian) {
    Close(librarian);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }

  Program program_;
  std::function<void()> beforeNewBank_;
};

TEST_F(LibraryNames, LatinNamesAreListedByTheirOwnNamesAndOpen) {
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Orgel Höhner.QvInstrument", DefinitionRecord()));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Flöten.QvBank", BankWithOneProgram("S\xFC\xDF")));
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  PostCommand(manager, IDC_MANAGER_LIBRARIAN);  // no definition remembered: the dialog asks
  HWND dialog = WaitForWindow({"#32770", "Librarian options", program_.Id()}, 10000);
  ASSERT_NE(dialog, nullptr);
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  EXPECT_EQ(ComboLines(model), (std::vector<std::string>{"Orgel Höhner", "Define new instrument"}));
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_PROGRAM_SIZE), std::to_string(kProgramSize))
      << "the listed definition is loaded";
  Screenshot(dialog, "definition_dialog_latin_name");
  PostCommand(dialog, IDOK);

  HWND librarian = WaitForLibrarian("Orgel Höhner");
  ASSERT_NE(librarian, nullptr);
  HWND chooser = Item(librarian, IDC_LIBRARIAN_BANK_CHOOSER);
  EXPECT_EQ(ComboLines(chooser), (std::vector<std::string>{"Flöten", "Create new bank file"}));
  EXPECT_EQ(ComboSelection(chooser), 0);
  EXPECT_TRUE(WaitUntil(
      [&] { return ListLines(Item(librarian, IDC_LIBRARIAN_BANK_LIST)) == std::vector<std::string>{"Süß"}; },
      5000))
      << "the bank is open";
  EXPECT_FALSE(FindTopWindow({"#32770", "Create new bank file...", program_.Id()}));
  Screenshot(librarian, "librarian_latin_names");
  Finish(librarian);
}

TEST_F(LibraryNames, NewBankOverAnExistingOneOfACodePageNameAsksFirst) {
  // "Œ" is in code page 1252 but not in Latin-1.
  const std::string existing = BinDir() + "\\Œuvre.QvBank";
  const Bytes stored = BankWithOneProgram("Kept");
  // Written once the librarian is open, so that the chooser does not list
  // it: the user picks its name for a new bank.
  beforeNewBank_ = [&] { EXPECT_TRUE(WriteFileBytes(existing, stored)); };
  HWND librarian = NewBankThroughDialog(existing);
  ASSERT_NE(librarian, nullptr);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box) << "created without the question";
  Screenshot(box.window, "librarian_new_bank_question");
  EXPECT_EQ(box.caption, "Are you sure...");
  EXPECT_EQ(box.text,
            "The filename you've chosen seems to be in use. Do you want to overwrite the existing file?");
  ASSERT_TRUE(AnswerMessageBox(box, IDNO));
  Pause(300);
  EXPECT_EQ(ReadFileBytes(existing), std::optional<Bytes>(stored)) << "the existing bank is kept";
  Finish(librarian);
}

TEST_F(LibraryNames, NewBankOfANameOutsideTheCodePageIsRefused) {
  HWND librarian = NewBankThroughDialog(BinDir() + "\\Флейта.QvBank");
  ASSERT_NE(librarian, nullptr);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "File name not usable");
  EXPECT_NE(box.text.find("\"??????.QvBank\""), std::string::npos) << box.text;
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  Pause(300);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EXPECT_TRUE(ListLines(Item(librarian, IDC_LIBRARIAN_BANK_LIST)).empty()) << "no bank is open";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Wide(BinDir()) + L"\\*.QvBank").c_str(), &found);
  int banks = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do ++banks;
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(banks, 1) << "no bank file was made";
  Finish(librarian);
}

TEST_F(LibraryNames, DefinitionOfANameOutsideTheCodePageIsListedAndRefused) {
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Орган.QvInstrument", DefinitionRecord()));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Orgel Höhner.QvInstrument", DefinitionRecord()));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Flöten.QvBank", BankWithOneProgram("S\xFC\xDF")));
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  PostCommand(manager, IDC_MANAGER_LIBRARIAN);
  HWND dialog = WaitForWindow({"#32770", "Librarian options", program_.Id(), false}, 10000);
  ASSERT_NE(dialog, nullptr);
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  const std::vector<std::string> lines = ComboLines(model);
  ASSERT_EQ(lines.size(), 3u);
  const int lost = lines[0] == "?????" ? 0 : 1;
  EXPECT_EQ(lines[static_cast<size_t>(lost)], "?????");
  EXPECT_EQ(lines[static_cast<size_t>(1 - lost)], "Orgel Höhner");
  // Chosen (at the opening, when it is the first), it is refused and the
  // choice moves to "Define new instrument".
  if (lost != 0) SelectComboLine(model, lost);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000, dialog);
  ASSERT_TRUE(box) << "not refused";
  EXPECT_EQ(box.caption, "File name not usable");
  EXPECT_NE(box.text.find("\"?????.QvInstrument\""), std::string::npos) << box.text;
  Screenshot(box.window, "definition_name_refusal");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return ComboSelection(model) == 2; }, 5000));

  SelectComboLine(model, 1 - lost);
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DEFINITION_PROGRAM_SIZE) == std::to_string(kProgramSize); },
                        5000));
  PostCommand(dialog, IDOK);
  HWND librarian = WaitForLibrarian("Orgel Höhner");
  ASSERT_NE(librarian, nullptr);
  Finish(librarian);
}

}  // namespace
}  // namespace qv::wine

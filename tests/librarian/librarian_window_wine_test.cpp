// The librarian window against a fake instrument: the fake MIDI devices
// answer each request "F0 7D <program> F7" with a 14-byte program dump
// whose first four data bytes are the program's name.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"
#include "tests/wine/module_shortcuts_check.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kPrograms = 10;       // 0 to 9, shown as 01 to 10
constexpr int kProgramSize = 9;
const char kTitle[] = "Test Synth - Brindlecote Program Librarian";

void PutInt(Bytes& record, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) record[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

void PutText(Bytes& record, size_t at, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) record[at + i] = static_cast<uint8_t>(text[i]);
}

// The 2048-byte definition record: channel, range, display offset, size,
// name extraction, auto update, ports, then the strings at 36, 486 and 936.
Bytes DefinitionRecord(bool nameExtraction = true, bool autoUpdate = false) {
  Bytes record(2048, 0);
  PutInt(record, 0, 1);
  PutInt(record, 4, 0);
  PutInt(record, 8, kPrograms - 1);
  PutInt(record, 12, 1);
  PutInt(record, 16, kProgramSize);
  PutInt(record, 20, nameExtraction ? 1 : 0);
  PutInt(record, 24, autoUpdate ? 1 : 0);
  PutText(record, 36, "F0 7D # F7;14,4");
  PutText(record, 486, "F0 7E # % F7");
  PutText(record, 936, "0 1 2 3 ");
  return record;
}

std::string ProgramName(int program) {
  char name[8];
  std::snprintf(name, sizeof name, "Pr%02d", program);
  return name;
}

Bytes ProgramData(int program) {
  std::string name = ProgramName(program);
  Bytes data(name.begin(), name.end());
  while (data.size() < kProgramSize) data.push_back(static_cast<uint8_t>(0x10 + program));
  return data;
}

// The instrument answers every request but the one for `silent`.
std::string Responders(int silent = -1) {
  std::string script;
  for (int program = 0; program < kPrograms; ++program) {
    if (program == silent) continue;
    Bytes answer{0xF0, 0x7D, 0x01, static_cast<uint8_t>(program)};
    Bytes data = ProgramData(program);
    answer.insert(answer.end(), data.begin(), data.end());
    answer.push_back(0xF7);
    script += "respond 0 0 20 " + HexText({0xF0, 0x7D, static_cast<uint8_t>(program), 0xF7}) +
              " => " + HexText(answer) + "\n";
  }
  return script;
}

class LibrarianWindowWine : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    for (const char* marker : {"FirstTime0", "FirstTime1", "FirstTime2"}) {
      ASSERT_TRUE(WriteDword(kMachineSettings, marker, 1));
    }
    ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Test Synth.QvInstrument", DefinitionRecord()));
    Bytes bank(32004, 0);
    PutInt(bank, 0, kProgramSize);
    ASSERT_TRUE(WriteFileBytes(bankPath_, bank));
  }

  // Starts the program with the fake instrument (or a silent one) and
  // enters the librarian from the manager.
  void EnterLibrarian(bool instrumentAnswers, int silentProgram = -1) {
    StartOptions options;
    options.fakeMidiConfig = instrumentAnswers ? Responders(silentProgram) : "";
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
    HWND manager = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
    ASSERT_NE(manager, nullptr);
    PostCommand(manager, IDC_MANAGER_LIBRARIAN);
    ASSERT_TRUE(WaitUntil(
        [&] {
          librarian_ = FindTopWindow({"Qv_SysEx", kTitle, program_.Id()});
          return librarian_ != nullptr;
        },
        20000));
  }

  HWND Devices() { return Item(librarian_, IDC_LIBRARIAN_DEVICE_LIST); }
  HWND Bank() { return Item(librarian_, IDC_LIBRARIAN_BANK_LIST); }

  bool WaitForDeviceLine(int line, const std::string& text) {
    return WaitUntil(
        [&] {
          std::vector<std::string> lines = ListLines(Devices());
          return static_cast<int>(lines.size()) > line && lines[static_cast<size_t>(line)] == text;
        },
        10000);
  }

  // The stored record of the bank's slot: name and data.
  Bytes BankRecord(int slot) {
    auto bytes = ReadFileBytes(bankPath_);
    size_t at = 32004 + static_cast<size_t>(slot) * (30 + kProgramSize);
    if (!bytes || bytes->size() < at + 30 + kProgramSize) return {};
    return Bytes(bytes->begin() + static_cast<std::ptrdiff_t>(at),
                 bytes->begin() + static_cast<std::ptrdiff_t>(at + 30 + kProgramSize));
  }

  std::string bankPath_ = BinDir() + "\\Mine.QvBank";
  Program program_;
  HWND librarian_ = nullptr;
};

TEST_F(LibrarianWindowWine, FetchesListsSendsBackAndWalksAllPrograms) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true));
  // The entry check fetches the first program's name.
  ASSERT_TRUE(WaitForDeviceLine(0, "01 Pr00"));
  std::vector<std::string> lines = ListLines(Devices());
  ASSERT_EQ(lines.size(), static_cast<size_t>(kPrograms));
  EXPECT_EQ(lines[1], "02 <Unknown>");
  EXPECT_EQ(lines[9], "10 <Unknown>");
  EXPECT_EQ(ComboLines(Item(librarian_, IDC_LIBRARIAN_BANK_CHOOSER)),
            (std::vector<std::string>{"Mine", "Create new bank file"}));
  // Name extraction on: "Update" stays, "Clear names" is gone.
  EXPECT_NE(Item(librarian_, IDC_LIBRARIAN_UPDATE), nullptr);
  EXPECT_EQ(Item(librarian_, IDC_LIBRARIAN_CLEAR_NAMES), nullptr);
  Pause(700);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "the instrument answered";
  ASSERT_TRUE(WaitUntil([&] { return ItemText(librarian_, IDC_LIBRARIAN_SAVE) == "<< Save"; }, 5000));
  EXPECT_FALSE(IsEnabled(Item(librarian_, IDC_LIBRARIAN_COPY)));

  // Program 5 into the bank.
  SelectListLine(Devices(), 5);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_SAVE)); }, 5000));
  ClickItem(librarian_, IDC_LIBRARIAN_SAVE);
  ASSERT_TRUE(WaitForDeviceLine(5, "06 Pr05"));
  ASSERT_TRUE(WaitUntil([&] { return ListLines(Bank()) == std::vector<std::string>{"Pr05"}; }, 5000));
  Bytes record = BankRecord(0);
  ASSERT_EQ(record.size(), 30u + kProgramSize);
  EXPECT_EQ(std::string(record.begin(), record.begin() + 4), "Pr05");
  EXPECT_EQ(Bytes(record.begin() + 30, record.end()), ProgramData(5));

  // Back to the instrument's place 2.
  ClearMidiLog();
  SelectListLine(Bank(), 0);
  SelectListLine(Devices(), 2);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_COPY)); }, 5000));
  ClickItem(librarian_, IDC_LIBRARIAN_COPY);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  Bytes sent{0xF0, 0x7E, 0x02};
  Bytes data = ProgramData(5);
  sent.insert(sent.end(), data.begin(), data.end());
  sent.push_back(0xF7);
  EXPECT_EQ(MidiEvents("out.long", program_.Id())[0].Bytes(), sent);
  ASSERT_TRUE(WaitForDeviceLine(2, "03 Pr05"));

  // Update names every line and stores nothing.
  ClearMidiLog();
  ClickItem(librarian_, IDC_LIBRARIAN_UPDATE);
  ASSERT_TRUE(WaitForDeviceLine(9, "10 Pr09"));
  for (int line = 0; line < kPrograms; ++line) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d %s", line + 1, ProgramName(line).c_str());
    EXPECT_EQ(ListLines(Devices())[static_cast<size_t>(line)], expected);
  }
  EXPECT_EQ(MidiEvents("out.long", program_.Id()).size(), static_cast<size_t>(kPrograms));
  EXPECT_EQ(ListLines(Bank()).size(), 1u);

  // All (Ctrl held) stores every program not yet in the bank.
  {
    CtrlHeld ctrl(librarian_);
    ASSERT_TRUE(
        WaitUntil([&] { return ItemText(librarian_, IDC_LIBRARIAN_UPDATE) == "<< All"; }, 5000));
    EXPECT_EQ(ItemText(librarian_, IDC_LIBRARIAN_SAVE), "<< Save As...");
    EXPECT_EQ(ItemText(librarian_, IDC_LIBRARIAN_MANAGER), "Instrument...");
    Screenshot(librarian_, "librarian_ctrl_held");
    ClickItem(librarian_, IDC_LIBRARIAN_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return ListLines(Bank()).size() == kPrograms; }, 15000));
  }
  ASSERT_TRUE(WaitUntil([&] { return ItemText(librarian_, IDC_LIBRARIAN_UPDATE) == "Update"; }, 5000));
  std::vector<std::string> expected;
  for (int program = 0; program < kPrograms; ++program) expected.push_back(ProgramName(program));
  EXPECT_EQ(ListLines(Bank()), expected);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  Pause(300);
  Screenshot(librarian_, "librarian_after_all");

  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(LibrarianWindowWine, SilentInstrumentIsReportedAtTheFirstTick) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(false));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Couldn't update program list");
  EXPECT_EQ(box.text,
            "Your MIDI instrument doesn't seem to be responding.\n\nWhen you click OK, you'll be "
            "taken to the instrument definition dialog box, where you can fix the problem before "
            "clicking OK again. (If the problem rectifies itself by the time you click OK, you'll "
            "be left in the librarian.)\n\nMake sure that:\n\nthe instrument definition is "
            "correct\nthe instrument is set to the correct mode, if this is required by the "
            "definition\nthe correct input and output ports have been chosen\nall the MIDI cables "
            "are connected correctly");
  EXPECT_EQ(box.owner, librarian_);
  Screenshot(nullptr, "librarian_not_responding");
  // The request went out; nothing came back.
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  EXPECT_EQ(MidiEvents("out.long", program_.Id())[0].Bytes(), (Bytes{0xF0, 0x7D, 0x00, 0xF7}));
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  // The definition dialog follows when there is one; cancelled, it leads
  // to the manager.
  HWND manager = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        HWND options = FindTopWindow({"#32770", "Librarian options", program_.Id()});
        if (options != nullptr) PostCommand(options, IDCANCEL);
        manager = FindTopWindow({"Qv_SysEx", "Brindlecote Kestrovallian 97", program_.Id()});
        return manager != nullptr;
      },
      15000));
  Close(manager);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(LibrarianWindowWine, AnswerWhileTheBoxIsOpenKeepsTheLibrarian) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(false));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  ASSERT_EQ(box.caption, "Couldn't update program list");
  Bytes answer{0xF0, 0x7D, 0x01, 0x00};
  Bytes data = ProgramData(0);
  answer.insert(answer.end(), data.begin(), data.end());
  answer.push_back(0xF7);
  ASSERT_TRUE(SendMidiScript(program_.Id(), "deliver 0 " + HexText(answer)));
  ASSERT_TRUE(WaitForDeviceLine(0, "01 Pr00"));
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  Pause(1000);
  EXPECT_TRUE(IsWindow(librarian_));
  EXPECT_EQ(FindTopWindow({"#32770", "Librarian options", program_.Id()}), nullptr);
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

// The entry pass of a definition with automatic update: the instrument
// drops the answer for program 6 (shown as 07). The pass ends with a box
// that names it, and the window is usable again.
TEST_F(LibrarianWindowWine, ALostAnswerEndsTheEntryPassAndGivesTheWindowBack) {
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Test Synth.QvInstrument", DefinitionRecord(true, true)));
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true, 6));
  ASSERT_TRUE(WaitForDeviceLine(5, "06 Pr05"));
  EXPECT_FALSE(IsEnabled(librarian_));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 15000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Couldn't update program list");
  EXPECT_EQ(box.text,
            "Your MIDI instrument didn't answer the request for program 07, so the librarian has "
            "stopped asking for programs.\n\nThe names that did arrive are listed. Check the "
            "instrument and the MIDI cables, then try again.");
  EXPECT_EQ(box.owner, librarian_);
  Screenshot(nullptr, "librarian_lost_answer");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(librarian_); }, 5000));
  std::vector<std::string> lines = ListLines(Devices());
  ASSERT_EQ(lines.size(), static_cast<size_t>(kPrograms));
  EXPECT_EQ(lines[5], "06 Pr05");
  EXPECT_EQ(lines[6], "07 <Unknown>");
  EXPECT_EQ(lines[7], "08 <Unknown>");
  // Usable: Save fetches a program that does answer.
  SelectListLine(Devices(), 8);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_SAVE)); }, 5000));
  ClickItem(librarian_, IDC_LIBRARIAN_SAVE);
  ASSERT_TRUE(WaitForDeviceLine(8, "09 Pr08"));
  ASSERT_TRUE(WaitUntil([&] { return ListLines(Bank()) == std::vector<std::string>{"Pr08"}; }, 5000));
  Pause(2500);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "one box for one lost answer";
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

// All (Ctrl held) into a bank that cannot be written (its file has gone):
// the first failed store ends the pass with one box, and the window is
// usable.
TEST_F(LibrarianWindowWine, AFailedBankWriteEndsAllWithOneBox) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true));
  ASSERT_TRUE(WaitForDeviceLine(0, "01 Pr00"));
  Pause(700);
  ASSERT_TRUE(DeleteFileA(bankPath_.c_str()));
  {
    CtrlHeld ctrl(librarian_);
    ASSERT_TRUE(
        WaitUntil([&] { return ItemText(librarian_, IDC_LIBRARIAN_UPDATE) == "<< All"; }, 5000));
    ClickItem(librarian_, IDC_LIBRARIAN_UPDATE);
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "File create failed");
    Screenshot(nullptr, "librarian_bank_write_failed");
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  }
  // The answers already on their way bring no further box.
  Pause(2000);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "one box for the whole pass";
  EXPECT_TRUE(IsEnabled(librarian_));
  EXPECT_TRUE(ListLines(Bank()).empty());
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(LibrarianWindowWine, CtrlPAndCtrlUOpenTheirDialogs) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true));
  ASSERT_TRUE(WaitForDeviceLine(0, "01 Pr00"));
  Pause(700);
  ASSERT_NO_FATAL_FAILURE(ExpectModuleShortcuts(program_, librarian_));
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

// Escape (the dialog's Cancel command) ends nothing: the librarian stays
// until its window is closed.
TEST_F(LibrarianWindowWine, EscapeEndsNothing) {
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true));
  ASSERT_TRUE(WaitForDeviceLine(0, "01 Pr00"));
  PressKey(VK_ESCAPE, false, librarian_);
  PostCommand(librarian_, IDCANCEL);
  Pause(1000);
  EXPECT_TRUE(program_.Running());
  EXPECT_TRUE(IsWindow(librarian_));
  EXPECT_TRUE(IsEnabled(librarian_));
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(LibrarianWindowWine, WithoutNameExtractionTheNameIsAskedForAndProgramsCanBeDeleted) {
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Test Synth.QvInstrument", DefinitionRecord(false)));
  ASSERT_NO_FATAL_FAILURE(EnterLibrarian(true));
  EXPECT_EQ(Item(librarian_, IDC_LIBRARIAN_UPDATE), nullptr);
  EXPECT_NE(Item(librarian_, IDC_LIBRARIAN_CLEAR_NAMES), nullptr);
  EXPECT_EQ(ItemText(librarian_, IDC_LIBRARIAN_SAVE), "<< Save As...");
  Pause(800);
  // The entry check's answer renames nothing and asks nothing.
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EXPECT_EQ(ListLines(Devices())[0], "01 <Unknown>");

  SelectListLine(Devices(), 3);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_SAVE)); }, 5000));
  ClickItem(librarian_, IDC_LIBRARIAN_SAVE);
  HWND saveAs = WaitForWindow({"#32770", "Save As...", program_.Id()}, 10000);
  ASSERT_NE(saveAs, nullptr);
  EXPECT_EQ(ItemText(saveAs, IDC_SAVEAS_NAME), "");
  SetItemText(saveAs, IDC_SAVEAS_NAME, "My Program");
  Screenshot(saveAs, "librarian_save_as");
  ClickItem(saveAs, IDOK);
  ASSERT_TRUE(WaitForDeviceLine(3, "04 My Program"));
  ASSERT_TRUE(
      WaitUntil([&] { return ListLines(Bank()) == std::vector<std::string>{"My Program"}; }, 5000));
  Bytes record = BankRecord(0);
  ASSERT_EQ(record.size(), 30u + kProgramSize);
  EXPECT_EQ(Bytes(record.begin() + 30, record.end()), ProgramData(3));

  // Delete asks first; No keeps the program, Yes frees its slot.
  SelectListLine(Bank(), 0);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_DELETE)); }, 5000));
  for (int answer : {IDNO, IDYES}) {
    ClickItem(librarian_, IDC_LIBRARIAN_DELETE);
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "Confirm Delete");
    EXPECT_EQ(box.text, "Are you sure you want to delete the program \"My Program\"?");
    ASSERT_TRUE(AnswerMessageBox(box, answer));
    Pause(300);
  }
  ASSERT_TRUE(WaitUntil([&] { return ListLines(Bank()).empty(); }, 5000));
  auto bank = ReadFileBytes(bankPath_);
  ASSERT_TRUE(bank.has_value());
  EXPECT_EQ((*bank)[4], 0) << "the slot is free again";

  // Clear names forgets the device names.
  ClickItem(librarian_, IDC_LIBRARIAN_CLEAR_NAMES);
  ASSERT_TRUE(WaitForDeviceLine(3, "04 <Unknown>"));
  Close(librarian_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

}  // namespace
}  // namespace qv::wine

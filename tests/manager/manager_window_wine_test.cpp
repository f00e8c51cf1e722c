// The manager window under Wine with the virtual MIDI devices, driven as a
// user drives it: receiving, the list lines, the hexadecimal editors, saving
// in each layout and opening again, sending with the pause, acknowledging,
// changing the input port, minimising, the switching labels and tooltips.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/manager/manager_wine_fixture.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kEditorTitle[] = "Create/Edit SysEx Message";
constexpr char kAckEditorTitle[] = "Create/Edit Acknowledgement Message";
constexpr int kHexField = 400;
constexpr int kEditorOk = 111;
constexpr int kEditorCancel = 301;
// The common file dialogs: file type list, file name box.
constexpr int kFileTypeList = 1136;
constexpr int kFileNameBox = 1148;
constexpr int kFileNameEdit = 1152;

Bytes Message(std::size_t length, std::uint8_t id, std::uint8_t seed) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 3 + seed) & 0x7F);
  m[0] = 0xF0;
  m[1] = id;
  m[length - 1] = 0xF7;
  return m;
}

Bytes Joined(const std::vector<Bytes>& parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes LengthTable(const std::vector<Bytes>& parts) {
  Bytes table;
  for (const Bytes& p : parts) {
    const auto n = static_cast<std::uint32_t>(p.size());
    for (int shift = 0; shift < 32; shift += 8) table.push_back(static_cast<std::uint8_t>(n >> shift));
  }
  return table;
}

class ManagerWindowWine : public ManagerWineTest {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    // Settings of a user who has been here before.
    ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "OutputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "BlocksPause", 20));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
    folder_ = TestDir() + "\\files";
    CreateDirectoryA(folder_.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*.syx").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }

  void TearDown() override {
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) ReleaseCtrl();
  }


  bool Deliver(const Bytes& bytes, const std::string& name) {
    const std::string path = TestDir() + "\\" + name;
    return WriteFileBytes(path, bytes) && SendMidiScript(program_.Id(), "deliver-file 0 " + path);
  }

  bool WaitForLines(std::size_t count) {
    return WaitUntil([&] { return Received().size() == count; }, 10000);
  }

  bool WaitForLabel(int id, const std::string& label) {
    return WaitUntil([&] { return ItemText(manager_, id) == label; }, 5000);
  }

  // A dialog of the program titled `title`.
  HWND WaitForDialog(const std::string& title) {
    return WaitForWindow({"#32770", title, program_.Id()}, 10000);
  }

  // The message editor opened by pressing Create/Edit.
  HWND OpenEditor() {
    ClickItem(manager_, IDC_MANAGER_CREATE);
    return WaitForDialog(kEditorTitle);
  }

  // Types characters into the editor's field as the keyboard would.
  void Type(HWND dialog, const std::string& text) {
    HWND field = Item(dialog, kHexField);
    SetText(field, "");
    for (char c : text) SendMessageW(field, WM_CHAR, static_cast<WPARAM>(c), 1);
  }

  void PressOk(HWND dialog) { ClickItem(dialog, kEditorOk); }

  // The program's message boxes; the editors, whose static text has the
  // same identifier as a box's, are no boxes.
  std::vector<MessageBoxInfo> Boxes() {
    std::vector<MessageBoxInfo> boxes;
    for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id())) {
      if (box.caption != kEditorTitle && box.caption != kAckEditorTitle) boxes.push_back(box);
    }
    return boxes;
  }

  // The message box the program shows next; checked and answered with OK.
  void ExpectBox(const std::string& caption, const std::string& text) {
    MessageBoxInfo box;
    WaitUntil(
        [&] {
          auto boxes = Boxes();
          if (!boxes.empty()) box = boxes.front();
          return !boxes.empty();
        },
        10000);
    ASSERT_TRUE(box) << "no box \"" << text << "\"";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  }

  void ExpectNoBox() {
    for (const MessageBoxInfo& box : Boxes()) {
      ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
    }
  }

  // Save As in the layout of filter `index` (1 to 3) to `name` in the folder.
  void SaveAs(int index, const std::string& name) {
    ClickItem(manager_, IDC_MANAGER_SAVE_AS);
    HWND dialog = WaitForDialog("Save As");
    ASSERT_NE(dialog, nullptr);
    // The dialog takes the file type when the choice is made final.
    HWND types = Item(dialog, kFileTypeList);
    SelectComboLine(types, index - 1);
    PostCommand(dialog, kFileTypeList, CBN_SELENDOK, types);
    Pause(200);
    // The name box is an edit inside a combo box (inside an extended combo
    // box in some versions of the dialog).
    HWND edit = nullptr;
    for (HWND box = Item(dialog, kFileNameBox); box != nullptr && edit == nullptr;
         box = FindWindowExW(box, nullptr, L"ComboBox", nullptr)) {
      edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    }
    if (edit == nullptr) edit = Item(dialog, kFileNameEdit);
    ASSERT_NE(edit, nullptr);
    SetText(edit, folder_ + "\\" + name);
    PostCommand(dialog, IDOK);
    ASSERT_TRUE(WaitForNoWindow({"#32770", "Save As", program_.Id()}, 10000));
  }

  // Selects the folder list's line and opens it with the plain "<< Open".
  void OpenListed(const std::string& line) {
    const auto lines = ListLines(FileList());
    int index = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] == line) index = static_cast<int>(i);
    }
    ASSERT_GE(index, 0) << "no line \"" << line << "\" in the folder list";
    SelectListLine(FileList(), index);
    ASSERT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open"));
    ClickItem(manager_, IDC_MANAGER_OPEN);
  }

  std::vector<MidiEvent> Events(const std::string& kind) { return MidiEvents(kind, program_.Id()); }

};

TEST_F(ManagerWindowWine, AUsersSessionFromReceivingToSending) {
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 2"));
  EXPECT_EQ(Text(manager_), "Brindlecote Kestrovallian 97");
  EXPECT_TRUE(Received().empty());
  EXPECT_TRUE(ListLines(FileList()).empty());

  // Three messages arrive, the first longer than 32,000 bytes.
  std::vector<Bytes> messages = {Message(40000, 0x42, 1), Message(12, 0x43, 2), Message(70, 0x41, 3)};
  ASSERT_TRUE(Deliver(messages[0], "one.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ASSERT_TRUE(Deliver(messages[1], "two.bin"));
  ASSERT_TRUE(WaitForLines(2));
  ASSERT_TRUE(Deliver(messages[2], "three.bin"));
  ASSERT_TRUE(WaitForLines(3));
  EXPECT_EQ(Received(), (std::vector<std::string>{"40000 bytes [Korg]", "12 bytes [Yamaha]",
                                                  "70 bytes [Roland]"}));

  // The second is edited: the field shows it in capitals.
  SelectListLine(MessageList(), 1);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  HWND editor = OpenEditor();
  ASSERT_NE(editor, nullptr);
  std::string shown;
  for (std::uint8_t b : messages[1]) {
    char pair[4];
    snprintf(pair, sizeof pair, "%02X ", b);
    shown += pair;
  }
  EXPECT_EQ(ItemText(editor, kHexField), shown);
  Type(editor, "f0 43 10 4c 00 00 7e 00 f7");
  EXPECT_EQ(ItemText(editor, kHexField), "F0 43 10 4C 00 00 7E 00 F7");
  Pause(300);
  Screenshot(editor, "manager_message_editor");
  PressOk(editor);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kEditorTitle, program_.Id()}));
  ExpectNoBox();
  messages[1] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  EXPECT_EQ(Received(), (std::vector<std::string>{"40000 bytes [Korg]", "9 user [Yamaha]",
                                                  "70 bytes [Roland]"}));
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp.syx"), std::optional<Bytes>(Joined(messages)));
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp.lst"), std::optional<Bytes>(LengthTable(messages)));
  EXPECT_FALSE(FileExists(TempDir() + "~tempbefore.syx"));
  EXPECT_FALSE(FileExists(TempDir() + "~tempafter.syx"));

  // A fourth is created: with a line selected, Ctrl turns Edit back into
  // Create, and Create with Ctrl adds at the end.
  SelectListLine(MessageList(), 0);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  HoldCtrl(manager_);
  if (!WaitForLabel(IDC_MANAGER_CREATE, "Create")) {
    ReleaseCtrl();
    FAIL() << "Ctrl did not turn Edit into Create";
  }
  Pause(500);  // the program's key state may lag behind the key message
  PostCommand(manager_, IDC_MANAGER_CREATE, BN_CLICKED, Item(manager_, IDC_MANAGER_CREATE));
  editor = WaitForDialog(kEditorTitle);
  ReleaseCtrl(editor);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ItemText(editor, kHexField), "");
  Type(editor, "f0 7e 00 06 01 f7");
  PressOk(editor);
  ASSERT_TRUE(WaitForLines(4));
  messages.push_back({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7});
  EXPECT_EQ(Received().back(), "6 user [7e]");
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp.syx"), std::optional<Bytes>(Joined(messages)));

  // Saved in the Kestrovallian layout: the store empties, the file is
  // listed and selected, and a second save has nothing to save.
  ASSERT_NO_FATAL_FAILURE(SaveAs(1, "kest.syx"));
  ASSERT_TRUE(WaitForLines(0));
  ExpectNoBox();
  EXPECT_EQ(ListLines(FileList()), std::vector<std::string>{"kest.syx"});
  ClickItem(manager_, IDC_MANAGER_SAVE_AS);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", "Nothing to save! First receive or create some sysex data."));
  auto kest = ReadFileBytes(folder_ + "\\kest.syx");
  ASSERT_TRUE(kest.has_value());
  EXPECT_EQ(std::string(kest->begin(), kest->begin() + 14), "Kestrovallian+");

  // Opened again from the folder list, then saved in the other two layouts.
  const std::vector<std::string> reopened = {"40000 bytes [Korg]", "9 bytes [Yamaha]",
                                             "70 bytes [Roland]", "6 bytes [7e]"};
  ASSERT_NO_FATAL_FAILURE(OpenListed("kest.syx"));
  ASSERT_TRUE(WaitForLines(4));
  EXPECT_EQ(Received(), reopened);
  ASSERT_NO_FATAL_FAILURE(SaveAs(2, "std.syx"));
  ASSERT_TRUE(WaitForLines(0));
  ASSERT_NO_FATAL_FAILURE(OpenListed("kest.syx"));
  ASSERT_TRUE(WaitForLines(4));
  ASSERT_NO_FATAL_FAILURE(SaveAs(3, "old.syx"));
  ASSERT_TRUE(WaitForLines(0));
  ExpectNoBox();
  EXPECT_EQ(ListLines(FileList()), (std::vector<std::string>{"kest.syx", "* std.syx", "- old.syx"}));
  EXPECT_EQ(ReadFileBytes(folder_ + "\\std.syx"), std::optional<Bytes>(Joined(messages)));

  ASSERT_NO_FATAL_FAILURE(OpenListed("* std.syx"));
  ASSERT_TRUE(WaitForLines(1));
  EXPECT_EQ(Received(), std::vector<std::string>{"40085 bytes [Korg]"});
  ASSERT_NO_FATAL_FAILURE(OpenListed("- old.syx"));
  ASSERT_TRUE(WaitForLines(4));
  EXPECT_EQ(Received(), reopened);

  // Sent with the pause: one long message per stored message, each after
  // the one before is done and 20 ms have passed.
  ClearMidiLog();
  ASSERT_NO_FATAL_FAILURE(OpenListed("kest.syx"));
  ASSERT_TRUE(WaitForLines(4));
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send"));
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.done", 4, program_.Id()));
  const auto sent = Events("out.long");
  const auto done = Events("out.done");
  ASSERT_EQ(sent.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(sent[i].Bytes(), messages[i]) << "block " << i;
  for (std::size_t i = 1; i < 4; ++i) EXPECT_GE(sent[i].t - done[i - 1].t, 19.5) << "block " << i;
  ExpectNoBox();

  // Ack on with a message of its own: received data is answered with it.
  EXPECT_EQ(CheckState(Item(manager_, IDC_MANAGER_ACK)), BST_UNCHECKED);
  ClickItem(manager_, IDC_MANAGER_ACK);
  HWND ack = WaitForDialog(kAckEditorTitle);
  ASSERT_NE(ack, nullptr);
  EXPECT_EQ(ItemText(ack, kHexField), "") << "ReceiptLength 0 opens empty";
  Type(ack, "f0 7e 7f 0c 01 f7");
  PressOk(ack);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kAckEditorTitle, program_.Id()}));
  EXPECT_TRUE(WaitUntil([&] { return CheckState(Item(manager_, IDC_MANAGER_ACK)) == BST_CHECKED; }, 5000));
  ClearMidiLog();
  ASSERT_TRUE(Deliver(Message(10, 0x42, 7), "four.bin"));
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  EXPECT_EQ(Events("out.long")[0].Bytes(), (Bytes{0xF0, 0x7E, 0x7F, 0x0C, 0x01, 0xF7}));
  ASSERT_TRUE(WaitForLines(5));

  // Another input port: the store empties.
  ClearMidiLog();
  SelectComboLine(Item(manager_, IDC_MANAGER_INPUT_PORT), 1);
  ASSERT_TRUE(WaitForLines(0));
  ASSERT_TRUE(WaitForMidiEvents("in.open", 1, program_.Id()));
  EXPECT_EQ(Events("in.open").back().Number("dev"), 1);
  EXPECT_EQ(Events("in.close").front().Number("dev"), 0);

  // Minimised, the window holds no device; restored, it has both again.
  ClearMidiLog();
  PostMessageW(manager_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(manager_) != FALSE; }, 5000));
  ASSERT_TRUE(WaitForMidiEvents("in.close", 1, program_.Id()));
  ASSERT_TRUE(WaitForMidiEvents("out.close", 1, program_.Id()));
  EXPECT_TRUE(Events("in.open").empty());
  PostMessageW(manager_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitForMidiEvents("in.open", 1, program_.Id()));
  ASSERT_TRUE(WaitForMidiEvents("out.open", 1, program_.Id()));
  EXPECT_EQ(Events("in.open")[0].Number("dev"), 1);
  EXPECT_FALSE(IsIconic(manager_));
  ExpectNoBox();

  EndProgram();
  EXPECT_EQ(ReadDword(kUserSettings, "AcknowledgeReceipt"), std::optional<DWORD>(1));
  EXPECT_EQ(ReadDword(kUserSettings, "ReceiptLength"), std::optional<DWORD>(6));
  EXPECT_EQ(ReadDword(kUserSettings, "InputPort"), std::optional<DWORD>(1));
}

TEST_F(ManagerWindowWine, TheMessageEditorRefusesWhatItCannotTake) {
  ASSERT_NO_FATAL_FAILURE(StartManager());
  const std::vector<Bytes> messages = {Message(20, 0x42, 1), Message(12000, 0x43, 2)};
  ASSERT_TRUE(Deliver(messages[0], "small.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ASSERT_TRUE(Deliver(messages[1], "large.bin"));
  ASSERT_TRUE(WaitForLines(2));

  // Without a selection: a new message.
  HWND editor = OpenEditor();
  ASSERT_NE(editor, nullptr);
  Type(editor, "F0 4");
  PressOk(editor);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Data entry error",
                                    "You must enter an exact number of hex pairs: eg 30 4F 2A, "
                                    "and not 8F 1E 4. Use '04' if necessary."));
  EXPECT_TRUE(IsWindow(editor));
  Type(editor, "    ");
  PressOk(editor);
  Pause(500);
  ExpectNoBox();
  EXPECT_TRUE(IsWindow(editor)) << "spaces only: nothing happens";
  Type(editor, "F0 43 1G F7");
  PressOk(editor);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Data entry error",
                                    "The hex data may consist only of 0123456789ABCDEF and spaces."));
  ClickItem(editor, kEditorCancel);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kEditorTitle, program_.Id()}));
  EXPECT_EQ(Received().size(), 2u);

  // A 12,000-byte message cannot be edited, and stays as it was.
  SelectListLine(MessageList(), 1);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  ClickItem(manager_, IDC_MANAGER_CREATE);
  ASSERT_NO_FATAL_FAILURE(ExpectBox(
      "Error", "Sorry; you can only edit sysex messages that are 10,000 bytes or less in length."));
  EXPECT_TRUE(WaitForNoWindow({"#32770", kEditorTitle, program_.Id()}, 3000));
  EXPECT_EQ(Received(), (std::vector<std::string>{"20 bytes [Korg]", "12000 bytes [Yamaha]"}));
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp.syx"), std::optional<Bytes>(Joined(messages)));

  // Typed in lower case, shown in capitals and accepted.
  SelectListLine(MessageList(), 0);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  DoubleClickListLine(MessageList(), 0);
  editor = WaitForDialog(kEditorTitle);
  ASSERT_NE(editor, nullptr);
  Type(editor, "f0 43 10 f7");
  EXPECT_EQ(ItemText(editor, kHexField), "F0 43 10 F7");
  PressOk(editor);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kEditorTitle, program_.Id()}));
  EXPECT_EQ(Received(), (std::vector<std::string>{"4 user [Yamaha]", "12000 bytes [Yamaha]"}));
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp.syx"),
            std::optional<Bytes>(Joined({{0xF0, 0x43, 0x10, 0xF7}, messages[1]})));
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowWine, TheAcknowledgementEditorKeepsTo512Bytes) {
  ASSERT_TRUE(WriteDword(kUserSettings, "ReceiptLength", 3));
  ASSERT_TRUE(WriteBinary(kUserSettings, "AcknowledgeMessage", Bytes(512, 0x11)));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ClickItem(manager_, IDC_MANAGER_ACK);
  HWND ack = WaitForDialog(kAckEditorTitle);
  ASSERT_NE(ack, nullptr);
  EXPECT_EQ(ItemText(ack, kHexField), "11 11 11 ");
  Pause(300);
  Screenshot(ack, "manager_acknowledgement_editor");
  SetItemText(ack, kHexField, std::string(1026, 'A'));  // 513 bytes
  PressOk(ack);
  ASSERT_NO_FATAL_FAILURE(ExpectBox(
      "Error", "Sorry; an acknowledgement message can hold at most 512 bytes.\n\nPlease shorten it."));
  EXPECT_TRUE(IsWindow(ack));
  SetItemText(ack, kHexField, std::string(1501, ' '));
  PressOk(ack);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error",
                                    "Sorry; you can only create acknowledgement messages that are "
                                    "1500 bytes or less when stored as text."));
  ClickItem(ack, kEditorCancel);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kAckEditorTitle, program_.Id()}));
  EXPECT_EQ(CheckState(Item(manager_, IDC_MANAGER_ACK)), BST_UNCHECKED) << "Cancel leaves Ack off";

  ClickItem(manager_, IDC_MANAGER_ACK);
  ack = WaitForDialog(kAckEditorTitle);
  ASSERT_NE(ack, nullptr);
  SetItemText(ack, kHexField, std::string(1024, 'B'));  // exactly 512 bytes
  PressOk(ack);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kAckEditorTitle, program_.Id()}));
  EXPECT_TRUE(WaitUntil([&] { return CheckState(Item(manager_, IDC_MANAGER_ACK)) == BST_CHECKED; }, 5000));
  // Pressed again, Ack goes off without asking.
  ClickItem(manager_, IDC_MANAGER_ACK);
  EXPECT_TRUE(WaitUntil([&] { return CheckState(Item(manager_, IDC_MANAGER_ACK)) == BST_UNCHECKED; }, 5000));
  ExpectNoBox();
  EndProgram();
  EXPECT_EQ(ReadDword(kUserSettings, "ReceiptLength"), std::optional<DWORD>(512));
  EXPECT_EQ(ReadDword(kUserSettings, "AcknowledgeReceipt"), std::optional<DWORD>(0));
  auto stored = ReadValue(kUserSettings, "AcknowledgeMessage");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->data, Bytes(512, 0xBB));
}

TEST_F(ManagerWindowWine, LabelsFollowTheSelectionsAndCtrl) {
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  const std::vector<Bytes> two = {Message(30, 0x42, 1), Message(40, 0x43, 2)};
  const std::string magic = "Kestrovallian+";
  Bytes file(14 + 100, 0);
  for (std::size_t i = 0; i < magic.size(); ++i) file[i] = static_cast<std::uint8_t>(magic[i]);
  file.push_back(2);
  file.push_back(0);
  for (std::uint8_t b : LengthTable(two)) file.push_back(b);
  for (std::uint8_t b : Joined(two)) file.push_back(b);
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\bank.syx", file));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ASSERT_TRUE(Deliver(Message(25, 0x41, 1), "one.bin"));
  ASSERT_TRUE(WaitForLines(1));
  Pause(300);

  // Nothing selected: the choosing forms; the remembered instrument makes
  // Librarian plain.
  EXPECT_EQ(ItemText(manager_, IDC_MANAGER_CREATE), "Create");
  EXPECT_EQ(ItemText(manager_, IDC_MANAGER_OPEN), "<< Open...");
  EXPECT_EQ(ItemText(manager_, IDC_MANAGER_SEND), "Send...");
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_LIBRARIAN, "Librarian"));
  Screenshot(manager_, "manager_window_no_selection");

  SelectListLine(MessageList(), 0);
  SelectListLine(FileList(), 0);
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open"));
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send"));
  Pause(300);
  Screenshot(manager_, "manager_window_selection");
  {
    CtrlHeld ctrl(manager_);
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Create"));
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open..."));
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send..."));
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_LIBRARIAN, "Librarian..."));
    Pause(300);
    Screenshot(manager_, "manager_window_ctrl_held");
  }
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_LIBRARIAN, "Librarian"));
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowWine, SendGoesAtOnceButAsksFirstWithCtrl) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\plain.syx", Message(50, 0x42, 4)));
  ASSERT_NO_FATAL_FAILURE(StartManager("done-delay 6000"));
  ASSERT_EQ(ListLines(FileList()), std::vector<std::string>{"* plain.syx"});
  ASSERT_TRUE(Deliver(Message(25, 0x41, 1), "one.bin"));
  ASSERT_TRUE(WaitForLines(1));
  SelectListLine(FileList(), 0);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send"));

  // With Ctrl the file dialog asks first; cancelled, nothing is sent.
  ClearMidiLog();
  HoldCtrl(manager_);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send..."));
  // Under Wine the program's asynchronous key state may lag behind the
  // key message that switched the label.
  Pause(500);
  // The button's command as a click sends it, without moving the focus:
  // under Wine a focus change may let the injected Ctrl go up.
  PostCommand(manager_, IDC_MANAGER_SEND, BN_CLICKED, Item(manager_, IDC_MANAGER_SEND));
  HWND dialog = WaitForDialog("Send");
  ReleaseCtrl(dialog);
  ASSERT_NE(dialog, nullptr);
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", "Send", program_.Id()}));
  Pause(500);
  EXPECT_TRUE(Events("out.long").empty());

  // Without, it goes at once; while its completion is outstanding a second
  // send is refused.
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send"));
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  EXPECT_EQ(Events("out.long")[0].Bytes(), Message(50, 0x42, 4));
  // Saving and deleting wait for the send too (the file could be the one
  // being sent); the folder and the store stay as they were.
  const std::string pleaseWait =
      "A file is being sent to the instrument.\n\nPlease wait until it has gone before you send, "
      "save or delete a file.";
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Please wait", pleaseWait));
  ClickItem(manager_, IDC_MANAGER_DELETE);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Please wait", pleaseWait));
  ClickItem(manager_, IDC_MANAGER_SAVE_AS);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Please wait", pleaseWait));
  EXPECT_TRUE(Events("out.done").empty()) << "the refusals came while the send was under way";
  EXPECT_EQ(ListLines(FileList()), std::vector<std::string>{"* plain.syx"});
  EXPECT_EQ(Received().size(), 1u);
  ASSERT_TRUE(WaitForMidiEvents("out.done", 1, program_.Id()));
  ASSERT_TRUE(SendMidiScript(program_.Id(), "done-delay 0"));
  Pause(300);
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 2, program_.Id()));
  ExpectNoBox();

  // A double-click on a file sends it as Send does.
  ASSERT_TRUE(WaitForMidiEvents("out.done", 2, program_.Id()));
  Pause(300);
  DoubleClickListLine(FileList(), 0);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 3, program_.Id()));
  EXPECT_EQ(Events("out.long")[2].Bytes(), Message(50, 0x42, 4));
  ExpectNoBox();

  // Delete without a selection.
  SendMessageW(FileList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(WaitForMidiEvents("out.done", 3, program_.Id()));
  Pause(300);
  ClickItem(manager_, IDC_MANAGER_DELETE);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", "You must select a file before you can delete it."));
  EndProgram();
}

TEST_F(ManagerWindowWine, OpenGoesAtOnceButAsksFirstWithCtrl) {
  const std::vector<Bytes> two = {Message(30, 0x42, 1), Message(40, 0x43, 2)};
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\two.syx", Joined(two)));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ASSERT_TRUE(Deliver(Message(25, 0x41, 1), "one.bin"));
  ASSERT_TRUE(WaitForLines(1));
  SelectListLine(FileList(), 0);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open"));

  // With Ctrl the file dialog asks first; cancelled, the store stays.
  HoldCtrl(manager_);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open..."));
  Pause(500);  // the program's key state may lag behind the key message
  PostCommand(manager_, IDC_MANAGER_OPEN, BN_CLICKED, Item(manager_, IDC_MANAGER_OPEN));
  HWND dialog = WaitForDialog("Open");
  ReleaseCtrl(dialog);
  ASSERT_NE(dialog, nullptr);
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", "Open", program_.Id()}));
  Pause(300);
  EXPECT_EQ(Received(), std::vector<std::string>{"25 bytes [Roland]"});

  // Without, the selected file replaces everything in the store.
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_OPEN, "<< Open"));
  ClickItem(manager_, IDC_MANAGER_OPEN);
  ASSERT_TRUE(WaitUntil([&] { return Received() == std::vector<std::string>{"70 bytes [Korg]"}; }, 5000))
      << "a standard file is one message";
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowWine, RestoredWhileTheOutputIsRefusedItGoesBackToAnIcon) {
  const std::string refused =
      "  Couldn't open MIDI output device.\nSome other program may be using it.   Close the "
      "other program and try again.";
  StartOptions options;
  options.fakeMidiConfig = "fail out.open 0 MMSYSERR_ALLOCATED";
  options.workingDir = folder_;
  program_ = Start(options);
  ASSERT_TRUE(program_.Started());
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", refused));
  manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id(), false}, 20000);
  ASSERT_NE(manager_, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(manager_) != FALSE; }, 5000));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  Pause(500);
  ExpectNoBox();  // one box for the refused output, not one more as the window first shows
  EXPECT_EQ(Events("out.open").size(), 1u);
  const auto opened = [&](const char* kind) {
    int open = 0;
    for (const MidiEvent& e : Events(std::string(kind) + ".open")) open += e.Field("result") == "0";
    open -= static_cast<int>(Events(std::string(kind) + ".close").size());
    return open;
  };
  EXPECT_TRUE(WaitUntil([&] { return opened("in") == 0; }, 5000)) << "an icon holds no input";

  // Restored while the output is still taken: its box again, and back to
  // an icon that holds nothing.
  PostMessageW(manager_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", refused));
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(manager_) != FALSE; }, 5000));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  // The icon's size notice, which releases the input, may come a moment
  // after the window shows as an icon.
  EXPECT_TRUE(WaitUntil([&] { return opened("in") == 0; }, 5000));
  EXPECT_EQ(opened("out"), 0);

  // Once the output is free, restoring takes both and the window stays.
  ASSERT_TRUE(SendMidiScript(program_.Id(), "unfail"));
  ClearMidiLog();
  PostMessageW(manager_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitForMidiEvents("out.open", 1, program_.Id()));
  ASSERT_TRUE(WaitForMidiEvents("in.open", 1, program_.Id()));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_EQ(opened("in"), 1);
  EXPECT_EQ(opened("out"), 1);
  EXPECT_FALSE(IsIconic(manager_));
  ExpectNoBox();
  EndProgram();
}

HWND ToolTipOf(DWORD pid, HWND owner) {
  for (HWND tip : FindWindows({"tooltips_class32", "", pid, false})) {
    if (GetWindow(tip, GW_OWNER) == owner) return tip;
  }
  return nullptr;
}

int ToolCount(DWORD pid, HWND owner) {
  HWND tip = ToolTipOf(pid, owner);
  if (tip == nullptr) return -1;  // no tooltip control
  return static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
}

// The tools of the window's tooltip control: control identifier -> text.
// The tool records are read through memory of the program's own, since the
// tooltip messages carry pointers that are not carried across processes.
std::map<int, std::string> ToolTexts(DWORD pid, HWND owner) {
  std::map<int, std::string> texts;
  HWND tip = ToolTipOf(pid, owner);
  if (tip == nullptr) return texts;
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return texts;
  constexpr SIZE_T kTextChars = 256;
  const SIZE_T size = sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t);
  auto* remote = static_cast<std::uint8_t*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote != nullptr) {
    auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
    const int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.lpszText = remoteText;
      const wchar_t none = 0;
      if (!WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr) ||
          !WriteProcessMemory(process, remoteText, &none, sizeof none, nullptr) ||
          !SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote))) {
        continue;
      }
      wchar_t text[kTextChars] = {};
      if (!ReadProcessMemory(process, remote, &tool, sizeof tool, nullptr) ||
          !ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr)) {
        continue;
      }
      const int id = (tool.uFlags & TTF_IDISHWND) != 0
                         ? GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId))
                         : -1 - static_cast<int>(tool.uId);
      texts[id] = Utf8(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return texts;
}

const std::map<int, std::string> kLevelOneTools = {
    {IDC_MANAGER_INPUT_PORT, "Choose MIDI port that will receive data"},
    {IDC_MANAGER_OUTPUT_PORT, "Choose MIDI port to send data with"},
    {IDC_MANAGER_SAVE_AS, "Save all the above data"},
    {IDC_MANAGER_CLEAR, "Clear all the above data"},
    {IDC_MANAGER_DELETE, "Delete selected file from disk"},
    {IDC_MANAGER_HELP, "Click for help and useful advice"},
    {IDC_MANAGER_CREATE, "Create new sysex message from user input"},
    {IDC_MANAGER_ACK, "Transmit acknowledging message on receipt of data"},
    {IDC_MANAGER_ABOUT, "Show program information"},
    {IDC_MANAGER_OPEN, "Choose a file from disk to open into memory"},
    {IDC_MANAGER_SEND, "Choose a file from disk to send to instrument"},
    {IDC_MANAGER_LIBRARIAN, "Choose instrument settings and enter librarian"},
};

TEST_F(ManagerWindowWine, TooltipLevelsChooseTheTools) {
  std::map<int, std::string> levelTwoTools = kLevelOneTools;
  levelTwoTools[IDC_MANAGER_FILE_LIST] = "Lists files on disk, in the current folder";
  levelTwoTools[IDC_MANAGER_MESSAGE_LIST] = "Lists data in memory";
  const struct {
    DWORD level;
    int tools;
    std::map<int, std::string> texts;
  } levels[] = {{0, -1, {}}, {1, 12, kLevelOneTools}, {2, 14, levelTwoTools}};
  for (const auto& level : levels) {
    SCOPED_TRACE(::testing::Message() << "ToolTips " << level.level);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", level.level));
    ASSERT_NO_FATAL_FAILURE(StartManager());
    EXPECT_EQ(ToolCount(program_.Id(), manager_), level.tools);
    EXPECT_EQ(ToolTexts(program_.Id(), manager_), level.texts);
    if (level.level == 1) {
      // Level 1 shows its tips after a fixed second.
      HWND tip = ToolTipOf(program_.Id(), manager_);
      EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1000);
      EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
    }
    EndProgram();
  }
}

TEST_F(ManagerWindowWine, TooltipsFollowTheLabels) {
  ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 2));
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\plain.syx", Message(50, 0x42, 4)));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ASSERT_TRUE(Deliver(Message(25, 0x41, 1), "one.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_LIBRARIAN, "Librarian"));
  const auto tip = [&](int id) { return ToolTexts(program_.Id(), manager_)[id]; };
  EXPECT_EQ(tip(IDC_MANAGER_LIBRARIAN), "Enter librarian (+CTRL...)");
  EXPECT_EQ(tip(IDC_MANAGER_CREATE), "Create new sysex message from user input");

  SelectListLine(MessageList(), 0);
  SelectListLine(FileList(), 0);
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  ASSERT_TRUE(WaitForLabel(IDC_MANAGER_SEND, "Send"));
  EXPECT_EQ(tip(IDC_MANAGER_CREATE), "Edit selected sysex message (+CTRL...)");
  EXPECT_EQ(tip(IDC_MANAGER_OPEN), "Open selected file into memory (+CTRL...)");
  EXPECT_EQ(tip(IDC_MANAGER_SEND), "Send selected file to instrument (+CTRL...)");
  {
    CtrlHeld ctrl(manager_);
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Create"));
    EXPECT_TRUE(WaitForLabel(IDC_MANAGER_LIBRARIAN, "Librarian..."));
    const auto texts = ToolTexts(program_.Id(), manager_);
    for (int id : {IDC_MANAGER_CREATE, IDC_MANAGER_OPEN, IDC_MANAGER_SEND, IDC_MANAGER_LIBRARIAN}) {
      EXPECT_EQ(texts.at(id), kLevelOneTools.at(id)) << "control " << id;
    }
  }
  // Clear takes the selection away with the messages.
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Edit"));
  ClickItem(manager_, IDC_MANAGER_CLEAR);
  ASSERT_TRUE(WaitForLines(0));
  EXPECT_TRUE(WaitForLabel(IDC_MANAGER_CREATE, "Create"));
  EXPECT_EQ(tip(IDC_MANAGER_CREATE), "Create new sysex message from user input");
  EXPECT_EQ(tip(IDC_MANAGER_SEND), "Send selected file to instrument (+CTRL...)");
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowWine, FirstOpeningLeavesTheManagersMarker) {
  DeleteValue(kMachineSettings, "FirstTime0");
  ASSERT_NO_FATAL_FAILURE(StartManager());
  EXPECT_TRUE(WaitUntil([] { return ValueExists(kMachineSettings, "FirstTime0"); }, 5000));
  EXPECT_EQ(ReadDword(kMachineSettings, "FirstTime0"), std::optional<DWORD>(1));
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowWine, AboutBoxNamesTheManager) {
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ClickItem(manager_, IDC_MANAGER_ABOUT);
  HWND about = WaitForDialog("About Qv Kestrovallian 97");
  ASSERT_NE(about, nullptr);
  Pause(300);
  Screenshot(about, "manager_about");
  ClickItem(about, 300);
  EXPECT_TRUE(WaitForNoWindow({"#32770", "About Qv Kestrovallian 97", program_.Id()}));
  EndProgram();
}

TEST_F(ManagerWindowWine, LibrarianButtonGivesTheFirstUseAdviceOnceThenTheDefinitionDialog) {
  ASSERT_TRUE(DeleteValue(kMachineSettings, "FirstTime1"));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ClickItem(manager_, IDC_MANAGER_LIBRARIAN);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "New user information");
  EXPECT_EQ(box.text,
            "This seems to be the first time you've tried to enter the librarian, so here's some "
            "advice.\n\nProbably, your particular instrument(s) won't have instrument definitions "
            "yet. However, just because they're not included in this distribution doesn't mean "
            "they haven't been written. Be sure to check the Brindlecote web page "
            "(http://www.brindlecote.example/quillon/) in case your one is there to "
            "download.\n\nFailing that, you can try to define your own instrument, which might be "
            "a bit difficult. See the help file for more details.\n\nIf you don't think you're "
            "capable of creating a definition yourself, you can send me some photocopies of your "
            "instrument manual and I'll have a go. Again, see the help file for more information.");
  EXPECT_EQ(box.owner, manager_);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_TRUE(ValueExists(kMachineSettings, "FirstTime1"));
  // Then the definition dialog; cancelling it stays in the manager, and the
  // advice is not given a second time.
  HWND options = WaitForWindow({"#32770", "Librarian options", program_.Id()}, 10000);
  ASSERT_NE(options, nullptr);
  PostCommand(options, IDCANCEL);
  EXPECT_TRUE(WaitForNoWindow({"#32770", "Librarian options", program_.Id()}));
  EXPECT_TRUE(IsWindow(manager_)) << "a cancelled definition dialog leaves the manager open";
  ClickItem(manager_, IDC_MANAGER_LIBRARIAN);
  options = WaitForWindow({"#32770", "Librarian options", program_.Id()}, 10000);
  ASSERT_NE(options, nullptr) << "the second time the dialog comes at once";
  for (const MessageBoxInfo& other : FindMessageBoxes(program_.Id()))
    EXPECT_NE(other.caption, "New user information");
  PostCommand(options, IDCANCEL);
  EXPECT_TRUE(WaitForNoWindow({"#32770", "Librarian options", program_.Id()}));
  EndProgram();
}

}  // namespace
}  // namespace qv::wine

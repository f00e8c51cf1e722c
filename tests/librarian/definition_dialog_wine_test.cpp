// The "Librarian options" dialog under Wine, opened from the manager's
// Librarian button: the list of definitions, the checks of OK, rewriting a
// listed definition in place, a new definition saved under a chosen name,
// and Cancel back to the manager.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr char kDialogTitle[] = "Librarian options";
constexpr char kLibrarianTitleEnd[] = " - Brindlecote Program Librarian";
constexpr int kFileNameBox = 1148;
constexpr int kFileNameEdit = 1152;
constexpr size_t kRecordSize = 2048;

void PutNumber(std::vector<uint8_t>& record, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) record[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}
int32_t GetNumber(const std::vector<uint8_t>& record, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(record[at + i]) << (8 * i);
  return static_cast<int32_t>(v);
}
std::string GetText(const std::vector<uint8_t>& record, size_t at, size_t size) {
  std::string text;
  for (size_t i = at; i < at + size && record[i] != 0; ++i) text += static_cast<char>(record[i]);
  return text;
}

// A definition record: channel, range, program size and the two strings,
// with a device-line tail of one line behind it.
std::vector<uint8_t> DefinitionFile(int channel, int32_t programSize, const char* request) {
  std::vector<uint8_t> file(kRecordSize, 0);
  PutNumber(file, 0, channel);
  PutNumber(file, 8, 99);
  PutNumber(file, 16, programSize);
  PutNumber(file, 28, 7);  // a port the fake devices do not have
  std::memcpy(file.data() + 36, request, std::strlen(request));
  std::memcpy(file.data() + 486, "F0 42 3! 19 40 % F7", 19);
  std::memcpy(file.data() + 936, "10 11 ", 6);
  std::memcpy(file.data() + 1036, "Notes", 5);
  // The tail: a count of 1 and one 30-byte line.
  std::vector<uint8_t> tail(4 + 30, 0);
  PutNumber(tail, 0, 1);
  std::memcpy(tail.data() + 4, "Piano", 5);
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

class DefinitionDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
    RemoveDefinitions();
    m1Path_ = BinDir() + "\\Korg M1.QvInstrument";
    ASSERT_TRUE(WriteFileBytes(m1Path_, DefinitionFile(1, 170, "F0 42 3! 19 10 F7")));
    // An empty bank for the librarian to open.
    std::vector<uint8_t> bank(4 + 32000, 0);
    PutNumber(bank, 0, 170);
    ASSERT_TRUE(WriteFileBytes(bankPath_, bank));
  }
  void TearDown() override {
    if (program_.Running()) program_.Kill();
    RemoveDefinitions();
    DeleteFileA(bankPath_.c_str());
  }
  void RemoveDefinitions() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((BinDir() + "\\*.QvInstrument").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((BinDir() + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
  }

  // Starts the program to its first module window (the manager, unless a
  // remembered definition enters the librarian at once).
  HWND StartManager(const std::string& midiConfig) {
    StartOptions options;
    options.fakeMidiConfig = midiConfig;
    program_ = Start(options);
    if (!program_.Started()) return nullptr;
    manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
    return manager_;
  }

  // Starts the manager and opens the dialog with its Librarian button.
  HWND OpenDialog(const std::string& midiConfig = "") {
    if (StartManager(midiConfig) == nullptr) return nullptr;
    PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
    return WaitForWindow({"#32770", kDialogTitle, program_.Id()}, 10000);
  }

  void ExpectBox(HWND dialog, const std::string& text, const std::string& caption) {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000, dialog);
    ASSERT_TRUE(box) << "no box \"" << text << "\"";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  }

  HWND WaitForLibrarian() {
    HWND librarian = nullptr;
    WaitUntil(
        [&] {
          librarian = FindTopWindow({"Qv_SysEx", "", program_.Id()});
          const std::string title = librarian ? Text(librarian) : "";
          return title.size() > std::strlen(kLibrarianTitleEnd) &&
                 title.compare(title.size() - std::strlen(kLibrarianTitleEnd), std::string::npos,
                               kLibrarianTitleEnd) == 0;
        },
        20000);
    return librarian;
  }

  void Finish(HWND window) {
    Close(window);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }

  Program program_;
  HWND manager_ = nullptr;
  std::string m1Path_;
  std::string bankPath_ = BinDir() + "\\Definition dialog test.QvBank";
};

TEST_F(DefinitionDialog, ShowsTheListedDefinitionAndCancelReturnsToTheManager) {
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsEnabled(manager_)) << "the dialog is modal to the manager";
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  EXPECT_EQ(ComboLines(model), (std::vector<std::string>{"Korg M1", "Define new instrument"}));
  EXPECT_EQ(ComboSelection(model), 0);
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_CHANNEL), "1");
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_PROGRAM_SIZE), "170");
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_LOWEST), "0");
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_HIGHEST), "99");
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_REQUEST), "F0 42 3! 19 10 F7");
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_NOTES), "Notes");
  EXPECT_EQ(ComboSelection(Item(dialog, IDC_DEFINITION_INPUT_PORT)), 0) << "port 7 is not listed";
  EXPECT_FALSE(IsEnabled(Item(dialog, IDC_DEFINITION_NAME_OFFSETS))) << "name extraction is off";
  Pause(300);
  Screenshot(dialog, "definition_dialog");
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  EXPECT_TRUE(IsWindow(manager_));
  EXPECT_TRUE(IsEnabled(manager_));
  EXPECT_EQ(ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>()), DefinitionFile(1, 170, "F0 42 3! 19 10 F7")) << "nothing written";
  Close(manager_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

// Port names run longer than the dialog's narrow port lists: each list opens
// wide enough to show its longest name whole.
TEST_F(DefinitionDialog, PortListsOpenWideEnoughForTheirLongestNames) {
  HWND dialog = OpenDialog("input-name 0 Roland UM-ONE MIDI Interface In\n"
                           "output-name 0 Roland UM-ONE MIDI Interface Out\n");
  ASSERT_NE(dialog, nullptr);
  for (int id : {IDC_DEFINITION_INPUT_PORT, IDC_DEFINITION_OUTPUT_PORT}) {
    HWND list = Item(dialog, id);
    const std::vector<std::string> lines = ComboLines(list);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind("Roland UM-ONE MIDI Interface", 0), 0u) << lines.front();
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& line : lines) {
      const std::wstring text = Wide(line);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    RECT box;
    GetWindowRect(list, &box);
    ASSERT_GT(widest, box.right - box.left) << "the names fit the closed box: nothing to show";
    EXPECT_GE(SendMessageW(list, CB_GETDROPPEDWIDTH, 0, 0), widest + GetSystemMetrics(SM_CXVSCROLL));
  }
  // Opened by the mouse, as a user does, to look at it.
  HWND input = Item(dialog, IDC_DEFINITION_INPUT_PORT);
  SetForegroundWindow(dialog);
  RECT closed;
  GetWindowRect(input, &closed);
  SetCursorPos((closed.left + closed.right) / 2, (closed.top + closed.bottom) / 2);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
  Pause(500);
  EXPECT_TRUE(SendMessageW(input, CB_GETDROPPEDSTATE, 0, 0));
  Screenshot(dialog, "definition_dialog_port_list");
  SendMessageW(input, CB_SHOWDROPDOWN, FALSE, 0);
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  Close(manager_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(DefinitionDialog, RefusedFieldsKeepTheDialogThenAChannelChangeRewritesTheFileInPlace) {
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  struct Refusal {
    int id;
    const char* text;
    const char* message;
    const char* caption;
  } refusals[] = {
      {IDC_DEFINITION_CHANNEL, "17", "You must enter a channel between 1 and 16.",
       "Please correct your input"},
      {IDC_DEFINITION_CHANNEL, "", "You must enter a channel between 1 and 16.",
       "Please correct your input"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.text);
    SetItemText(dialog, r.id, r.text);
    PostCommand(dialog, IDOK);
    ASSERT_NO_FATAL_FAILURE(ExpectBox(dialog, r.message, r.caption));
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
  }
  SetItemText(dialog, IDC_DEFINITION_CHANNEL, "5");
  EXPECT_EQ(ComboSelection(Item(dialog, IDC_DEFINITION_MODEL)), 0)
      << "the channel does not make a new definition";
  PostCommand(dialog, IDOK);
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr) << "OK enters the librarian";
  EXPECT_EQ(Text(librarian), std::string("Korg M1") + kLibrarianTitleEnd);
  std::vector<uint8_t> file = ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>());
  ASSERT_EQ(file.size(), kRecordSize + 34) << "the device-line tail stays";
  EXPECT_EQ(GetNumber(file, 0), 5);
  EXPECT_EQ(GetNumber(file, 28), 0) << "the missing port is stored as the first";
  EXPECT_EQ(GetText(file, 936, 100), "10 11 ");
  Finish(librarian);
  EXPECT_EQ(ReadDword(kUserSettings, "LibrarianInstrument").value_or(99), 0u);
}

TEST_F(DefinitionDialog, EditedFieldMakesANewDefinitionSavedUnderAChosenName) {
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  SetItemText(dialog, IDC_DEFINITION_REQUEST, "F0 42 3! 19 10 F7 ");
  EXPECT_EQ(ComboSelection(model), 1) << "an edited field chooses \"Define new instrument\"";
  SetItemText(dialog, IDC_DEFINITION_SEND, "F0 4");
  PostCommand(dialog, IDOK);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000, dialog);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Please correct your input.");
  EXPECT_EQ(box.text.rfind("The program send string can include only valid hex digits", 0), 0u) << box.text;
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  SetItemText(dialog, IDC_DEFINITION_SEND, "F0 42 3! 19 40 % F7");
  SetItemText(dialog, IDC_DEFINITION_NAME_OFFSETS, "");
  PostCommand(dialog, IDOK);
  HWND save = WaitForWindow({"#32770", "Save As", program_.Id()}, 10000);
  ASSERT_NE(save, nullptr) << "a new definition asks for its file";
  HWND edit = nullptr;
  for (HWND box = Item(save, kFileNameBox); box != nullptr && edit == nullptr;
       box = FindWindowExW(box, nullptr, L"ComboBox", nullptr)) {
    edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  }
  if (edit == nullptr) edit = Item(save, kFileNameEdit);
  ASSERT_NE(edit, nullptr);
  SetText(edit, BinDir() + "\\Korg M1 copy.QvI");
  PostCommand(save, IDOK);
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr);
  EXPECT_EQ(Text(librarian), std::string("Korg M1 copy") + kLibrarianTitleEnd);
  std::vector<uint8_t> file = ReadFileBytes(BinDir() + "\\Korg M1 copy.QvInstrument").value_or(std::vector<uint8_t>());
  ASSERT_EQ(file.size(), kRecordSize);
  EXPECT_EQ(GetText(file, 36, 450), "F0 42 3! 19 10 F7 ");
  EXPECT_EQ(GetText(file, 936, 100), " ") << "empty name offsets are stored as one space";
  EXPECT_EQ(ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>()), DefinitionFile(1, 170, "F0 42 3! 19 10 F7")) << "the listed one stays";
  Finish(librarian);
}

// A fake instrument that answers both test definitions' requests with a
// 170-byte program, so that the librarian's entry check passes.
std::string AnsweringInstrument() {
  std::vector<uint8_t> answer(170, 0x01);
  answer.front() = 0xF0;
  answer.back() = 0xF7;
  return "respond 0 0 5 F0 42 30 19 10 F7 => " + HexText(answer) + "\n" +
         "respond 0 0 5 F0 7C 30 F7 => " + HexText(answer) + "\n";
}

// The request the librarian sends once Save is pressed on device line 0.
std::vector<uint8_t> RequestOfSave(const Program& program, HWND librarian) {
  ClearMidiLog();
  SelectListLine(Item(librarian, IDC_LIBRARIAN_DEVICE_LIST), 0);
  WaitUntil([&] { return IsEnabled(Item(librarian, IDC_LIBRARIAN_SAVE)); }, 5000);
  Screenshot(librarian, "definition_cancelled_librarian");
  ClickItem(librarian, IDC_LIBRARIAN_SAVE);
  if (!WaitForMidiEvents("out.long", 1, program.Id())) return {};
  std::vector<uint8_t> sent = MidiEvents("out.long", program.Id())[0].Bytes();
  // The answer opens the name dialog: cancelled, nothing is stored.
  HWND saveAs = WaitForWindow({"#32770", "Save As...", program.Id()}, 10000);
  if (saveAs != nullptr) PostCommand(saveAs, IDCANCEL);
  WaitForNoWindow({"#32770", "Save As...", program.Id()}, 5000);
  return sent;
}

// The dialog opened by the librarian's "Instrument..." (Manager with Ctrl).
HWND DialogFromLibrarian(const Program& program, HWND librarian) {
  CtrlHeld ctrl(librarian);
  if (!WaitUntil([&] { return ItemText(librarian, IDC_LIBRARIAN_MANAGER) == "Instrument..."; },
                 5000)) {
    return nullptr;
  }
  ClickItem(librarian, IDC_LIBRARIAN_MANAGER);
  return WaitForWindow({"#32770", kDialogTitle, program.Id()}, 10000);
}

// From the librarian ("Instrument..."), another listed definition chosen
// and the dialog cancelled: the librarian goes on with its own definition
// and, on closing, writes its device lines into its own file only.
TEST_F(DefinitionDialog, CancelFromTheLibrarianKeepsItsDefinition) {
  const std::string otherPath = BinDir() + "\\Other synth.QvInstrument";
  const std::vector<uint8_t> other = DefinitionFile(1, 170, "F0 7C 3! F7");
  ASSERT_TRUE(WriteFileBytes(otherPath, other));
  // Enter the one at position 0 at once; find out which it is.
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  ASSERT_NE(StartManager(AnsweringInstrument()), nullptr);
  PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr);
  const bool m1First = Text(librarian) == std::string("Korg M1") + kLibrarianTitleEnd;
  const std::string shownTitle = Text(librarian);
  const std::vector<uint8_t> ownRequest =
      m1First ? std::vector<uint8_t>{0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7}
              : std::vector<uint8_t>{0xF0, 0x7C, 0x30, 0xF7};
  const std::string otherFile = m1First ? otherPath : m1Path_;
  const std::vector<uint8_t> otherBytes = ReadFileBytes(otherFile).value_or(std::vector<uint8_t>());
  Pause(800);
  ASSERT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "the instrument answered";

  HWND dialog = DialogFromLibrarian(program_, librarian);
  ASSERT_NE(dialog, nullptr);
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  ASSERT_EQ(ComboSelection(model), 0);
  SelectComboLine(model, 1);
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DEFINITION_REQUEST) !=
                                      std::string(ownRequest.size() == 6 ? "F0 42 3! 19 10 F7" : "F0 7C 3! F7"); },
                        5000));
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  EXPECT_EQ(Text(librarian), shownTitle);
  EXPECT_EQ(RequestOfSave(program_, librarian), ownRequest) << "the librarian's own request string";
  Finish(librarian);
  EXPECT_EQ(ReadFileBytes(otherFile).value_or(std::vector<uint8_t>()), otherBytes)
      << "the other definition's file is not written";
  EXPECT_EQ(ReadDword(kUserSettings, "LibrarianInstrument").value_or(99), 0u);
}

// A definition opened from outside the program folder: the dialog starts
// at position 0 and loads the folder's first definition; Cancel leaves the
// outside one in place and the folder's file untouched.
TEST_F(DefinitionDialog, CancelAfterAnOutsideDefinitionKeepsIt) {
  const std::string outside = TestDir() + "\\Outside synth.QvInstrument";
  std::vector<uint8_t> outsideFile = DefinitionFile(1, 170, "F0 7C 3! F7");
  PutNumber(outsideFile, 28, 0);  // ports the fake devices have
  ASSERT_TRUE(WriteFileBytes(outside, outsideFile));
  const std::vector<uint8_t> m1Bytes = ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>());
  StartOptions options;
  options.arguments = "/librarian " + outside;
  options.fakeMidiConfig = AnsweringInstrument();
  program_ = Start(options);
  ASSERT_TRUE(program_.Started());
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr);
  ASSERT_EQ(Text(librarian), std::string("Outside synth") + kLibrarianTitleEnd);
  Pause(800);
  ASSERT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "the instrument answered";
  HWND dialog = DialogFromLibrarian(program_, librarian);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboSelection(Item(dialog, IDC_DEFINITION_MODEL)), 0);
  EXPECT_EQ(ItemText(dialog, IDC_DEFINITION_REQUEST), "F0 42 3! 19 10 F7") << "Korg M1 is shown";
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  EXPECT_EQ(Text(librarian), std::string("Outside synth") + kLibrarianTitleEnd);
  EXPECT_EQ(RequestOfSave(program_, librarian), (std::vector<uint8_t>{0xF0, 0x7C, 0x30, 0xF7}));
  Finish(librarian);
  EXPECT_EQ(ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>()), m1Bytes)
      << "Korg M1's file is not written";
}

// From the manager: another definition chosen, then Cancel; the manager
// stays, and its Librarian button later enters the remembered definition
// with no file written.
TEST_F(DefinitionDialog, CancelFromTheManagerKeepsTheRememberedDefinition) {
  const std::string otherPath = BinDir() + "\\Other synth.QvInstrument";
  const std::vector<uint8_t> other = DefinitionFile(1, 170, "F0 7C 3! F7");
  ASSERT_TRUE(WriteFileBytes(otherPath, other));
  const std::vector<uint8_t> m1Bytes = ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>());
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 1));
  ASSERT_NE(StartManager(AnsweringInstrument()), nullptr);
  HWND dialog = nullptr;
  {
    // Ctrl held: the remembered definition is not entered at once.
    CtrlHeld ctrl(manager_);
    Pause(500);
    PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
    dialog = WaitForWindow({"#32770", kDialogTitle, program_.Id()}, 10000);
  }
  ASSERT_NE(dialog, nullptr);
  HWND model = Item(dialog, IDC_DEFINITION_MODEL);
  ASSERT_EQ(ComboSelection(model), 1);
  const std::string remembered = ComboLines(model)[1];
  SelectComboLine(model, 0);
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  EXPECT_TRUE(IsEnabled(manager_));
  PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr);
  EXPECT_EQ(Text(librarian), remembered + kLibrarianTitleEnd);
  EXPECT_EQ(ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>()), m1Bytes);
  EXPECT_EQ(ReadFileBytes(otherPath).value_or(std::vector<uint8_t>()), other);
  Close(librarian);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

// The dialog's own tooltip control: the 1000 ms automatic delay at level 1
// only; at level 2 the control keeps the system's delays.
TEST_F(DefinitionDialog, TooltipDelayIsSetAtLevelOneOnly) {
  for (DWORD level : {1u, 2u}) {
    SCOPED_TRACE(level);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", level));
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND tips = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (HWND w : FindWindows({"tooltips_class32", "", program_.Id(), false}))
            if (GetWindow(w, GW_OWNER) == dialog) tips = w;
          return tips != nullptr;
        },
        5000));
    const LRESULT initial = SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    if (level == 1) {
      EXPECT_EQ(initial, 1000);
    } else {
      EXPECT_EQ(initial, static_cast<LRESULT>(GetDoubleClickTime()));
    }
    PostCommand(dialog, IDCANCEL);
    ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
    Close(manager_);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }
}

// A definition file cut short with numbers the dialog would refuse (the
// lowest program 2,147,483,647): refused as damaged when the remembered
// definition is entered, and the dialog stays usable instead of opening a
// librarian whose entry pass never ends.
TEST_F(DefinitionDialog, AHostileDefinitionIsRefusedAsDamaged) {
  RemoveDefinitions();
  const std::string path = BinDir() + "\\Cut.QvInstrument";
  ASSERT_TRUE(WriteFileBytes(path, {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f, 0x00,
                                    0x00, 0x00, 0xff, 0xff, 0x0f, 0x00, 0x5b, 0x5d, 0x5d,
                                    0x00, 0xff, 0x0f, 0x00, 0x5b, 0x5d, 0x5d}));
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  program_ = Start(StartOptions{});
  ASSERT_TRUE(program_.Started());
  manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
  ASSERT_NE(manager_, nullptr);
  PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Damaged file");
  EXPECT_EQ(box.text.rfind("The file \"" + path + "\" is damaged: ", 0), 0u) << box.text;
  Screenshot(nullptr, "definition_damaged");
  EXPECT_EQ(Text(box.owner), kDialogTitle) << "owned by the dialog";
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  HWND dialog = WaitForWindow({"#32770", kDialogTitle, program_.Id()}, 10000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboSelection(Item(dialog, IDC_DEFINITION_MODEL)), 1) << "Define new instrument";
  EXPECT_EQ(FindTopWindow({"Qv_SysEx", "", program_.Id()}), manager_) << "no librarian";
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", kDialogTitle, program_.Id()}, 10000));
  EXPECT_TRUE(WaitUntil([&] { return IsEnabled(manager_); }, 5000));
  EXPECT_EQ(ReadFileBytes(path).value_or(std::vector<uint8_t>()).size(), 25u) << "not written";
  Close(manager_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(DefinitionDialog, RememberedDefinitionIsEnteredAtOnce) {
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  program_ = Start(StartOptions{});
  ASSERT_TRUE(program_.Started());
  manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
  ASSERT_NE(manager_, nullptr);
  PostCommand(manager_, IDC_MANAGER_LIBRARIAN);
  HWND librarian = WaitForLibrarian();
  ASSERT_NE(librarian, nullptr);
  EXPECT_EQ(Text(librarian), std::string("Korg M1") + kLibrarianTitleEnd);
  EXPECT_EQ(FindTopWindow({"#32770", kDialogTitle, program_.Id()}), nullptr);
  EXPECT_EQ(ReadFileBytes(m1Path_).value_or(std::vector<uint8_t>()), DefinitionFile(1, 170, "F0 42 3! 19 10 F7")) << "nothing written";
  Finish(librarian);
}

}  // namespace
}  // namespace qv::wine

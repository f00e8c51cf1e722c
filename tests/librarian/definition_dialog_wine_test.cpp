// The "Librarian options" dialog under Wine, opened from the manager's
// Librarian button: the list of definitions, the checks of OK, rewriting a
// listed definition in place, a new definition saved under a chosen name,
// and Cancel back to the manager.
#include <windows.h>

#include <gtest/gtest.h>

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

  // Starts the manager and opens the dialog with its Librarian button.
  HWND OpenDialog() {
    program_ = Start(StartOptions{});
    if (!program_.Started()) return nullptr;
    manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
    if (manager_ == nullptr) return nullptr;
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
    PostCommand(window, IDCANCEL);
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

// The manager's file dialogs under Wine, driven as a user drives them: the
// open dialog that lists the chosen file's folder and opens the file, the
// Save As dialog with its three layouts and the remembered choice, a save
// whose target cannot be written, and the delete question with its answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/manager/manager_wine_fixture.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The common file dialogs: file type list, file name box and its edit.
constexpr int kFileTypeList = 1136;
constexpr int kFileNameBox = 1148;
constexpr int kFileNameEdit = 1152;

Bytes Message(std::size_t length, std::uint8_t id, std::uint8_t seed) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 11 + seed) & 0x7F);
  m[0] = 0xF0;
  m[1] = id;
  m[length - 1] = 0xF7;
  return m;
}

void Append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

void AppendLe(Bytes& to, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A file of one of the two layouts with a count and a length table.
Bytes KestrovallianFile(const char* magic, const std::string& name, const std::vector<Bytes>& parts) {
  Bytes file(magic, magic + 14);
  Bytes field(100, 0);
  std::memcpy(field.data(), name.data(), std::min<std::size_t>(name.size(), 100));
  Append(file, field);
  AppendLe(file, static_cast<std::uint32_t>(parts.size()), 2);
  for (const Bytes& p : parts) AppendLe(file, static_cast<std::uint32_t>(p.size()), 4);
  for (const Bytes& p : parts) Append(file, p);
  return file;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Holds a file open without sharing it, as another program might: it can
// be neither written nor deleted meanwhile.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~LockedFile() { Release(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class SyxFileDialogs : public ManagerWineTest {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    // Settings of a user who has been here before.
    ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "OutputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
    folder_ = TestDir() + "\\dialogs";
    other_ = folder_ + "\\other";
    for (const std::string& f : {folder_, other_}) {
      CreateDirectoryA(f.c_str(), nullptr);
      EmptyFolder(f);
    }
  }

  static void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.syx").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }

  std::string SelectedFile() const {
    const int selection = ListSelection(FileList());
    return selection < 0 ? std::string() : Files().at(static_cast<std::size_t>(selection));
  }

  bool Deliver(const Bytes& bytes, const std::string& name) {
    const std::string path = TestDir() + "\\" + name;
    return WriteFileBytes(path, bytes) && SendMidiScript(program_.Id(), "deliver-file 0 " + path);
  }

  bool WaitForLines(std::size_t count) {
    return WaitUntil([&] { return Received().size() == count; }, 10000);
  }

  HWND WaitForDialog(const std::string& title) {
    return WaitForWindow({"#32770", title, program_.Id()}, 10000);
  }

  bool DialogGone(const std::string& title) {
    return WaitForNoWindow({"#32770", title, program_.Id()}, 10000);
  }

  // The next message box of the program.
  MessageBoxInfo NextBox(HWND owner = nullptr) {
    return WaitForMessageBox(program_.Id(), 10000, owner);
  }

  void ExpectNoBox() {
    Pause(300);
    for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id())) {
      ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
    }
  }

  // Deselects the folder list, so that Open and Send ask with the dialog.
  void DeselectFiles() {
    SendMessageW(FileList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_EQ(ListSelection(FileList()), -1);
  }

  // Types a path into a file dialog's name box and presses its OK button.
  static void ChooseInDialog(HWND dialog, const std::string& path) {
    // The name box is an edit inside a combo box (inside an extended combo
    // box in some versions of the dialog).
    HWND edit = nullptr;
    for (HWND box = Item(dialog, kFileNameBox); box != nullptr && edit == nullptr;
         box = FindWindowExW(box, nullptr, L"ComboBox", nullptr)) {
      edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    }
    if (edit == nullptr) edit = Item(dialog, kFileNameEdit);
    ASSERT_NE(edit, nullptr);
    SetText(edit, path);
    PostCommand(dialog, IDOK);
  }

  // Save As up to the point where the dialog is answered: the layout of
  // filter `index` (1 to 3) and the path typed.
  HWND SaveAsTo(int index, const std::string& path) {
    ClickItem(manager_, IDC_MANAGER_SAVE_AS);
    HWND dialog = WaitForDialog("Save As");
    if (dialog == nullptr) return nullptr;
    // The dialog takes the file type when the choice is made final.
    HWND types = Item(dialog, kFileTypeList);
    SelectComboLine(types, index - 1);
    PostCommand(dialog, kFileTypeList, CBN_SELENDOK, types);
    Pause(200);
    ChooseInDialog(dialog, path);
    return dialog;
  }

  std::string other_;
};

TEST_F(SyxFileDialogs, OpenListsTheChosenFilesFolderSelectsItAndOpensIt) {
  const std::vector<Bytes> two = {Message(300, 0x43, 1), Message(40, 0x41, 2)};
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\here.syx", Message(20, 0x42, 3)));
  ASSERT_TRUE(WriteFileBytes(other_ + "\\Chosen.SYX", KestrovallianFile("Kestrovallian+", "x", two)));
  ASSERT_TRUE(WriteFileBytes(other_ + "\\old.syx", KestrovallianFile("Kestrovallian-", "Stored name", two)));
  ASSERT_TRUE(WriteFileBytes(other_ + "\\plain.syx", Message(50, 0x10, 4)));
  ASSERT_TRUE(WriteFileBytes(other_ + "\\~scratch.syx", Message(50, 0x10, 5)));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  EXPECT_EQ(Files(), std::vector<std::string>{"* here.syx"});
  ASSERT_TRUE(Deliver(Message(25, 0x42, 6), "one.bin"));
  ASSERT_TRUE(WaitForLines(1));

  // Nothing selected: Open asks with the dialog, which offers .syx files.
  ClickItem(manager_, IDC_MANAGER_OPEN);
  HWND dialog = WaitForDialog("Open");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboLines(Item(dialog, kFileTypeList)), std::vector<std::string>{"Sysex data"});
  Screenshot(dialog, "manager_open_dialog");

  // Cancelled: the store and the folder list stay as they were.
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(DialogGone("Open"));
  ExpectNoBox();
  EXPECT_EQ(Received(), std::vector<std::string>{"25 bytes [Korg]"});
  EXPECT_EQ(Files(), std::vector<std::string>{"* here.syx"});

  // Chosen in another folder: that folder is listed with the file
  // selected, and the file replaces what was in memory.
  ClickItem(manager_, IDC_MANAGER_OPEN);
  dialog = WaitForDialog("Open");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(ChooseInDialog(dialog, other_ + "\\chosen.syx"));
  ASSERT_TRUE(DialogGone("Open"));
  ASSERT_TRUE(WaitUntil([&] { return Files().size() == 3; }, 10000));
  EXPECT_EQ(Sorted(Files()), (std::vector<std::string>{"* plain.syx", "- Stored name", "Chosen.SYX"}));
  EXPECT_EQ(SelectedFile(), "Chosen.SYX");
  ASSERT_TRUE(WaitForLines(2));
  EXPECT_EQ(Received(), (std::vector<std::string>{"300 bytes [Yamaha]", "40 bytes [Roland]"}));
  ExpectNoBox();

  // The listed lines open from the folder now shown.
  const auto lines = Files();
  const auto plain = std::find(lines.begin(), lines.end(), "* plain.syx") - lines.begin();
  SelectListLine(FileList(), static_cast<int>(plain));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_OPEN) == "<< Open"; }, 5000));
  ClickItem(manager_, IDC_MANAGER_OPEN);
  ASSERT_TRUE(WaitUntil([&] { return Received() == std::vector<std::string>{"50 bytes [Oberheim]"}; },
                        10000));
  ExpectNoBox();
  EndProgram();
}

TEST_F(SyxFileDialogs, SaveAsOffersTheThreeLayoutsAndRemembersTheChoice) {
  ASSERT_NO_FATAL_FAILURE(StartManager());
  const std::vector<Bytes> two = {Message(60, 0x44, 1), Message(33000, 0x45, 2)};
  ASSERT_TRUE(Deliver(two[0], "a.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ASSERT_TRUE(Deliver(two[1], "b.bin"));
  ASSERT_TRUE(WaitForLines(2));

  // The first save of the run offers the Kestrovallian layout.
  ClickItem(manager_, IDC_MANAGER_SAVE_AS);
  HWND dialog = WaitForDialog("Save As");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboLines(Item(dialog, kFileTypeList)),
            (std::vector<std::string>{"Kestrovallian format", "Standard format",
                                      "Kestrovallian 1.0 format"}));
  EXPECT_EQ(ComboSelection(Item(dialog, kFileTypeList)), 0);
  Screenshot(dialog, "manager_save_dialog");

  // Cancelled: nothing is written and the messages stay.
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(DialogGone("Save As"));
  ExpectNoBox();
  EXPECT_EQ(Received(), (std::vector<std::string>{"60 bytes [Casio]", "33000 bytes [Akai]"}));
  EXPECT_TRUE(Files().empty());

  // Saved in the 1.0 layout under a name typed without extension.
  ASSERT_NE(SaveAsTo(3, folder_ + "\\dump"), nullptr);
  ASSERT_TRUE(DialogGone("Save As"));
  ASSERT_TRUE(WaitForLines(0));
  ExpectNoBox();
  EXPECT_EQ(Files(), std::vector<std::string>{"- dump.syx"});
  EXPECT_EQ(SelectedFile(), "- dump.syx");
  auto file = ReadFileBytes(folder_ + "\\dump.syx");
  ASSERT_TRUE(file.has_value());
  Bytes expected(KestrovallianFile("Kestrovallian-", "", two));
  // The name field: the title without extension, then the rest of the
  // title buffer: the extension, its zero, bytes 0xCD.
  std::memcpy(expected.data() + 14, "dump\0syx\0", 9);
  std::fill(expected.begin() + 14 + 9, expected.begin() + 114, 0xCD);
  EXPECT_EQ(*file, expected);

  // The next save offers the layout chosen last.
  ASSERT_TRUE(Deliver(Message(12, 0x42, 3), "c.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ClickItem(manager_, IDC_MANAGER_SAVE_AS);
  dialog = WaitForDialog("Save As");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboSelection(Item(dialog, kFileTypeList)), 2);
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(DialogGone("Save As"));
  EXPECT_EQ(Received().size(), 1u);

  // Listed again by the open dialog, the 1.0 file shows its stored name.
  ASSERT_NO_FATAL_FAILURE(DeselectFiles());
  ClickItem(manager_, IDC_MANAGER_OPEN);
  dialog = WaitForDialog("Open");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(ChooseInDialog(dialog, folder_ + "\\dump.syx"));
  ASSERT_TRUE(DialogGone("Open"));
  ASSERT_TRUE(WaitUntil([&] { return Files() == std::vector<std::string>{"- dump"}; }, 10000));
  EXPECT_EQ(SelectedFile(), "- dump");
  ASSERT_TRUE(WaitForLines(2));
  EXPECT_EQ(Received(), (std::vector<std::string>{"60 bytes [Casio]", "33000 bytes [Akai]"}));
  ExpectNoBox();
  EndProgram();
}

TEST_F(SyxFileDialogs, ASaveThatCannotWriteItsTargetKeepsTheMessages) {
  const std::string target = folder_ + "\\busy.syx";
  ASSERT_TRUE(WriteFileBytes(target, Message(10, 0x42, 1)));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  EXPECT_EQ(Files(), std::vector<std::string>{"* busy.syx"});
  ASSERT_TRUE(Deliver(Message(80, 0x43, 2), "a.bin"));
  ASSERT_TRUE(WaitForLines(1));

  LockedFile lock(target);
  ASSERT_TRUE(lock.Held());
  HWND dialog = SaveAsTo(2, target);
  ASSERT_NE(dialog, nullptr);
  // The dialog asks before overwriting (Wine titles that question "Error").
  MessageBoxInfo overwrite = NextBox(dialog);
  ASSERT_TRUE(overwrite);
  ASSERT_TRUE(AnswerMessageBox(overwrite, IDYES));
  ASSERT_TRUE(DialogGone("Save As"));

  MessageBoxInfo failure = NextBox(manager_);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure.caption, "SP/Error");
  EXPECT_EQ(failure.text, "Couldn't create the file \"" + target +
                              "\".\n\nThe messages have not been saved; they are still in memory.");
  ASSERT_TRUE(AnswerMessageBox(failure, IDOK));
  ExpectNoBox();
  EXPECT_EQ(Received(), std::vector<std::string>{"80 bytes [Yamaha]"}) << "not cleared";
  EXPECT_EQ(Files(), std::vector<std::string>{"* busy.syx"}) << "no line for a file not written";
  lock.Release();
  EXPECT_EQ(ReadFileBytes(target), std::optional<Bytes>(Message(10, 0x42, 1)));

  // Once the file is free, the same save goes through and clears the store.
  dialog = SaveAsTo(2, target);
  ASSERT_NE(dialog, nullptr);
  overwrite = NextBox(dialog);
  ASSERT_TRUE(overwrite);
  ASSERT_TRUE(AnswerMessageBox(overwrite, IDYES));
  ASSERT_TRUE(DialogGone("Save As"));
  ASSERT_TRUE(WaitForLines(0));
  ExpectNoBox();
  EXPECT_EQ(ReadFileBytes(target), std::optional<Bytes>(Message(80, 0x43, 2)));
  EXPECT_EQ(Files(), (std::vector<std::string>{"* busy.syx", "* busy.syx"}));
  EXPECT_EQ(ListSelection(FileList()), 1);
  EndProgram();
}

TEST_F(SyxFileDialogs, DeleteAsksThenRemovesTheLineOrSaysWhyNot) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\a.syx", Message(10, 0x42, 1)));
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\mine.syx", KestrovallianFile("Kestrovallian+", "mine", {})));
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\old.syx", KestrovallianFile("Kestrovallian-", "Old one", {})));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  ASSERT_EQ(Sorted(Files()), (std::vector<std::string>{"* a.syx", "- Old one", "mine.syx"}));

  auto selectLine = [&](const std::string& line) {
    const auto lines = Files();
    const auto at = std::find(lines.begin(), lines.end(), line);
    ASSERT_NE(at, lines.end()) << line;
    SelectListLine(FileList(), static_cast<int>(at - lines.begin()));
    ASSERT_TRUE(WaitUntil([&] { return SelectedFile() == line; }, 5000));
  };
  auto askDelete = [&](const std::string& line, const std::string& question, int answer) {
    ASSERT_NO_FATAL_FAILURE(selectLine(line));
    ClickItem(manager_, IDC_MANAGER_DELETE);
    MessageBoxInfo box = NextBox(manager_);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "Confirm Delete");
    EXPECT_EQ(box.text, question);
    EXPECT_EQ(box.buttons.size(), 2u) << "Yes and No";
    ASSERT_TRUE(AnswerMessageBox(box, answer));
  };

  // No: the file and its line stay.
  const auto before = Files();
  ASSERT_NO_FATAL_FAILURE(askDelete(
      "* a.syx", "Are you sure you want to delete the file \"* a.syx\", underlying name \"a.syx\"?",
      IDNO));
  ExpectNoBox();
  EXPECT_TRUE(FileExists(folder_ + "\\a.syx"));
  EXPECT_EQ(Files(), before);

  // Yes: the file goes, and only its line.
  ASSERT_NO_FATAL_FAILURE(askDelete(
      "- Old one",
      "Are you sure you want to delete the file \"- Old one\", underlying name \"old.syx\"?", IDYES));
  ASSERT_TRUE(WaitUntil([&] { return Files().size() == 2; }, 5000));
  EXPECT_FALSE(FileExists(folder_ + "\\old.syx"));
  std::vector<std::string> left = before;
  left.erase(std::find(left.begin(), left.end(), "- Old one"));
  EXPECT_EQ(Files(), left);

  // A file of the current layout is asked about by its name alone; while
  // another program holds it, the delete fails and the line stays.
  {
    LockedFile lock(folder_ + "\\mine.syx");
    ASSERT_TRUE(lock.Held());
    ASSERT_NO_FATAL_FAILURE(
        askDelete("mine.syx", "Are you sure you want to delete the file \"mine.syx\"?", IDYES));
    MessageBoxInfo failure = NextBox(manager_);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure.caption, "Error!");
    EXPECT_EQ(failure.text,
              "Delete attempt failed. Try closing Kestrovallian and using Windows to delete the file.");
    ASSERT_TRUE(AnswerMessageBox(failure, IDOK));
  }
  ExpectNoBox();
  EXPECT_TRUE(FileExists(folder_ + "\\mine.syx"));
  EXPECT_EQ(Files(), left);
  EndProgram();
}

}  // namespace
}  // namespace qv::wine

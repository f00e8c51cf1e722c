// File names beyond ASCII in the manager under Wine (code page 1252 here):
// a .syx file named in the user's letters is listed by its own name and
// opens, sends, saves and deletes; a name the code page cannot hold is
// listed with a "?" for each such character and refused with a clear
// message, never opened or deleted. Files are made with the wide calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/manager/manager_wine_fixture.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kUnusableCaption[] = "File name not usable";

const Bytes kFirst = {0xF0, 0x43, 0x10, 0x01, 0xF7};
const Bytes kSecond = {0xF0, 0x41, 0x10, 0x20, 0x30, 0xF7};

void AppendLe(Bytes& to, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Files of the current Kestrovallian layout.
Bytes KestrovallianFile(const std::vector<Bytes>& messages) {
  const std::string magic = "Kestrovallian+";
  Bytes file(magic.begin(), magic.end());
  file.resize(file.size() + 100, 0);
  AppendLe(file, static_cast<std::uint32_t>(messages.size()), 2);
  for (const Bytes& m : messages) AppendLe(file, static_cast<std::uint32_t>(m.size()), 4);
  for (const Bytes& m : messages) file.insert(file.end(), m.begin(), m.end());
  return file;
}

// The two messages in the current Kestrovallian layout, which the folder
// list shows by the file's own name.
Bytes TwoMessages() { return KestrovallianFile({kFirst, kSecond}); }

class FolderNames : public ManagerWineTest {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "OutputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "BlocksPause", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
    folder_ = TestDir() + "\\Namen";
    CreateDirectoryW(Wide(folder_).c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder_ + "\\*.syx").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((Wide(folder_) + L"\\" + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
  }



  // Selects the folder list's line and waits for the buttons' plain forms.
  void SelectFile(const std::string& line) {
    const auto lines = Files();
    const auto at = std::find(lines.begin(), lines.end(), line);
    ASSERT_NE(at, lines.end()) << "\"" << line << "\" is not listed";
    SelectListLine(FileList(), static_cast<int>(at - lines.begin()));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_OPEN) == "<< Open"; }, 5000));
  }

  MessageBoxInfo NextBox() { return WaitForMessageBox(program_.Id(), 10000); }

  void ExpectNoBox() {
    Pause(300);
    for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id())) {
      ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
    }
  }

  // Presses the button, which opens the file dialog titled title, and
  // chooses path there.
  void ChooseThroughDialog(int button, const std::string& title, const std::string& path) {
    ClickItem(manager_, button);
    HWND dialog = WaitForWindow({"#32770", title, program_.Id()}, 10000);
    ASSERT_NE(dialog, nullptr) << "no dialog " << title;
    ASSERT_TRUE(ChooseInFileDialog(dialog, path));
    ASSERT_TRUE(WaitForNoWindow({"#32770", title, program_.Id()}, 10000));
  }

  // The box of a refused name: it names the file as listed and says why.
  void ExpectRefusal(const std::string& shownName) {
    MessageBoxInfo box = NextBox();
    ASSERT_TRUE(box) << "no refusal";
    Screenshot(box.window, "file_name_refusal");
    EXPECT_EQ(box.caption, kUnusableCaption);
    EXPECT_NE(box.text.find("\"" + shownName + "\""), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Rename the file"), std::string::npos) << box.text;
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  }

  // The .syx files in the folder, by their wide names.
  std::vector<std::string> FolderSyxFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder_ + "\\*.syx").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(Utf8(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

};

TEST_F(FolderNames, LatinNamesAreListedOpenedSentSavedAndDeletedByTheirOwnNames) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\Grüße.syx", TwoMessages()));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  EXPECT_EQ(Files(), std::vector<std::string>{"Grüße.syx"});

  ASSERT_NO_FATAL_FAILURE(SelectFile("Grüße.syx"));
  ClickItem(manager_, IDC_MANAGER_OPEN);
  const bool opened = WaitUntil([&] { return Received().size() == 2; }, 10000);
  ExpectNoBox();
  ASSERT_TRUE(opened) << "not opened";
  EXPECT_EQ(Received(), (std::vector<std::string>{"5 bytes [Yamaha]", "6 bytes [Roland]"}));
  Screenshot(manager_, "manager_latin_file_name");

  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 2, program_.Id(), 10000)) << "not sent";
  auto sent = MidiEvents("out.long", program_.Id());
  EXPECT_EQ(sent.at(0).Bytes(), kFirst);
  EXPECT_EQ(sent.at(1).Bytes(), kSecond);
  ExpectNoBox();

  // Saved under a new Latin name: the file has that name and is listed by it.
  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_SAVE_AS, "Save As", folder_ + "\\Flöten neu.syx"));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(folder_ + "\\Flöten neu.syx"); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return Files().size() == 2; }, 10000));
  EXPECT_EQ(Files().at(1), "Flöten neu.syx");
  ExpectNoBox();

  // Deleted after the question, which names the file.
  ASSERT_NO_FATAL_FAILURE(SelectFile("Grüße.syx"));
  ClickItem(manager_, IDC_MANAGER_DELETE);
  MessageBoxInfo question = NextBox();
  ASSERT_TRUE(question);
  EXPECT_EQ(question.caption, "Confirm Delete");
  EXPECT_NE(question.text.find("\"Grüße.syx\""), std::string::npos) << question.text;
  ASSERT_TRUE(AnswerMessageBox(question, IDYES));
  ASSERT_TRUE(WaitUntil([&] { return !FileExists(folder_ + "\\Grüße.syx"); }, 10000));
  EXPECT_EQ(Files(), std::vector<std::string>{"Flöten neu.syx"});
  ExpectNoBox();
  EndProgram();
}

TEST_F(FolderNames, LatinNameChosenInTheOpenAndSendDialogsIsOpenedAndSentInAnyCapitals) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\Grüße.syx", TwoMessages()));
  ASSERT_NO_FATAL_FAILURE(StartManager());

  // Nothing selected: the dialogs ask.
  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_OPEN, "Open", folder_ + "\\Grüße.syx"));
  ASSERT_TRUE(WaitUntil([&] { return Received().size() == 2; }, 10000)) << "not opened";
  EXPECT_EQ(ListSelection(FileList()), 0);
  EXPECT_EQ(Files(), std::vector<std::string>{"Grüße.syx"});
  ExpectNoBox();

  SendMessageW(FileList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  // Named in other capitals, as the file system takes it.
  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_SEND, "Send", folder_ + "\\grÜße.SYX"));
  ASSERT_TRUE(WaitForMidiEvents("out.long", 2, program_.Id(), 10000)) << "not sent";
  EXPECT_EQ(MidiEvents("out.long", program_.Id()).at(1).Bytes(), kSecond);
  ExpectNoBox();
  EndProgram();
}

TEST_F(FolderNames, NameOutsideTheCodePageIsListedAndRefusedNeverOpenedOrDeleted) {
  const std::string name = "Привет.syx";  // six letters code page 1252 lacks
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\" + name, TwoMessages()));
  // A file that a "?" wildcard would match, which must not be taken instead.
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\abcdef.syx", kFirst));
  ASSERT_NO_FATAL_FAILURE(StartManager());
  const auto lines = Files();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "* ??????.syx"), lines.end())
      << lines.at(0) << " | " << lines.at(1);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "* abcdef.syx"), lines.end());

  ASSERT_NO_FATAL_FAILURE(SelectFile("* ??????.syx"));
  ClickItem(manager_, IDC_MANAGER_OPEN);
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("??????.syx"));
  EXPECT_TRUE(Received().empty());

  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("??????.syx"));
  Pause(300);
  EXPECT_TRUE(MidiEvents("out.long", program_.Id()).empty());

  ClickItem(manager_, IDC_MANAGER_DELETE);
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("??????.syx"));
  ExpectNoBox();
  EXPECT_TRUE(FileExists(folder_ + "\\" + name));
  EXPECT_TRUE(FileExists(folder_ + "\\abcdef.syx"));
  EXPECT_EQ(Files().size(), 2u);
  Screenshot(manager_, "manager_unusable_file_name");
  EndProgram();
}

TEST_F(FolderNames, NamesOutsideTheCodePageChosenInTheDialogsAreRefusedNeverTakenForLookAlikes) {
  // "Ā" is not in code page 1252; the system would turn it into an "A".
  const Bytes other = {0xF0, 0x7E, 0x01, 0xF7};
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\Ānna.syx", TwoMessages()));
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\Anna.syx", KestrovallianFile({other})));
  ASSERT_NO_FATAL_FAILURE(StartManager());

  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_OPEN, "Open", folder_ + "\\Ānna.syx"));
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("?nna.syx"));
  ExpectNoBox();
  EXPECT_TRUE(Received().empty()) << "another file was opened: " << Received().at(0);

  SendMessageW(FileList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_SEND, "Send", folder_ + "\\Ānna.syx"));
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("?nna.syx"));
  ExpectNoBox();
  EXPECT_TRUE(MidiEvents("out.long", program_.Id()).empty()) << "another file was sent";

  // A save under such a name writes nothing and keeps the store.
  ASSERT_NO_FATAL_FAILURE(SelectFile("Anna.syx"));
  ClickItem(manager_, IDC_MANAGER_OPEN);
  ASSERT_TRUE(WaitUntil([&] { return Received().size() == 1; }, 10000));
  const auto before = FolderSyxFiles();
  ASSERT_NO_FATAL_FAILURE(ChooseThroughDialog(IDC_MANAGER_SAVE_AS, "Save As", folder_ + "\\Ещё.syx"));
  ASSERT_NO_FATAL_FAILURE(ExpectRefusal("???.syx"));
  ExpectNoBox();
  EXPECT_EQ(FolderSyxFiles(), before);
  EXPECT_EQ(Received().size(), 1u) << "the store is kept";
  EndProgram();
}

}  // namespace
}  // namespace qv::wine

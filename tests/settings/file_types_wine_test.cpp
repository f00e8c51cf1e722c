// The shell file types under Wine: the first start registers .syx,
// .QvInstrument and .QvBank, and a .syx that another program owns is taken
// over only when the user agrees.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

const char* const kTypeKeys[] = {"HKCR\\.syx",          "HKCR\\Quillon",     "HKCR\\.QvInstrument",
                                 "HKCR\\QuillonInstrument", "HKCR\\.QvBank", "HKCR\\QuillonBank"};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class FileTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    DeleteKeyTree(kMachineSettings);
    for (const char* key : kTypeKeys) DeleteKeyTree(key);
  }

  // Starts the program and answers the welcome box of the first start.
  void StartFirstTime() {
    program_ = Start(StartOptions{});
    ASSERT_TRUE(program_.Started());
    MessageBoxInfo welcome = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(welcome);
    ASSERT_EQ(welcome.caption, "New user information");
    ASSERT_TRUE(AnswerMessageBox(welcome, IDOK));
  }

  HWND Manager() { return WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000); }

  void EndProgram() {
    HWND manager = Manager();
    ASSERT_NE(manager, nullptr);
    Close(manager);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }

  // The question about .syx, answered.
  void AnswerSyxQuestion(int answer) {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "Quillon configuration");
    EXPECT_EQ(box.text,
              "Some other program is currently handling .SYX files.Unless this changes, Quillon won't get to "
              "deal with double-clicks or right-button clicks on these files (which represent standard System "
              "Exclusive data).\n\nIf you'd like Quillon to handle these files, click Yes now (recommended). "
              "If you'd like to continue using the other program to handle .SYX files, click No.\n\nWould you "
              "like Quillon to handle .SYX files?");
    EXPECT_EQ(box.owner, nullptr);
    ASSERT_TRUE(AnswerMessageBox(box, answer));
  }

  void ExpectDocumentTypes(const std::string& path, const std::string& folder) {
    EXPECT_EQ(ReadString("HKCR\\.QvInstrument", ""), "QuillonInstrument");
    EXPECT_EQ(ReadString("HKCR\\QuillonInstrument", ""), "Instrument definition for Quillon");
    EXPECT_EQ(ReadString("HKCR\\QuillonInstrument\\DefaultIcon", ""), path + ",2");
    EXPECT_EQ(ReadString("HKCR\\QuillonInstrument\\Shell", ""), "Open");
    EXPECT_EQ(ReadString("HKCR\\QuillonInstrument\\Shell\\Open\\command", ""),
              folder + "\\Mirelda /librarian %1");
    EXPECT_EQ(ReadString("HKCR\\.QvBank", ""), "QuillonBank");
    EXPECT_EQ(ReadString("HKCR\\QuillonBank", ""), "Program bank file for Quillon");
    EXPECT_EQ(ReadString("HKCR\\QuillonBank\\DefaultIcon", ""), path + ",3");
    EXPECT_EQ(ReadString("HKCR\\QuillonBank\\Shell\\Open\\command", ""), folder + "\\Mirelda /bankfile %1");
  }

  Program program_;
};

TEST_F(FileTypes, FirstStartRegistersTheThreeTypesWithoutAsking) {
  StartFirstTime();
  HWND manager = Manager();
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());

  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "Quillon");
  EXPECT_EQ(ReadString("HKLM\\Software\\Classes\\.syx", ""), "Quillon");
  EXPECT_EQ(ReadString("HKCR\\Quillon", ""), "MIDI System Exclusive data");
  EXPECT_FALSE(ValueExists("HKCR\\Quillon", "OldSYXApp"));
  std::string icon = ReadString("HKCR\\Quillon\\DefaultIcon", "").value_or("");
  ASSERT_TRUE(EndsWith(icon, "\\Mirelda.dat,1")) << icon;
  const std::string path = icon.substr(0, icon.size() - 2);
  const std::string folder = path.substr(0, path.rfind('\\'));
  EXPECT_EQ(ReadString("HKCR\\Quillon\\Shell", ""), "Send");
  EXPECT_EQ(ReadString("HKCR\\Quillon\\Shell\\Send", ""), "Send");
  EXPECT_EQ(ReadString("HKCR\\Quillon\\Shell\\Send\\command", ""), path + " /send %1");
  EXPECT_EQ(ReadString("HKCR\\Quillon\\Shell\\Open", ""), "Open");
  EXPECT_EQ(ReadString("HKCR\\Quillon\\Shell\\Open\\command", ""), folder + "\\Mirelda /open %1");
  ExpectDocumentTypes(path, folder);
  EXPECT_FALSE(ValueExists(kMachineSettings, "DisableExtensions"));
  EndProgram();
}

TEST_F(FileTypes, AnEarlierOwnerKeepsSyxWhenTheUserSaysNo) {
  ASSERT_TRUE(WriteString("HKCR\\.syx", "", "Tessary.SysEx"));
  StartFirstTime();
  AnswerSyxQuestion(IDNO);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "Tessary.SysEx");
  EXPECT_FALSE(KeyExists("HKCR\\Quillon"));
  auto flag = ReadValue(kMachineSettings, "DisableExtensions");
  ASSERT_TRUE(flag.has_value());
  EXPECT_EQ(flag->type, static_cast<DWORD>(REG_NONE));
  EXPECT_TRUE(flag->data.empty());
  EXPECT_EQ(ReadString("HKCR\\.QvBank", ""), "QuillonBank");
  EndProgram();

  // The next start asks no more.
  program_ = Start(StartOptions{});
  ASSERT_TRUE(program_.Started());
  ASSERT_NE(Manager(), nullptr);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "Tessary.SysEx");
  EndProgram();
}

// A .syx key whose default value is empty still belongs to someone: the
// start asks, and No leaves it as it was.
TEST_F(FileTypes, AKeyWithAnEmptyOwnerIsAskedAbout) {
  ASSERT_TRUE(WriteString("HKCR\\.syx", "", ""));
  ASSERT_TRUE(WriteString("HKCR\\.syx", "Content Type", "application/x-sysex"));
  StartFirstTime();
  AnswerSyxQuestion(IDNO);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "");
  EXPECT_EQ(ReadString("HKCR\\.syx", "Content Type"), "application/x-sysex");
  EXPECT_FALSE(KeyExists("HKCR\\Quillon"));
  EXPECT_TRUE(ValueExists(kMachineSettings, "DisableExtensions"));
  EndProgram();
}

TEST_F(FileTypes, AnEarlierOwnerIsRememberedWhenTheUserSaysYes) {
  ASSERT_TRUE(WriteString("HKCR\\.syx", "", "Tessary.SysEx"));
  StartFirstTime();
  AnswerSyxQuestion(IDYES);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "Quillon");
  EXPECT_EQ(ReadString("HKCR\\Quillon", "OldSYXApp"), "Tessary.SysEx");
  EXPECT_FALSE(ValueExists(kMachineSettings, "DisableExtensions"));
  EndProgram();
}

}  // namespace
}  // namespace qv::wine

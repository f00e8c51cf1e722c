// Ctrl+P and Ctrl+U in the manager window under Wine: Preferences writes its
// changes at once, the uninstall removes the program's keys and ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

const char* const kTypeKeys[] = {"HKCR\\.syx",          "HKCR\\Quillon",     "HKCR\\.QvInstrument",
                                 "HKCR\\QuillonInstrument", "HKCR\\.QvBank", "HKCR\\QuillonBank"};

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    DeleteKeyTree(kMachineSettings);
    for (const char* key : kTypeKeys) DeleteKeyTree(key);
    program_ = Start(StartOptions{});
    ASSERT_TRUE(program_.Started());
    MessageBoxInfo welcome = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(AnswerMessageBox(welcome, IDOK));
    manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
    ASSERT_NE(manager_, nullptr);
    WaitForIdle(program_.Id());
  }

  // A key press made while Wine is still handing the focus over from the
  // previous program can get lost: pressed again, up to three times. The
  // program opens no second dialog while one is open.
  HWND OpenWithCtrl(char key, const char* title) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      PressKey(static_cast<WORD>(key), true, manager_);
      HWND dialog = WaitForWindow({"#32770", title, program_.Id()}, 4000);
      if (dialog != nullptr) {
        EXPECT_EQ(FindWindows({"#32770", title, program_.Id()}).size(), 1u);
        return dialog;
      }
    }
    return nullptr;
  }

  Program program_;
  HWND manager_ = nullptr;
};

TEST_F(Shortcuts, CtrlPOpensPreferencesAndOkWritesAtOnce) {
  HWND prefs = OpenWithCtrl('P', "Preferences");
  ASSERT_NE(prefs, nullptr);
  WaitForIdle(program_.Id());
  Screenshot(prefs, "preferences_dialog");
  // The program owns .syx after its first start: checked and greyed.
  EXPECT_EQ(CheckState(Item(prefs, IDC_PREFERENCES_HANDLE_SYX)), BST_CHECKED);
  EXPECT_FALSE(IsEnabled(Item(prefs, IDC_PREFERENCES_HANDLE_SYX)));
  EXPECT_EQ(CheckState(Item(prefs, IDC_PREFERENCES_TITLE_PICTURE)), BST_CHECKED);
  EXPECT_EQ(CheckState(Item(prefs, IDC_PREFERENCES_WELCOME_SOUND)), BST_CHECKED);
  EXPECT_EQ(CheckState(Item(prefs, IDC_PREFERENCES_TOOLTIPS_MAXIMUM)), BST_CHECKED);
  EXPECT_EQ(ItemText(prefs, IDC_PREFERENCES_BLOCKS_PAUSE), "20");

  // A pause that is no number, or longer than the send can wait: the box,
  // and the dialog stays.
  for (const char* pause : {"-5", "3000000000"}) {
    SetItemText(prefs, IDC_PREFERENCES_BLOCKS_PAUSE, pause);
    ClickItem(prefs, IDOK);
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000, prefs);
    ASSERT_TRUE(box) << pause;
    EXPECT_EQ(box.caption, "Incorrect data entry");
    EXPECT_EQ(box.text, "The value to pause between blocks must be a positive number.");
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000));
    EXPECT_TRUE(IsWindow(prefs));
    EXPECT_EQ(ReadDword(kUserSettings, "BlocksPause"), 20u);
  }

  SetItemText(prefs, IDC_PREFERENCES_BLOCKS_PAUSE, "150");
  ClickItem(prefs, IDC_PREFERENCES_TITLE_PICTURE);
  ClickItem(prefs, IDC_PREFERENCES_TOOLTIPS_OFF);
  ASSERT_TRUE(WaitUntil([&] { return CheckState(Item(prefs, IDC_PREFERENCES_TOOLTIPS_OFF)) == BST_CHECKED; },
                        5000));
  ClickItem(prefs, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prefs); }, 10000));

  // Written while the program still runs.
  EXPECT_TRUE(program_.Running());
  EXPECT_EQ(ReadDword(kUserSettings, "BlocksPause"), 150u);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), 0u);
  auto picture = ReadValue(kUserSettings, "TitleGraphicTurnedOff");
  ASSERT_TRUE(picture.has_value());
  EXPECT_TRUE(picture->data.empty());
  EXPECT_FALSE(ValueExists(kUserSettings, "TitleSoundDisabled"));

  // Cancel stores nothing.
  prefs = OpenWithCtrl('P', "Preferences");
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(CheckState(Item(prefs, IDC_PREFERENCES_TITLE_PICTURE)), BST_UNCHECKED);
  EXPECT_EQ(ItemText(prefs, IDC_PREFERENCES_BLOCKS_PAUSE), "150");
  SetItemText(prefs, IDC_PREFERENCES_BLOCKS_PAUSE, "999");
  ClickItem(prefs, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prefs); }, 10000));
  EXPECT_EQ(ReadDword(kUserSettings, "BlocksPause"), 150u);

  Close(manager_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Shortcuts, CtrlUCancelledChangesNothing) {
  HWND dialog = OpenWithCtrl('U', "Uninstall");
  ASSERT_NE(dialog, nullptr);
  WaitForIdle(program_.Id());
  Screenshot(dialog, "uninstall_dialog");
  ClickItem(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
  EXPECT_TRUE(IsWindow(manager_));
  EXPECT_TRUE(KeyExists(kUserSettings));
  EXPECT_EQ(ReadString("HKCR\\.syx", ""), "Quillon");
  Close(manager_);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Shortcuts, CtrlUUninstallsAndTheProgramEndsWithoutWritingAgain) {
  HWND dialog = OpenWithCtrl('U', "Uninstall");
  ASSERT_NE(dialog, nullptr);
  ClickItem(dialog, IDOK);
  MessageBoxInfo done = WaitForMessageBox(program_.Id(), 10000, dialog);
  ASSERT_TRUE(done);
  EXPECT_EQ(done.caption, "Uninstall completed");
  EXPECT_EQ(done.text.rfind("The automated uninstall procedure is completed.\n\n", 0), 0u);
  ASSERT_TRUE(AnswerMessageBox(done, IDOK));
  EXPECT_EQ(program_.WaitExit(15000), 0u);

  EXPECT_FALSE(KeyExists("HKCU\\Software\\Brindlecote"));
  EXPECT_FALSE(KeyExists("HKLM\\Software\\Brindlecote"));
  for (const char* key : kTypeKeys) EXPECT_FALSE(KeyExists(key)) << key;
}

}  // namespace
}  // namespace qv::wine

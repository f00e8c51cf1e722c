// The settings read at start under Wine: the first run's defaults and
// welcome, and the countdown that lowers the tooltip level at the tenth
// start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

const char kWelcome[] =
    "Welcome to Brindlecote Quillon 97! To get you up to speed right away, here's some advice.\n\n"
    "Be sure to use the help file - from the button in the top right of all main screens - any time if you're not "
    "sure how to do something, or why something is happening.\n\n"
    "The program is equipped with tooltips - small yellow rectangles that pop up to explain the purpose of a "
    "control that the mouse has paused over. If these annoy you, you can turn them off using the preferences "
    "dialog box, which is accessed by pressing CTRL+P from any main screen. This is also how you turn off the "
    "startup sound.\n\n"
    "If you really don't like the program, pressing CTRL+U to uninstall will automatically remove most parts of "
    "it from your system. This is explained in more detail when you press CTRL+U.\n\n"
    "In case you haven't got the idea yet - I like the CTRL key. When you hold it down, some buttons do different "
    "things. (The tooltips will explain, and indicate which controls this applies to.) This also works while the "
    "program is loading...\n\n"
    "Don't be alarmed if the program seems to disappear when switching between modules; it will be back shortly!";

const char kTooltipsLowered[] =
    "Since you've now used this program a number of times, the tooltips (yellow pop-up information boxes) have "
    "been reduced in number and frequency.\n\n"
    "They are now set to the normal level. If you'd like to put them back the way they were before, or turn them "
    "off altogether, you can do so using the Preferences box (accessed by typing CTRL+P from any main screen).";

class StartupSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    // The file-type question of the first start is not what these tests are about.
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
  }

  void StartProgram() {
    StartOptions options;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
  }

  // Waits for the manager window, expecting no message box before it.
  HWND ManagerWithoutBoxes() {
    HWND manager = nullptr;
    WaitUntil(
        [&] {
          for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id())) {
            ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
            AnswerMessageBox(box, IDOK);
          }
          manager = FindTopWindow({"Qv_SysEx", "", program_.Id()});
          return manager != nullptr;
        },
        20000);
    return manager;
  }

  void EndProgram(HWND manager) {
    Close(manager);
    EXPECT_EQ(program_.WaitExit(15000), 0u);
  }

  // A start of someone who has used the program before.
  void Returning(DWORD toolTips, DWORD countdown) {
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", toolTips));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", countdown));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
  }

  Program program_;
};

TEST_F(StartupSettings, FirstRunWritesTheDefaultsAndWelcomesOnce) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "New user information");
  EXPECT_EQ(box.text, kWelcome);
  EXPECT_EQ(box.owner, nullptr) << "the welcome has no owner window";
  EXPECT_EQ(box.buttons.size(), 1u) << "OK only";
  EXPECT_EQ(FindTopWindow({"Qv_SysEx", "", program_.Id()}), nullptr) << "the welcome comes before any module";
  Screenshot(box.window, "settings_welcome");
  // The defaults are in place while the welcome is up.
  struct Default {
    const char* name;
    DWORD value;
  } defaults[] = {{"InputPort", 0},  {"OutputPort", 0},   {"AcknowledgeReceipt", 0}, {"ReceiptLength", 0},
                  {"WindowX", 30},   {"WindowY", 30},     {"NumBuffers", 30},        {"GraphX", 200},
                  {"GraphY", 200},   {"GraphW", 200},     {"GraphH", 200},           {"GraphAmp1", 0},
                  {"GraphAmp2", 0},  {"GraphPitch1", 0},  {"GraphPitch2", 0},        {"GraphCutoff1", 0},
                  {"GraphCutoff2", 0}, {"BlocksPause", 20}, {"ToolTips", 2}};
  for (const Default& d : defaults) {
    auto value = ReadValue(kUserSettings, d.name);
    ASSERT_TRUE(value) << d.name;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD)) << d.name;
    EXPECT_EQ(ReadDword(kUserSettings, d.name), d.value) << d.name;
  }
  auto ack = ReadValue(kUserSettings, "AcknowledgeMessage");
  ASSERT_TRUE(ack);
  EXPECT_EQ(ack->type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(ack->data, std::vector<uint8_t>(512, 0));
  EXPECT_FALSE(ValueExists(kUserSettings, "LibrarianInstrument"));
  EXPECT_FALSE(ValueExists(kUserSettings, "TitleSoundDisabled"));
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));

  HWND manager = ManagerWithoutBoxes();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTipsCountdown"), 9u) << "the first run counts as a start";
  EndProgram(manager);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), 2u) << "the first run keeps the maximum level";
  EXPECT_FALSE(ValueExists(kUserSettings, "LibrarianInstrument")) << "-1 is never stored";
  EXPECT_EQ(ReadValue(kUserSettings, "AcknowledgeMessage")->data.size(), 512u);

  // The second start: no welcome, one step down the countdown.
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  manager = ManagerWithoutBoxes();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTipsCountdown"), 8u);
  EndProgram(manager);
}

TEST_F(StartupSettings, TenthStartLowersTheTooltipsAndClosesTheLoaderWindow) {
  ASSERT_NO_FATAL_FAILURE(Returning(2, 1));
  LoaderStandIn loader;
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Quillon 97");
  EXPECT_EQ(box.text, kTooltipsLowered);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(loader.CloseCount(), 1) << "the title picture goes before the message";
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), 1u) << "written at once";
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTipsCountdown"), 0u);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  HWND manager = ManagerWithoutBoxes();
  ASSERT_NE(manager, nullptr);
  EndProgram(manager);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), 1u);

  // The eleventh start: the countdown stays at 0 and nothing is shown.
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  manager = ManagerWithoutBoxes();
  ASSERT_NE(manager, nullptr);
  EndProgram(manager);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTipsCountdown"), 0u);
  EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), 1u);
}

TEST_F(StartupSettings, CountdownWithoutAMessage) {
  struct Case {
    DWORD toolTips, countdown;  // stored before the start
    DWORD toolTipsAfter, countdownAfter;
  } cases[] = {
      {1, 1, 1, 0},  // tenth start with the level already lowered
      {0, 1, 0, 0},  // tenth start with tooltips off
      {2, 0, 2, 0},  // later starts leave the count at 0 and the level alone
      {2, 5, 2, 4},  // an ordinary start counts down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("ToolTips " + std::to_string(c.toolTips) + ", countdown " + std::to_string(c.countdown));
    DeleteKeyTree(kUserSettings);
    ASSERT_NO_FATAL_FAILURE(Returning(c.toolTips, c.countdown));
    LoaderStandIn loader;
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    HWND manager = ManagerWithoutBoxes();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(ReadDword(kUserSettings, "ToolTipsCountdown"), c.countdownAfter);
    EXPECT_EQ(loader.CloseCount(), 0);
    EndProgram(manager);
    EXPECT_EQ(ReadDword(kUserSettings, "ToolTips"), c.toolTipsAfter);
  }
}

}  // namespace
}  // namespace qv::wine

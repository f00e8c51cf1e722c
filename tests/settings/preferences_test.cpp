#include "settings/preferences.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_store.h"
#include "tests/settings/fake_registry.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeRegistry;
using test::RecordingReporter;
using test::ValueType;

constexpr const char* kUserKey = FakeRegistry::kUserSettings;
constexpr const char* kMachineKey = FakeRegistry::kMachineSettings;

// Registry with both settings keys, as after a first start.
FakeRegistry Installed() {
  FakeRegistry reg;
  reg.SetDword(kUserKey, "BlocksPause", 20);
  reg.SetDword(kUserKey, "ToolTips", 2);
  reg.AddKey(kMachineKey);
  return reg;
}

SettingsRecord Typical() {
  SettingsRecord s;
  s.BlocksPause = 20;
  s.ToolTips = 2;
  return s;
}

// --- opening ------------------------------------------------------------------

TEST(PreferencesOpening, ShowsTheSettings) {
  SettingsRecord s = Typical();
  s.TitleGraphicOn = false;
  s.TitleSoundOn = true;
  s.ToolTips = 1;
  s.BlocksPause = 75;
  PreferencesChoice c = PreferencesAtOpening(s);
  EXPECT_FALSE(c.titlePicture);
  EXPECT_TRUE(c.welcomeSound);
  EXPECT_FALSE(c.toolTipsLevel[0]);
  EXPECT_TRUE(c.toolTipsLevel[1]);
  EXPECT_FALSE(c.toolTipsLevel[2]);
  EXPECT_EQ(c.blocksPause, "75");
}

TEST(PreferencesOpening, OwnedSyxIsCheckedAndGreyedElseFree) {
  SettingsRecord s = Typical();
  s.HandlesSyxFiles = true;
  PreferencesChoice owned = PreferencesAtOpening(s);
  EXPECT_TRUE(owned.handleSyxChecked);
  EXPECT_FALSE(owned.handleSyxEnabled);
  s.HandlesSyxFiles = false;
  PreferencesChoice free = PreferencesAtOpening(s);
  EXPECT_FALSE(free.handleSyxChecked);
  EXPECT_TRUE(free.handleSyxEnabled);
}

TEST(PreferencesOpening, ALevelOutsideTheRangeChecksNoButton) {
  for (int level : {-1, 3, 5}) {
    SettingsRecord s = Typical();
    s.ToolTips = level;
    PreferencesChoice c = PreferencesAtOpening(s);
    EXPECT_FALSE(c.toolTipsLevel[0] || c.toolTipsLevel[1] || c.toolTipsLevel[2]) << level;
  }
}

TEST(PreferencesOpening, ThePauseIsShownUnsigned) {
  SettingsRecord s = Typical();
  s.BlocksPause = -1;
  EXPECT_EQ(PreferencesAtOpening(s).blocksPause, "4294967295");
}

// --- the pause --------------------------------------------------------------------

struct PauseCase {
  const char* text;
  bool valid;
  std::uint32_t value;
};

class BlocksPauseText : public testing::TestWithParam<PauseCase> {};

// Digits only, and no more than the send can wait: a timer takes at most
// 2,147,483,647 ms, and the stored value is read as a signed number.
TEST_P(BlocksPauseText, IsADecimalTheSendHonours) {
  std::uint32_t value = 12345;
  EXPECT_EQ(ParseBlocksPause(GetParam().text, &value), GetParam().valid);
  if (GetParam().valid) {
    EXPECT_EQ(value, GetParam().value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BlocksPauseText,
    testing::Values(PauseCase{"0", true, 0}, PauseCase{"20", true, 20},
                    PauseCase{"007", true, 7}, PauseCase{"2147483647", true, 2147483647u},
                    PauseCase{"2147483648", false, 0}, PauseCase{"4294967295", false, 0},
                    PauseCase{"4294967296", false, 0}, PauseCase{"99999999999999999999", false, 0},
                    PauseCase{"", false, 0}, PauseCase{"-5", false, 0}, PauseCase{"abc", false, 0},
                    PauseCase{"5a", false, 0}, PauseCase{" 5", false, 0},
                    PauseCase{"+5", false, 0}, PauseCase{"1.5", false, 0}));

TEST(PreferencesOk, AnInvalidPauseShowsTheBoxAndChangesNothing) {
  for (const char* text : {"-5", "abc", "", "3000000000"}) {
    FakeRegistry reg = Installed();
    SettingsRecord s = Typical();
    s.HandlesSyxFiles = false;
    PreferencesChoice c = PreferencesAtOpening(s);
    c.titlePicture = false;
    c.welcomeSound = false;
    c.toolTipsLevel[2] = false;
    c.toolTipsLevel[0] = true;
    c.handleSyxChecked = true;
    c.blocksPause = text;
    RecordingReporter boxes;
    EXPECT_EQ(ApplyPreferences(reg, s, boxes, c), PreferencesResult::InvalidPause);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The value to pause between blocks must be a positive number.");
    EXPECT_EQ(boxes.boxes[0].caption, "Incorrect data entry");
    EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(boxes.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(reg.writes.empty());
    EXPECT_TRUE(s.TitleGraphicOn);
    EXPECT_TRUE(s.TitleSoundOn);
    EXPECT_EQ(s.ToolTips, 2);
    EXPECT_EQ(s.BlocksPause, 20);
  }
}

// --- OK ---------------------------------------------------------------------------

TEST(PreferencesOk, WithoutChangesWritesOnlyThePause) {
  FakeRegistry reg = Installed();
  SettingsRecord s = Typical();
  RecordingReporter boxes;
  EXPECT_EQ(ApplyPreferences(reg, s, boxes, PreferencesAtOpening(s)), PreferencesResult::Stored);
  ASSERT_EQ(reg.writes.size(), 1u);
  EXPECT_EQ(reg.writes[0].name, "BlocksPause");
  EXPECT_EQ(reg.writes[0].key, kUserKey);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

TEST(PreferencesOk, TheNewPauseIsStoredAndWritten) {
  FakeRegistry reg = Installed();
  SettingsRecord s = Typical();
  RecordingReporter boxes;
  PreferencesChoice c = PreferencesAtOpening(s);
  c.blocksPause = "0";
  ApplyPreferences(reg, s, boxes, c);
  EXPECT_EQ(s.BlocksPause, 0);
  EXPECT_EQ(reg.Dword(kUserKey, "BlocksPause"), 0);
  EXPECT_EQ(reg.Value(kUserKey, "BlocksPause").type, ValueType::Dword);
}

struct FlagCase {
  const char* value;
  bool SettingsRecord::*field;
  bool PreferencesChoice::*box;
};

class OffFlag : public testing::TestWithParam<FlagCase> {};

TEST_P(OffFlag, UncheckingWritesTheEmptyValueAndCheckingDeletesIt) {
  const FlagCase& f = GetParam();
  FakeRegistry reg = Installed();
  SettingsRecord s = Typical();
  RecordingReporter boxes;

  PreferencesChoice c = PreferencesAtOpening(s);
  c.*f.box = false;
  ApplyPreferences(reg, s, boxes, c);
  EXPECT_FALSE(s.*f.field);
  ASSERT_TRUE(reg.HasValue(kUserKey, f.value));
  EXPECT_EQ(reg.Value(kUserKey, f.value).type, ValueType::Dword);
  EXPECT_TRUE(reg.Value(kUserKey, f.value).data.empty());

  // The next start reads the option as off.
  SettingsRecord next;
  RegKey key = OpenSettingsKey(reg, kCurrentUserRoot);
  EXPECT_TRUE(reg.ValueFitsFourBytes(key, f.value));
  reg.CloseKey(key);

  c = PreferencesAtOpening(s);
  c.*f.box = true;
  ApplyPreferences(reg, s, boxes, c);
  EXPECT_TRUE(s.*f.field);
  EXPECT_FALSE(reg.HasValue(kUserKey, f.value));
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Options, OffFlag,
    testing::Values(FlagCase{"TitleGraphicTurnedOff", &SettingsRecord::TitleGraphicOn,
                             &PreferencesChoice::titlePicture},
                    FlagCase{"TitleSoundDisabled", &SettingsRecord::TitleSoundOn,
                             &PreferencesChoice::welcomeSound}));

TEST(PreferencesOk, ALevelPickedIsStoredAndWritten) {
  for (int level = 0; level < 3; ++level) {
    FakeRegistry reg = Installed();
    SettingsRecord s = Typical();
    s.ToolTips = level == 2 ? 0 : 2;
    PreferencesChoice c = PreferencesAtOpening(s);
    for (bool& b : c.toolTipsLevel) b = false;
    c.toolTipsLevel[level] = true;
    RecordingReporter boxes;
    ApplyPreferences(reg, s, boxes, c);
    EXPECT_EQ(s.ToolTips, level);
    EXPECT_EQ(reg.Dword(kUserKey, "ToolTips"), level);
  }
}

TEST(PreferencesOk, AnOddLevelStaysUnlessALevelIsPicked) {
  FakeRegistry reg = Installed();
  SettingsRecord s = Typical();
  s.ToolTips = 5;
  RecordingReporter boxes;
  ApplyPreferences(reg, s, boxes, PreferencesAtOpening(s));
  EXPECT_EQ(s.ToolTips, 5);
  EXPECT_EQ(reg.Dword(kUserKey, "ToolTips"), 2);  // not written
}

TEST(PreferencesOk, SyxAskedForAgainRemovesTheSwitchAndSaysSo) {
  FakeRegistry reg = Installed();
  reg.SetValue(kMachineKey, "DisableExtensions", ValueType::None, {});
  SettingsRecord s = Typical();
  s.HandlesSyxFiles = false;
  PreferencesChoice c = PreferencesAtOpening(s);
  c.handleSyxChecked = true;
  RecordingReporter boxes;
  ApplyPreferences(reg, s, boxes, c);
  EXPECT_FALSE(reg.HasValue(kMachineKey, "DisableExtensions"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Handle .SYX files");
  EXPECT_EQ(boxes.boxes[0].text, kHandleSyxText);
  EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Information);
  // The program does not own the type until the next start.
  EXPECT_FALSE(s.HandlesSyxFiles);
  EXPECT_FALSE(PreferencesAtOpening(s).handleSyxChecked);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

TEST(PreferencesOk, AnOwnedSyxIsLeftAlone) {
  FakeRegistry reg = Installed();
  SettingsRecord s = Typical();
  s.HandlesSyxFiles = true;
  RecordingReporter boxes;
  ApplyPreferences(reg, s, boxes, PreferencesAtOpening(s));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(PreferencesOk, AfterAnUninstallChangesTheRunButWritesAndCreatesNothing) {
  FakeRegistry reg;  // no settings keys at all
  SettingsRecord s = Typical();
  PreferencesChoice c = PreferencesAtOpening(s);
  c.titlePicture = false;
  c.blocksPause = "300";
  c.toolTipsLevel[2] = false;
  c.toolTipsLevel[0] = true;
  RecordingReporter boxes;
  EXPECT_EQ(ApplyPreferences(reg, s, boxes, c), PreferencesResult::Stored);
  EXPECT_EQ(s.BlocksPause, 300);
  EXPECT_FALSE(s.TitleGraphicOn);
  EXPECT_EQ(s.ToolTips, 0);
  EXPECT_TRUE(reg.writes.empty());
  EXPECT_TRUE(reg.created.empty());
  EXPECT_EQ(reg.misuses, 0);
}

}  // namespace
}  // namespace qv

#include "settings/uninstall.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/file_types.h"
#include "settings/settings_store.h"
#include "tests/settings/fake_registry.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeRegistry;
using test::RecordingReporter;

const ProgramLocation kHere{"C:\\Tools\\Quillon\\Mirelda.dat", "C:\\Tools\\Quillon"};

class NoLoader : public StartupUi {
 public:
  void CloseLoaderWindow() override {}
};

// A start of the program with the given answer to a .syx question.
SettingsRecord StartProgram(FakeRegistry& reg, BoxAnswer syxAnswer = BoxAnswer::Yes) {
  SettingsRecord settings;
  RecordingReporter boxes;
  boxes.answers = {BoxAnswer::Ok, syxAnswer};
  NoLoader ui;
  ShellFileTypes types(reg, settings, boxes, kHere);
  LoadSettings(reg, settings, boxes, ui, &types);
  return settings;
}

RecordingReporter Uninstall(FakeRegistry& reg) {
  RecordingReporter boxes;
  UninstallProgram(reg, boxes);
  return boxes;
}

const char* const kProgramKeys[] = {
    "HKCR\\.QvInstrument",  "HKCR\\.QvBank",           "HKCR\\Quillon",
    "HKCR\\QuillonInstrument", "HKCR\\QuillonBank",     "HKLM\\Software\\Brindlecote",
    "HKCU\\Software\\Brindlecote",
};

TEST(Uninstall, AfterACleanFirstStartRemovesEveryEntry) {
  FakeRegistry reg;
  StartProgram(reg);
  WriteFirstUseMarker(reg, Settings, kManagerModule);
  RecordingReporter boxes = Uninstall(reg);
  for (const char* key : kProgramKeys) EXPECT_FALSE(reg.HasKey(key)) << key;
  EXPECT_FALSE(reg.HasKey("HKCR\\.syx"));
  EXPECT_TRUE(reg.HasKey("HKCU\\Software"));
  EXPECT_TRUE(reg.HasKey("HKLM\\Software"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, kUninstallCompletedCaption);
  EXPECT_EQ(boxes.boxes[0].text, kUninstallCompletedText);
  EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

TEST(Uninstall, KeysAreDeletedDeepestFirst) {
  FakeRegistry reg;
  StartProgram(reg);
  Uninstall(reg);
  auto position = [&](const std::string& path) {
    for (std::size_t i = 0; i < reg.deleted.size(); ++i)
      if (reg.deleted[i] == path) return static_cast<int>(i);
    return -1;
  };
  EXPECT_LT(position("HKCR\\Quillon\\Shell\\Open\\command"), position("HKCR\\Quillon\\Shell\\Open"));
  EXPECT_LT(position("HKCR\\Quillon\\Shell"), position("HKCR\\Quillon"));
  EXPECT_GE(position("HKCR\\Quillon\\DefaultIcon"), 0);
  EXPECT_GE(position("HKCR\\QuillonBank\\Shell\\Open\\command"), 0);
}

TEST(Uninstall, TheExitSaveOfTheSameRunWritesAndCreatesNothing) {
  FakeRegistry reg;
  SettingsRecord settings = StartProgram(reg);
  Uninstall(reg);
  reg.writes.clear();
  reg.created.clear();
  SaveSettings(reg, settings);
  SaveBufferCount(reg, settings);
  WriteFirstUseMarker(reg, settings, kEditorModule);
  EXPECT_TRUE(reg.writes.empty());
  EXPECT_TRUE(reg.created.empty());
  EXPECT_FALSE(reg.HasKey("HKCU\\Software\\Brindlecote"));
}

TEST(Uninstall, GivesSyxBackToTheOwnerItWasTakenFrom) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "Other.Syx");
  StartProgram(reg, BoxAnswer::Yes);
  ASSERT_EQ(reg.String("HKCR\\.syx", ""), "Quillon");
  Uninstall(reg);
  ASSERT_TRUE(reg.HasKey("HKCR\\.syx"));
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Other.Syx");
  EXPECT_FALSE(reg.HasKey("HKCR\\Quillon"));
}

TEST(Uninstall, AnOwnerNameLongerThanAHundredBytesComesBackWhole) {
  FakeRegistry reg;
  const std::string longName = "Vendor.SystemExclusive.Document." + std::string(150, 'x');
  reg.SetString("HKCR\\.syx", "", longName);
  StartProgram(reg, BoxAnswer::Yes);
  Uninstall(reg);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), longName);
}

TEST(Uninstall, LeavesADeclinedSyxAsItIs) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "Other.Syx");
  reg.SetString("HKCR\\.syx\\OpenWithProgids", "Other.Syx", "");
  StartProgram(reg, BoxAnswer::No);
  Uninstall(reg);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Other.Syx");
  EXPECT_TRUE(reg.HasKey("HKCR\\.syx\\OpenWithProgids"));
  for (const char* key : kProgramKeys) EXPECT_FALSE(reg.HasKey(key)) << key;
}

TEST(Uninstall, LeavesSyxAloneWhenAnotherProgramTookItSince) {
  FakeRegistry reg;
  StartProgram(reg);
  reg.SetString("HKCR\\.syx", "", "Newer.Syx");
  Uninstall(reg);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Newer.Syx");
}

TEST(Uninstall, ASyxKeyThatCannotGoStopsNamingTheProgram) {
  FakeRegistry reg;
  StartProgram(reg);
  reg.SetString("HKCR\\.syx\\ShellNew", "NullFile", "");
  Uninstall(reg);
  ASSERT_TRUE(reg.HasKey("HKCR\\.syx"));
  EXPECT_FALSE(reg.HasValue("HKCR\\.syx", ""));
}

TEST(Uninstall, OtherProductsOfTheMakerStay) {
  FakeRegistry reg;
  StartProgram(reg);
  reg.SetDword("HKCU\\Software\\Brindlecote\\Tessary\\1.0", "Size", 3);
  reg.SetDword("HKCU\\Software\\Brindlecote\\Quillon\\1.0", "Old", 1);
  Uninstall(reg);
  EXPECT_TRUE(reg.HasKey("HKCU\\Software\\Brindlecote\\Tessary\\1.0"));
  EXPECT_FALSE(reg.HasKey("HKCU\\Software\\Brindlecote\\Quillon\\2.0"));
  // Another version's key keeps "Quillon" in place.
  EXPECT_TRUE(reg.HasKey("HKCU\\Software\\Brindlecote\\Quillon\\1.0"));
  EXPECT_FALSE(reg.HasKey("HKLM\\Software\\Brindlecote"));
}

TEST(Uninstall, NothingToRemoveIsNoFault) {
  FakeRegistry reg;
  RecordingReporter boxes = Uninstall(reg);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(reg.HasKey("HKCU\\Software"));
  EXPECT_EQ(reg.misuses, 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(Uninstall, TheNextStartIsAFirstRunThatRegistersAgain) {
  FakeRegistry reg;
  StartProgram(reg);
  Uninstall(reg);
  SettingsRecord settings;
  RecordingReporter boxes;
  NoLoader ui;
  ShellFileTypes types(reg, settings, boxes, kHere);
  LoadSettings(reg, settings, boxes, ui, &types);
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(boxes.boxes[0].caption, kWelcomeCaption);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Quillon");
  EXPECT_EQ(reg.String("HKCR\\.QvBank", ""), "QuillonBank");
}

}  // namespace
}  // namespace qv

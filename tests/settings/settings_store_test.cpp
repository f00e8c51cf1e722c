#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/settings/fake_registry.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeRegistry;
using test::RecordingReporter;
using test::ValueType;

constexpr const char* kUserKey = FakeRegistry::kUserSettings;
constexpr const char* kMachineKey = FakeRegistry::kMachineSettings;

class CountingUi : public StartupUi {
 public:
  int loaderCloses = 0;
  void CloseLoaderWindow() override { ++loaderCloses; }
};

class FakeFileTypes : public FileTypeRegistration {
 public:
  explicit FakeFileTypes(FakeRegistry& registry, int answer) : registry_(registry), answer_(answer) {}
  int checks = 0;
  int registrations = 0;
  RegKey keyGiven = kNoKey;
  bool keyWasReadable = false;

  int SyxTypeCheck(RegKey machineKey) override {
    ++checks;
    keyGiven = machineKey;
    if (machineKey != kNoKey) {
      std::int32_t probe = 0;
      // A readable handle answers a read (missing value) without misuse.
      int before = registry_.misuses;
      registry_.ReadDword(machineKey, "DisableExtensions", &probe);
      keyWasReadable = registry_.misuses == before;
      registry_.CloseKey(machineKey);
    }
    return answer_;
  }
  void RegisterDocumentTypes() override { ++registrations; }

 private:
  FakeRegistry& registry_;
  int answer_;
};

struct Start {
  SettingsRecord settings;
  RecordingReporter boxes;
  CountingUi ui;
};

void Load(FakeRegistry& reg, Start& s, FileTypeRegistration* types = nullptr) {
  LoadSettings(reg, s.settings, s.boxes, s.ui, types);
}

int CountBoxes(const RecordingReporter& r, const std::string& caption) {
  int n = 0;
  for (const auto& b : r.boxes) n += b.caption == caption;
  return n;
}

// --- first start --------------------------------------------------------

TEST(LoadSettingsFirstRun, CreatesTheKeysWithTheirClassStrings) {
  FakeRegistry reg;
  Start s;
  Load(reg, s);
  const std::vector<std::string> expected = {
      "HKCU\\Software\\Brindlecote", "HKCU\\Software\\Brindlecote\\Quillon",
      "HKCU\\Software\\Brindlecote\\Quillon\\2.0", "HKLM\\Software\\Brindlecote",
      "HKLM\\Software\\Brindlecote\\Quillon", "HKLM\\Software\\Brindlecote\\Quillon\\2.0"};
  EXPECT_EQ(reg.created, expected);
  EXPECT_EQ(reg.ClassOf("HKCU\\Software\\Brindlecote"), "");
  EXPECT_EQ(reg.ClassOf("HKCU\\Software\\Brindlecote\\Quillon"), "Quillon");
  EXPECT_EQ(reg.ClassOf(kUserKey), "Quillon");
  EXPECT_EQ(reg.ClassOf(kMachineKey), "Quillon");
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

TEST(LoadSettingsFirstRun, WritesTheDefaultsInOrderThenTheCountdown) {
  FakeRegistry reg;
  Start s;
  Load(reg, s);
  const std::vector<std::string> names = {
      "InputPort", "OutputPort", "AcknowledgeReceipt", "ReceiptLength", "WindowX", "WindowY",
      "NumBuffers", "GraphX", "GraphY", "GraphW", "GraphH", "GraphAmp1", "GraphAmp2",
      "GraphPitch1", "GraphPitch2", "GraphCutoff1", "GraphCutoff2", "BlocksPause", "ToolTips",
      "AcknowledgeMessage", "ToolTipsCountdown"};
  EXPECT_EQ(reg.WrittenNames(), names);
  const std::vector<std::pair<std::string, int>> values = {
      {"InputPort", 0},  {"WindowX", 30},     {"WindowY", 30},  {"NumBuffers", 30},
      {"GraphX", 200},   {"GraphW", 200},     {"GraphH", 200},  {"GraphCutoff2", 0},
      {"BlocksPause", 20}, {"ToolTips", 2},   {"ToolTipsCountdown", 9}};
  for (const auto& [name, value] : values) EXPECT_EQ(reg.Dword(kUserKey, name), value) << name;
  for (const auto& w : reg.writes) EXPECT_EQ(w.key, kUserKey) << w.name;
  const auto& ack = reg.Value(kUserKey, "AcknowledgeMessage");
  EXPECT_EQ(ack.type, ValueType::Binary);
  EXPECT_EQ(ack.data, std::vector<std::uint8_t>(512, 0));
  EXPECT_FALSE(reg.HasValue(kUserKey, "LibrarianInstrument"));
  EXPECT_FALSE(reg.HasValue(kUserKey, "TitleSoundDisabled"));
}

TEST(LoadSettingsFirstRun, FillsTheRecordAndShowsTheWelcomeOnce) {
  FakeRegistry reg;
  Start s;
  Load(reg, s);
  EXPECT_EQ(s.settings.WindowX, 30);
  EXPECT_EQ(s.settings.GraphW, 200);
  EXPECT_EQ(s.settings.BlocksPause, 20);
  EXPECT_EQ(s.settings.ToolTips, 2);
  EXPECT_EQ(s.settings.ToolTipsCountdown, 9);
  EXPECT_EQ(s.settings.LibrarianInstrument, -1);
  EXPECT_TRUE(s.settings.TitleSoundOn);
  EXPECT_TRUE(s.settings.TitleGraphicOn);
  for (bool first : s.settings.FirstUse) EXPECT_TRUE(first);

  ASSERT_EQ(s.boxes.boxes.size(), 1u);
  const auto& box = s.boxes.boxes[0];
  EXPECT_EQ(box.caption, "New user information");
  EXPECT_EQ(box.icon, BoxIcon::Information);
  EXPECT_EQ(box.buttons, BoxButtons::Ok);
  EXPECT_EQ(box.text.rfind("Welcome to Brindlecote Quillon 97! To get you up to speed right away, "
                           "here's some advice.\n\nBe sure to use the help file",
                           0),
            0u);
  // Six paragraphs, an empty line between each two.
  std::size_t breaks = 0;
  for (std::size_t p = box.text.find("\n\n"); p != std::string::npos; p = box.text.find("\n\n", p + 2))
    ++breaks;
  EXPECT_EQ(breaks, 5u);
  EXPECT_NE(box.text.find("\n\nDon't be alarmed if the program seems to disappear when switching "
                          "between modules; it will be back shortly!"),
            std::string::npos);
  EXPECT_EQ(s.ui.loaderCloses, 0);

  Start second;
  Load(reg, second);
  EXPECT_EQ(CountBoxes(second.boxes, "New user information"), 0);
}

// --- tooltip countdown ----------------------------------------------------

struct CountdownCase {
  const char* what;
  bool storeCountdown;
  std::int32_t countdown;
  std::int32_t toolTips;
  bool expectWrite;          // ToolTipsCountdown written
  std::int32_t expectStored;  // its value afterwards
  std::int32_t expectToolTips;
  bool expectReduced;  // box, loader closed and ToolTips written
};

class ToolTipsCountdown : public ::testing::TestWithParam<CountdownCase> {};

TEST_P(ToolTipsCountdown, LowersTheLevelOnceAtZero) {
  const CountdownCase& c = GetParam();
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  reg.SetDword(kUserKey, "ToolTips", c.toolTips);
  if (c.storeCountdown) reg.SetDword(kUserKey, "ToolTipsCountdown", c.countdown);
  Start s;
  Load(reg, s);

  std::vector<std::string> expectedWrites;
  if (c.expectWrite) expectedWrites.push_back("ToolTipsCountdown");
  if (c.expectReduced) expectedWrites.push_back("ToolTips");
  EXPECT_EQ(reg.WrittenNames(), expectedWrites);
  if (c.expectWrite || c.storeCountdown) {
    EXPECT_EQ(reg.Dword(kUserKey, "ToolTipsCountdown"), c.expectStored);
  }
  EXPECT_EQ(s.settings.ToolTips, c.expectToolTips);
  EXPECT_EQ(reg.Dword(kUserKey, "ToolTips"), c.expectToolTips);
  EXPECT_EQ(s.ui.loaderCloses, c.expectReduced ? 1 : 0);
  ASSERT_EQ(s.boxes.boxes.size(), c.expectReduced ? 1u : 0u);
  if (c.expectReduced) {
    const auto& box = s.boxes.boxes[0];
    EXPECT_EQ(box.caption, "Quillon 97");
    EXPECT_EQ(box.icon, BoxIcon::Information);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(box.text,
              "Since you've now used this program a number of times, the tooltips (yellow pop-up "
              "information boxes) have been reduced in number and frequency.\n\nThey are now set "
              "to the normal level. If you'd like to put them back the way they were before, or "
              "turn them off altogether, you can do so using the Preferences box (accessed by "
              "typing CTRL+P from any main screen).");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ToolTipsCountdown,
    ::testing::Values(
        CountdownCase{"missing counts from ten", false, 0, 2, true, 9, 2, false},
        CountdownCase{"second start", true, 9, 2, true, 8, 2, false},
        CountdownCase{"ninth start", true, 2, 2, true, 1, 2, false},
        CountdownCase{"tenth start at maximum", true, 1, 2, true, 0, 1, true},
        CountdownCase{"tenth start at normal", true, 1, 1, true, 0, 1, false},
        CountdownCase{"tenth start with tooltips off", true, 1, 0, true, 0, 0, false},
        CountdownCase{"eleventh start", true, 0, 2, false, 0, 2, false},
        CountdownCase{"hostile negative count", true, INT_MIN, 2, false, INT_MIN, 2, false},
        CountdownCase{"hostile count below zero", true, -5, 2, false, -5, 2, false}),
    [](const auto& info) {
      std::string n = info.param.what;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(ToolTipsCountdownRun, ElevenStartsReduceTheLevelAtTheTenthOnly) {
  FakeRegistry reg;
  std::vector<int> reducedAt;
  for (int start = 1; start <= 11; ++start) {
    Start s;
    Load(reg, s);
    EXPECT_EQ(CountBoxes(s.boxes, "New user information"), start == 1 ? 1 : 0) << start;
    if (CountBoxes(s.boxes, "Quillon 97") > 0) reducedAt.push_back(start);
    EXPECT_EQ(s.settings.ToolTips, start >= 10 ? 1 : 2) << start;
  }
  EXPECT_EQ(reducedAt, std::vector<int>{10});
  EXPECT_EQ(reg.Dword(kUserKey, "ToolTipsCountdown"), 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

// --- reading an existing key ---------------------------------------------

TEST(LoadSettingsExistingKey, MissingValuesKeepTheRecordDefaults) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  Start s;
  Load(reg, s);
  EXPECT_EQ(s.settings.GraphW, 100);
  EXPECT_EQ(s.settings.GraphH, 100);
  EXPECT_EQ(s.settings.GraphX, 0);
  EXPECT_EQ(s.settings.WindowX, 0);
  EXPECT_EQ(s.settings.NumBuffers, 30);
  EXPECT_EQ(s.settings.BlocksPause, 0);
  EXPECT_EQ(s.settings.ToolTips, 0);
  EXPECT_EQ(s.settings.LibrarianInstrument, -1);
  EXPECT_TRUE(s.boxes.boxes.empty());
  EXPECT_EQ(reg.WrittenNames(), std::vector<std::string>{"ToolTipsCountdown"});
}

TEST(LoadSettingsExistingKey, GraphWidthMissingAloneIsOneHundred) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  reg.SetDword(kUserKey, "GraphX", 200);
  reg.SetDword(kUserKey, "GraphY", 200);
  reg.SetDword(kUserKey, "GraphH", 200);
  Start s;
  Load(reg, s);
  EXPECT_EQ(s.settings.GraphW, 100);
  EXPECT_EQ(s.settings.GraphH, 200);
  EXPECT_EQ(s.settings.GraphX, 200);
}

TEST(LoadSettingsExistingKey, EveryStoredValueReachesItsField) {
  struct Field {
    const char* name;
    std::int32_t SettingsRecord::*field;
  };
  const Field fields[] = {
      {"InputPort", &SettingsRecord::InputPort},
      {"OutputPort", &SettingsRecord::OutputPort},
      {"AcknowledgeReceipt", &SettingsRecord::AcknowledgeReceipt},
      {"ReceiptLength", &SettingsRecord::ReceiptLength},
      {"WindowX", &SettingsRecord::WindowX},
      {"WindowY", &SettingsRecord::WindowY},
      {"NumBuffers", &SettingsRecord::NumBuffers},
      {"GraphX", &SettingsRecord::GraphX},
      {"GraphY", &SettingsRecord::GraphY},
      {"GraphW", &SettingsRecord::GraphW},
      {"GraphH", &SettingsRecord::GraphH},
      {"GraphAmp1", &SettingsRecord::GraphAmp1},
      {"GraphAmp2", &SettingsRecord::GraphAmp2},
      {"GraphPitch1", &SettingsRecord::GraphPitch1},
      {"GraphPitch2", &SettingsRecord::GraphPitch2},
      {"GraphCutoff1", &SettingsRecord::GraphCutoff1},
      {"GraphCutoff2", &SettingsRecord::GraphCutoff2},
      {"BlocksPause", &SettingsRecord::BlocksPause},
      {"ToolTips", &SettingsRecord::ToolTips},
      {"LibrarianInstrument", &SettingsRecord::LibrarianInstrument},
  };
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  std::int32_t v = 1001;
  for (const Field& f : fields) reg.SetDword(kUserKey, f.name, v++);
  reg.SetDword(kUserKey, "ToolTipsCountdown", 5);
  reg.SetDword(kUserKey, "InputPort", -1);  // the MIDI mapper
  Start s;
  Load(reg, s);
  v = 1001;
  for (const Field& f : fields) {
    std::int32_t expected = v++;
    if (std::string(f.name) == "InputPort") expected = -1;
    EXPECT_EQ(s.settings.*f.field, expected) << f.name;
  }
  EXPECT_EQ(s.settings.ToolTipsCountdown, 4);
}

TEST(LoadSettingsExistingKey, ValuesOfTheWrongSizeAreNotRead) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  reg.SetValue(kUserKey, "WindowX", ValueType::Dword, {1, 2});
  reg.SetValue(kUserKey, "WindowY", ValueType::Binary, {1, 2, 3, 4, 5, 6, 7, 8});
  reg.SetValue(kUserKey, "LibrarianInstrument", ValueType::Dword, {});
  reg.SetValue(kUserKey, "ToolTipsCountdown", ValueType::Binary, {1, 0, 0, 0, 0});
  Start s;
  s.settings.WindowX = 77;
  Load(reg, s);
  EXPECT_EQ(s.settings.WindowX, 77);
  EXPECT_EQ(s.settings.WindowY, 0);
  EXPECT_EQ(s.settings.LibrarianInstrument, -1);
  EXPECT_EQ(reg.Dword(kUserKey, "ToolTipsCountdown"), 9);
}

// --- presence flags -------------------------------------------------------

struct FlagCase {
  const char* what;
  ValueType type;
  std::size_t bytes;
  bool counts;  // the flag is taken as present
};

class PresenceFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(PresenceFlags, OnlyValuesOfAtMostFourBytesCount) {
  const FlagCase& c = GetParam();
  for (const char* name : {"TitleSoundDisabled", "TitleGraphicTurnedOff"}) {
    FakeRegistry reg;
    reg.AddKey(kUserKey, "Quillon");
    reg.SetValue(kUserKey, name, c.type, std::vector<std::uint8_t>(c.bytes, 0x5A));
    Start s;
    Load(reg, s);
    bool sound = std::string(name) == "TitleSoundDisabled";
    EXPECT_EQ(s.settings.TitleSoundOn, sound ? !c.counts : true) << name;
    EXPECT_EQ(s.settings.TitleGraphicOn, sound ? true : !c.counts) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, PresenceFlags,
    ::testing::Values(FlagCase{"DwordNoData", ValueType::Dword, 0, true},
                      FlagCase{"NoneNoData", ValueType::None, 0, true},
                      FlagCase{"BinaryNoData", ValueType::Binary, 0, true},
                      FlagCase{"DwordFourBytes", ValueType::Dword, 4, true},
                      FlagCase{"BinaryThreeBytes", ValueType::Binary, 3, true},
                      FlagCase{"BinaryFiveBytes", ValueType::Binary, 5, false},
                      FlagCase{"BinaryLong", ValueType::Binary, 600, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(FirstUseMarkers, PresentMarkersClearTheirFlags) {
  struct Case {
    std::vector<std::pair<int, std::size_t>> markers;  // module, data bytes
    bool expected[3];
  };
  const Case cases[] = {
      {{}, {true, true, true}},
      {{{1, 4}}, {true, false, true}},
      {{{0, 4}, {2, 0}}, {false, true, false}},
      {{{0, 4}, {1, 4}, {2, 4}}, {false, false, false}},
      {{{2, 8}}, {true, true, true}},  // too long to be read
  };
  for (const Case& c : cases) {
    FakeRegistry reg;
    reg.AddKey(kMachineKey, "Quillon");
    for (auto [module, bytes] : c.markers)
      reg.SetValue(kMachineKey, "FirstTime" + std::to_string(module), ValueType::Dword,
                   std::vector<std::uint8_t>(bytes, 1));
    Start s;
    s.settings.FirstUse[0] = s.settings.FirstUse[1] = s.settings.FirstUse[2] = false;
    Load(reg, s);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.settings.FirstUse[i], c.expected[i]) << i;
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
  }
}

TEST(FirstUseMarkers, RefusedMachineKeyCountsEveryModuleAsNew) {
  FakeRegistry reg;
  reg.RefuseCreateUnder("HKLM\\Software\\Brindlecote");
  Start s;
  FakeFileTypes types(reg, 1);
  Load(reg, s, &types);
  for (bool first : s.settings.FirstUse) EXPECT_TRUE(first);
  EXPECT_FALSE(reg.HasKey("HKLM\\Software\\Brindlecote"));
  EXPECT_EQ(types.checks, 1);
  EXPECT_EQ(types.keyGiven, kNoKey);
  EXPECT_EQ(types.registrations, 1);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

// --- acknowledgement message ------------------------------------------------

TEST(AcknowledgeMessage, IsReadUpToFiveHundredTwelveBytes) {
  struct Case {
    std::size_t stored;
    std::size_t expectRead;  // bytes taken from the registry
  };
  for (Case c : {Case{512, 512}, Case{10, 10}, Case{0, 0}, Case{513, 0}, Case{4000, 0}}) {
    FakeRegistry reg;
    reg.AddKey(kUserKey, "Quillon");
    std::vector<std::uint8_t> data(c.stored);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    reg.SetValue(kUserKey, "AcknowledgeMessage", ValueType::Binary, data);
    Start s;
    Load(reg, s);
    for (std::size_t i = 0; i < kAcknowledgeMessageSize; ++i) {
      std::uint8_t expected = i < c.expectRead ? data[i] : 0;
      ASSERT_EQ(s.settings.AcknowledgeMessage[i], expected) << c.stored << " at " << i;
    }
  }
}

// --- the file-type check hook ------------------------------------------------

TEST(FileTypeCheck, GetsTheOpenMachineKeyAndDecidesTheRegistration) {
  for (int answer : {0, 1}) {
    FakeRegistry reg;
    FakeFileTypes types(reg, answer);
    Start s;
    Load(reg, s, &types);
    EXPECT_EQ(types.checks, 1);
    EXPECT_NE(types.keyGiven, kNoKey);
    EXPECT_TRUE(types.keyWasReadable);
    EXPECT_EQ(types.registrations, answer);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_EQ(reg.misuses, 0);
  }
}

TEST(FileTypeCheck, WithoutItTheMachineKeyIsClosed) {
  FakeRegistry reg;
  Start s;
  Load(reg, s, nullptr);
  EXPECT_TRUE(reg.HasKey(kMachineKey));
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_FALSE(s.settings.HandlesSyxFiles);
}

TEST(LoadSettingsNoUserRoot, KeepsDefaultsAndCreatesNothing) {
  FakeRegistry reg;
  reg.DeleteTree("HKCU\\Software");
  Start s;
  Load(reg, s);
  EXPECT_FALSE(reg.HasKey(kUserKey));
  EXPECT_TRUE(s.boxes.boxes.empty());
  EXPECT_EQ(s.settings.LibrarianInstrument, -1);
  EXPECT_TRUE(s.settings.TitleSoundOn);
  EXPECT_EQ(s.settings.NumBuffers, 30);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

// --- saving -------------------------------------------------------------

TEST(SaveSettings, WritesTheRecordInOrderWithoutTheStartUpValues) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  SettingsRecord settings;
  settings.WindowX = 123;
  settings.GraphCutoff2 = 1;
  settings.LibrarianInstrument = 4;
  settings.NumBuffers = 7;
  settings.BlocksPause = 99;
  settings.ToolTips = 1;
  settings.ReceiptLength = 3;
  settings.AcknowledgeMessage[0] = 0xF0;
  settings.AcknowledgeMessage[511] = 0xF7;
  SaveSettings(reg, settings);
  const std::vector<std::string> names = {
      "InputPort", "OutputPort", "AcknowledgeReceipt", "ReceiptLength", "WindowX", "WindowY",
      "GraphX", "GraphY", "GraphW", "GraphH", "GraphAmp1", "GraphAmp2", "GraphPitch1",
      "GraphPitch2", "GraphCutoff1", "GraphCutoff2", "LibrarianInstrument", "AcknowledgeMessage"};
  EXPECT_EQ(reg.WrittenNames(), names);
  EXPECT_EQ(reg.Dword(kUserKey, "WindowX"), 123);
  EXPECT_EQ(reg.Dword(kUserKey, "GraphCutoff2"), 1);
  EXPECT_EQ(reg.Dword(kUserKey, "LibrarianInstrument"), 4);
  EXPECT_EQ(reg.Dword(kUserKey, "GraphW"), 100);
  const auto& ack = reg.Value(kUserKey, "AcknowledgeMessage");
  EXPECT_EQ(ack.type, ValueType::Binary);
  ASSERT_EQ(ack.data.size(), 512u);
  EXPECT_EQ(ack.data[0], 0xF0);
  EXPECT_EQ(ack.data[511], 0xF7);
  for (const auto& w : reg.writes) {
    if (w.name != "AcknowledgeMessage") {
      EXPECT_EQ(w.type, ValueType::Dword) << w.name;
    }
  }
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

TEST(SaveSettings, NoInstrumentLeavesTheStoredOneAlone) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  reg.SetDword(kUserKey, "LibrarianInstrument", 6);
  SettingsRecord settings;
  settings.LibrarianInstrument = -1;
  SaveSettings(reg, settings);
  for (const auto& name : reg.WrittenNames()) EXPECT_NE(name, "LibrarianInstrument");
  EXPECT_EQ(reg.Dword(kUserKey, "LibrarianInstrument"), 6);
}

TEST(SaveSettings, AfterAnUninstallWritesAndCreatesNothing) {
  FakeRegistry reg;
  Start s;
  Load(reg, s);
  reg.writes.clear();
  reg.created.clear();
  reg.DeleteTree("HKCU\\Software\\Brindlecote");
  reg.DeleteTree("HKLM\\Software\\Brindlecote");
  SaveSettings(reg, s.settings);
  SaveBufferCount(reg, s.settings);
  WriteFirstUseMarker(reg, s.settings, kEditorModule);
  EXPECT_TRUE(reg.writes.empty());
  EXPECT_TRUE(reg.created.empty());
  EXPECT_FALSE(reg.HasKey("HKCU\\Software\\Brindlecote"));
  EXPECT_FALSE(reg.HasKey("HKLM\\Software\\Brindlecote"));
  EXPECT_FALSE(s.settings.FirstUse[kEditorModule]);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(SaveSettings, WhatIsSavedIsWhatTheNextStartReads) {
  FakeRegistry reg;
  Start first;
  Load(reg, first);
  first.settings.WindowX = -20;
  first.settings.GraphH = 321;
  first.settings.LibrarianInstrument = 2;
  first.settings.AcknowledgeMessage[100] = 0x42;
  SaveSettings(reg, first.settings);
  Start next;
  Load(reg, next);
  EXPECT_EQ(next.settings.WindowX, -20);
  EXPECT_EQ(next.settings.GraphH, 321);
  EXPECT_EQ(next.settings.LibrarianInstrument, 2);
  EXPECT_EQ(next.settings.AcknowledgeMessage[100], 0x42);
}

TEST(SaveBufferCount, WritesOnlyTheBufferCount) {
  FakeRegistry reg;
  reg.AddKey(kUserKey, "Quillon");
  SettingsRecord settings;
  settings.NumBuffers = 12;
  SaveBufferCount(reg, settings);
  EXPECT_EQ(reg.WrittenNames(), std::vector<std::string>{"NumBuffers"});
  EXPECT_EQ(reg.Dword(kUserKey, "NumBuffers"), 12);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

// --- opening the key for immediate writes ----------------------------------

TEST(OpenSettingsKey, OpensEveryLevelButCreatesNone) {
  const char* partial[] = {"", "HKCU\\Software\\Brindlecote", "HKCU\\Software\\Brindlecote\\Quillon"};
  for (const char* present : partial) {
    FakeRegistry reg;
    if (*present) reg.AddKey(present);
    EXPECT_EQ(OpenSettingsKey(reg, kCurrentUserRoot), kNoKey) << present;
    EXPECT_TRUE(reg.created.empty());
    EXPECT_FALSE(reg.HasKey(kUserKey));
    EXPECT_EQ(reg.OpenHandleCount(), 0u) << present;
  }
  FakeRegistry reg;
  reg.AddKey(kMachineKey);
  RegKey key = OpenSettingsKey(reg, kLocalMachineRoot);
  ASSERT_NE(key, kNoKey);
  EXPECT_EQ(reg.OpenHandleCount(), 1u);  // the parents are closed already
  EXPECT_TRUE(reg.WriteEmpty(key, "DisableExtensions", RegEmptyType::None));
  reg.CloseKey(key);
  EXPECT_EQ(reg.Value(kMachineKey, "DisableExtensions").type, ValueType::None);
  EXPECT_TRUE(reg.Value(kMachineKey, "DisableExtensions").data.empty());
  EXPECT_EQ(reg.misuses, 0);
}

TEST(WriteFirstUseMarker, WritesTheMarkerAndClearsTheFlag) {
  FakeRegistry reg;
  Start s;
  Load(reg, s);
  reg.writes.clear();
  WriteFirstUseMarker(reg, s.settings, kLibrarianModule);
  ASSERT_EQ(reg.writes.size(), 1u);
  EXPECT_EQ(reg.writes[0].key, kMachineKey);
  EXPECT_EQ(reg.writes[0].name, "FirstTime1");
  EXPECT_EQ(reg.writes[0].type, ValueType::Dword);
  EXPECT_FALSE(s.settings.FirstUse[kLibrarianModule]);
  EXPECT_TRUE(s.settings.FirstUse[kManagerModule]);

  Start again;
  Load(reg, again);
  EXPECT_FALSE(again.settings.FirstUse[kLibrarianModule]);
  EXPECT_TRUE(again.settings.FirstUse[kEditorModule]);

  reg.writes.clear();
  WriteFirstUseMarker(reg, again.settings, 3);  // no such module
  WriteFirstUseMarker(reg, again.settings, -1);
  EXPECT_TRUE(reg.writes.empty());
}

}  // namespace
}  // namespace qv

#include "settings/file_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "tests/settings/fake_registry.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::FakeRegistry;
using test::RecordingReporter;
using test::ValueType;

const ProgramLocation kHere{"C:\\Tools\\Quillon\\Mirelda.dat", "C:\\Tools\\Quillon"};
const ProgramLocation kMoved{"D:\\Music\\Qv\\Mirelda.dat", "D:\\Music\\Qv"};
constexpr const char* kMachineKey = FakeRegistry::kMachineSettings;

class NoLoader : public StartupUi {
 public:
  void CloseLoaderWindow() override {}
};

struct Start {
  SettingsRecord settings;
  RecordingReporter boxes;
  NoLoader ui;
};

// One start of the program as the start-up read runs the file-type check.
void StartProgram(FakeRegistry& reg, Start& s, const ProgramLocation& where = kHere) {
  ShellFileTypes types(reg, s.settings, s.boxes, where);
  LoadSettings(reg, s.settings, s.boxes, s.ui, &types);
}

std::vector<test::ShownBox> BoxesCaptioned(const RecordingReporter& r, const std::string& caption) {
  std::vector<test::ShownBox> found;
  for (const auto& b : r.boxes)
    if (b.caption == caption) found.push_back(b);
  return found;
}

int WritesUnder(const FakeRegistry& reg, const std::string& root) {
  int n = 0;
  for (const auto& w : reg.writes) n += w.key.rfind(root, 0) == 0;
  return n;
}

struct Entry {
  const char* key;
  std::string defaultValue;
};

std::vector<Entry> ExpectedEntries(const ProgramLocation& at) {
  return {
      {"HKCR\\.syx", "Quillon"},
      {"HKCR\\Quillon", "MIDI System Exclusive data"},
      {"HKCR\\Quillon\\DefaultIcon", at.path + ",1"},
      {"HKCR\\Quillon\\Shell", "Send"},
      {"HKCR\\Quillon\\Shell\\Send", "Send"},
      {"HKCR\\Quillon\\Shell\\Send\\command", at.path + " /send %1"},
      {"HKCR\\Quillon\\Shell\\Open", "Open"},
      {"HKCR\\Quillon\\Shell\\Open\\command", at.folder + "\\Mirelda /open %1"},
      {"HKCR\\.QvInstrument", "QuillonInstrument"},
      {"HKCR\\QuillonInstrument", "Instrument definition for Quillon"},
      {"HKCR\\QuillonInstrument\\DefaultIcon", at.path + ",2"},
      {"HKCR\\QuillonInstrument\\Shell", "Open"},
      {"HKCR\\QuillonInstrument\\Shell\\Open", "Open"},
      {"HKCR\\QuillonInstrument\\Shell\\Open\\command", at.folder + "\\Mirelda /librarian %1"},
      {"HKCR\\.QvBank", "QuillonBank"},
      {"HKCR\\QuillonBank", "Program bank file for Quillon"},
      {"HKCR\\QuillonBank\\DefaultIcon", at.path + ",3"},
      {"HKCR\\QuillonBank\\Shell", "Open"},
      {"HKCR\\QuillonBank\\Shell\\Open", "Open"},
      {"HKCR\\QuillonBank\\Shell\\Open\\command", at.folder + "\\Mirelda /bankfile %1"},
  };
}

// A key that existed before keeps the class string it was made with.
void ExpectAllEntries(const FakeRegistry& reg, const ProgramLocation& at,
                      const std::string& existedBefore = "") {
  for (const Entry& e : ExpectedEntries(at)) {
    SCOPED_TRACE(e.key);
    ASSERT_TRUE(reg.HasKey(e.key));
    if (e.key != existedBefore) {
      EXPECT_EQ(reg.ClassOf(e.key), "Quillon");
    }
    ASSERT_TRUE(reg.HasValue(e.key, ""));
    EXPECT_EQ(reg.Value(e.key, "").type, ValueType::String);
    EXPECT_EQ(reg.String(e.key, ""), e.defaultValue);
  }
}

void ExpectTidy(const FakeRegistry& reg) {
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
  EXPECT_EQ(reg.misuses, 0);
}

// --- first start ------------------------------------------------------------

TEST(FileTypesFirstStart, WithoutSyxTakesItAndRegistersEveryTypeWithoutAsking) {
  FakeRegistry reg;
  Start s;
  StartProgram(reg, s);
  EXPECT_TRUE(BoxesCaptioned(s.boxes, kSyxConfigurationCaption).empty());
  EXPECT_TRUE(s.settings.HandlesSyxFiles);
  ExpectAllEntries(reg, kHere);
  EXPECT_FALSE(reg.HasValue("HKCR\\Quillon", "OldSYXApp"));
  EXPECT_FALSE(reg.HasValue(kMachineKey, "DisableExtensions"));
  ExpectTidy(reg);
}

TEST(FileTypesFirstStart, StringsAreStoredWithTheirTerminatingZero) {
  FakeRegistry reg;
  Start s;
  StartProgram(reg, s);
  const auto& v = reg.Value("HKCR\\.syx", "");
  ASSERT_EQ(v.data.size(), 8u);
  EXPECT_EQ(v.data.back(), 0);
}

TEST(FileTypesLaterStart, EverythingInPlaceWritesNothing) {
  FakeRegistry reg;
  Start first;
  StartProgram(reg, first);
  reg.writes.clear();
  reg.created.clear();
  Start second;
  StartProgram(reg, second);
  EXPECT_EQ(WritesUnder(reg, "HKCR"), 0);
  EXPECT_TRUE(reg.created.empty());
  EXPECT_TRUE(second.settings.HandlesSyxFiles);
  EXPECT_TRUE(second.boxes.boxes.empty());
  ExpectTidy(reg);
}

TEST(FileTypesLaterStart, AMovedProgramRewritesEveryEntryWithoutAsking) {
  FakeRegistry reg;
  Start first;
  StartProgram(reg, first);
  Start moved;
  StartProgram(reg, moved, kMoved);
  EXPECT_TRUE(BoxesCaptioned(moved.boxes, kSyxConfigurationCaption).empty());
  EXPECT_TRUE(moved.settings.HandlesSyxFiles);
  ExpectAllEntries(reg, kMoved);
  ExpectTidy(reg);
}

TEST(FileTypesLaterStart, TheIconPathIsComparedCaseIncluded) {
  FakeRegistry reg;
  Start first;
  StartProgram(reg, first);
  ProgramLocation upper{"C:\\TOOLS\\Quillon\\Mirelda.dat", "C:\\TOOLS\\Quillon"};
  reg.writes.clear();
  EXPECT_EQ(SyxTypeCheck(reg, first.settings, first.boxes, kNoKey, upper), 1);
  EXPECT_EQ(reg.String("HKCR\\Quillon\\DefaultIcon", ""), upper.path + ",1");
}

// --- another owner ------------------------------------------------------------

struct OwnerCase {
  const char* name;
  BoxAnswer answer;
};

class AnotherOwner : public testing::TestWithParam<OwnerCase> {};

TEST_P(AnotherOwner, IsAskedAndTheAnswerDecides) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "MidiOx.Sysex");
  Start s;
  s.boxes.answers = {BoxAnswer::Ok, GetParam().answer};  // welcome, question
  StartProgram(reg, s);

  auto asked = BoxesCaptioned(s.boxes, kSyxConfigurationCaption);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, kSyxOtherOwnerText);
  EXPECT_EQ(asked[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(asked[0].buttons, BoxButtons::YesNo);

  if (GetParam().answer == BoxAnswer::Yes) {
    EXPECT_TRUE(s.settings.HandlesSyxFiles);
    ExpectAllEntries(reg, kHere);
    EXPECT_EQ(reg.String("HKCR\\Quillon", "OldSYXApp"), "MidiOx.Sysex");
    EXPECT_EQ(reg.Value("HKCR\\Quillon", "OldSYXApp").type, ValueType::String);
    EXPECT_FALSE(reg.HasValue(kMachineKey, "DisableExtensions"));
  } else {
    EXPECT_FALSE(s.settings.HandlesSyxFiles);
    EXPECT_EQ(reg.String("HKCR\\.syx", ""), "MidiOx.Sysex");
    EXPECT_FALSE(reg.HasKey("HKCR\\Quillon"));
    ASSERT_TRUE(reg.HasValue(kMachineKey, "DisableExtensions"));
    EXPECT_EQ(reg.Value(kMachineKey, "DisableExtensions").type, ValueType::None);
    EXPECT_TRUE(reg.Value(kMachineKey, "DisableExtensions").data.empty());
    // The document types are registered all the same.
    EXPECT_EQ(reg.String("HKCR\\.QvBank", ""), "QuillonBank");
    EXPECT_EQ(reg.String("HKCR\\QuillonInstrument\\DefaultIcon", ""), kHere.path + ",2");
  }
  ExpectTidy(reg);
}

INSTANTIATE_TEST_SUITE_P(Answers, AnotherOwner,
                         testing::Values(OwnerCase{"Yes", BoxAnswer::Yes},
                                         OwnerCase{"No", BoxAnswer::No}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileTypesAnotherOwner, DeclinedIsNotAskedAgainButTheDocumentsAreRegistered) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "Other.Syx");
  Start first;
  first.boxes.answers = {BoxAnswer::Ok, BoxAnswer::No};
  StartProgram(reg, first);
  reg.DeleteTree("HKCR\\QuillonBank");
  Start second;
  StartProgram(reg, second);
  EXPECT_TRUE(second.boxes.boxes.empty());
  EXPECT_FALSE(second.settings.HandlesSyxFiles);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Other.Syx");
  EXPECT_EQ(reg.String("HKCR\\QuillonBank\\Shell\\Open\\command", ""),
            kHere.folder + "\\Mirelda /bankfile %1");
  ExpectTidy(reg);
}

TEST(FileTypesAnotherOwner, AnOwnerNamedInOtherCaseIsAnotherProgram) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "quillon");
  Start s;
  s.boxes.answers = {BoxAnswer::Ok, BoxAnswer::Yes};
  StartProgram(reg, s);
  EXPECT_EQ(BoxesCaptioned(s.boxes, kSyxConfigurationCaption).size(), 1u);
  EXPECT_EQ(reg.String("HKCR\\Quillon", "OldSYXApp"), "quillon");
}

TEST(FileTypesAnotherOwner, SubKeysOfTheOwnerStayWhenTheTypeIsTaken) {
  FakeRegistry reg;
  reg.SetString("HKCR\\.syx", "", "Other.Syx");
  reg.SetString("HKCR\\.syx\\OpenWithProgids", "Other.Syx", "");
  Start s;
  s.boxes.answers = {BoxAnswer::Ok, BoxAnswer::Yes};
  StartProgram(reg, s);
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Quillon");
  EXPECT_TRUE(reg.HasKey("HKCR\\.syx\\OpenWithProgids"));
  EXPECT_EQ(reg.String("HKCR\\Quillon", "OldSYXApp"), "Other.Syx");
  ExpectTidy(reg);
}

// A .syx key that names no owner (no default value, or an empty one) may
// still be another program's: the start asks as for any other owner.
TEST(FileTypesAnotherOwner, AKeyWithoutANamedOwnerIsAskedAboutToo) {
  for (bool emptyValue : {false, true}) {
    for (BoxAnswer answer : {BoxAnswer::Yes, BoxAnswer::No}) {
      SCOPED_TRACE(std::string(emptyValue ? "empty value, " : "no value, ") +
                   (answer == BoxAnswer::Yes ? "Yes" : "No"));
      FakeRegistry reg;
      reg.AddKey("HKCR\\.syx");
      if (emptyValue) reg.SetString("HKCR\\.syx", "", "");
      reg.SetString("HKCR\\.syx\\OpenWithProgids", "Other.Syx", "");
      Start s;
      s.boxes.answers = {BoxAnswer::Ok, answer};
      StartProgram(reg, s);
      auto asked = BoxesCaptioned(s.boxes, kSyxConfigurationCaption);
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].text, kSyxOtherOwnerText);
      if (answer == BoxAnswer::Yes) {
        EXPECT_TRUE(s.settings.HandlesSyxFiles);
        EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Quillon");
        // An empty value is given back as it was; a missing one is not made up.
        EXPECT_EQ(reg.HasValue("HKCR\\Quillon", "OldSYXApp"), emptyValue);
        if (emptyValue) { EXPECT_EQ(reg.String("HKCR\\Quillon", "OldSYXApp"), ""); }
      } else {
        EXPECT_FALSE(s.settings.HandlesSyxFiles);
        EXPECT_EQ(reg.HasValue("HKCR\\.syx", ""), emptyValue);
        EXPECT_TRUE(reg.HasKey("HKCR\\.syx\\OpenWithProgids"));
        EXPECT_FALSE(reg.HasKey("HKCR\\Quillon"));
        EXPECT_TRUE(reg.HasValue(kMachineKey, "DisableExtensions"));
      }
    }
  }
}

// --- DisableExtensions and refusals ----------------------------------------------

TEST(FileTypesDisabled, LeavesSyxAloneWithoutAsking) {
  FakeRegistry reg;
  reg.SetValue(kMachineKey, "DisableExtensions", ValueType::None, {});
  Start s;
  StartProgram(reg, s);
  EXPECT_FALSE(s.settings.HandlesSyxFiles);
  EXPECT_TRUE(BoxesCaptioned(s.boxes, kSyxConfigurationCaption).empty());
  EXPECT_FALSE(reg.HasKey("HKCR\\.syx"));
  EXPECT_FALSE(reg.HasKey("HKCR\\Quillon"));
  EXPECT_EQ(reg.String("HKCR\\.QvInstrument", ""), "QuillonInstrument");
  ExpectTidy(reg);
}

class RefusedSyx : public testing::TestWithParam<OwnerCase> {};

TEST_P(RefusedSyx, AsksWhetherToTryAgainAndNoDeclines) {
  FakeRegistry reg;
  reg.RefuseCreateUnder("HKCR\\.syx");
  Start s;
  s.boxes.answers = {BoxAnswer::Ok, GetParam().answer};
  StartProgram(reg, s);
  auto asked = BoxesCaptioned(s.boxes, kSyxConfigurationCaption);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, kSyxAccessRefusedText);
  EXPECT_EQ(asked[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(asked[0].buttons, BoxButtons::YesNo);
  EXPECT_FALSE(s.settings.HandlesSyxFiles);
  EXPECT_EQ(reg.HasValue(kMachineKey, "DisableExtensions"), GetParam().answer == BoxAnswer::No);
  EXPECT_FALSE(reg.HasKey("HKCR\\Quillon"));
  EXPECT_EQ(reg.String("HKCR\\.QvBank", ""), "QuillonBank");
  ExpectTidy(reg);
}

INSTANTIATE_TEST_SUITE_P(Answers, RefusedSyx,
                         testing::Values(OwnerCase{"Yes", BoxAnswer::Yes},
                                         OwnerCase{"No", BoxAnswer::No}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileTypesRefusedMachineKey, TheTypesAreStillRegistered) {
  FakeRegistry reg;
  reg.RefuseCreateUnder("HKLM\\Software\\Brindlecote");
  Start s;
  StartProgram(reg, s);
  EXPECT_TRUE(s.settings.HandlesSyxFiles);
  ExpectAllEntries(reg, kHere);
  ExpectTidy(reg);
}

TEST(FileTypesRefusedMachineKey, ADeclineCannotBeStoredAndIsAskedAgain) {
  FakeRegistry reg;
  reg.RefuseCreateUnder("HKLM\\Software\\Brindlecote");
  reg.SetString("HKCR\\.syx", "", "Other.Syx");
  for (int start = 0; start < 2; ++start) {
    Start s;
    s.boxes.answers = {BoxAnswer::No, BoxAnswer::No};
    StartProgram(reg, s);
    EXPECT_EQ(BoxesCaptioned(s.boxes, kSyxConfigurationCaption).size(), 1u);
    EXPECT_FALSE(s.settings.HandlesSyxFiles);
  }
  EXPECT_EQ(reg.String("HKCR\\.syx", ""), "Other.Syx");
  ExpectTidy(reg);
}

}  // namespace
}  // namespace qv

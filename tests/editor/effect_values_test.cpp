#include <gtest/gtest.h>

#include "editor/effect_values.h"
#include "editor/whole_number.h"

namespace qv {
namespace {

TEST(ModulationSpeed, FormatsTheThreeScales) {
  struct Case { int byte; const char* text; };
  for (Case c : {Case{0, "0.03"}, Case{9, "0.30"}, Case{32, "0.99"}, Case{99, "3.00"},
                 Case{100, "3.1"}, Case{168, "9.9"}, Case{169, "10.0"}, Case{199, "13.0"},
                 Case{200, "14"}, Case{202, "16"}, Case{210, "24"}, Case{216, "30"}})
    EXPECT_EQ(FormatModulationSpeed(c.byte), c.text) << c.byte;
}

TEST(ModulationSpeed, EveryByteReadsBackFromItsText) {
  for (int b = 0; b <= 216; ++b) {
    auto back = ParseModulationSpeed(FormatModulationSpeed(b), 216);
    ASSERT_TRUE(back) << b;
    EXPECT_EQ(*back, b);
  }
}

TEST(ModulationSpeed, ParsesTheFourForms) {
  struct Case { const char* text; int byte; };
  for (Case c : {Case{"0.3T", 9}, Case{"0.3", 9}, Case{"3.0S", 99}, Case{"3.00", 99},
                 Case{"3.1S", 100}, Case{"16.0T", 202}, Case{"30T", 216}, Case{"0.09", 2},
                 Case{"0.8", 25}, Case{"5.5", 124}, Case{"12.5", 194}, Case{"13", 199},
                 Case{"0.04", 0}, Case{"3.01", 99}, Case{"3.05", 99}, Case{"3.09", 99}})
    EXPECT_EQ(ParseModulationSpeed(c.text, 216), std::optional<int>(c.byte)) << c.text;
}

TEST(ModulationSpeed, RefusesBadAndOutOfScaleTexts) {
  for (const char* text : {"0.01S", "8S", "31.03S", "8", "0.", "", "a.bc", "3.x", "1x.5",
                           "05", "12", "00.5", "13.5", "31", "99"})
    EXPECT_FALSE(ParseModulationSpeed(text, 216)) << text;
  EXPECT_FALSE(ParseModulationSpeed("30", 215));
}

TEST(ReverbTime, FormatsAndParsesTenthsOfSeconds) {
  EXPECT_EQ(FormatReverbTime(0), "0.2");
  EXPECT_EQ(FormatReverbTime(23), "2.5");
  EXPECT_EQ(FormatReverbTime(97), "9.9");
  EXPECT_EQ(ParseReverbTime("2.5", 97), std::optional<int>(23));
  EXPECT_EQ(ParseReverbTime("9.9xyz", 97), std::optional<int>(97));
  EXPECT_EQ(ParseReverbTime("0.2", 47), std::optional<int>(0));
  for (const char* text : {"2,5", "10.0", "0.1", "5.0", "", "2.", ".5"})
    EXPECT_FALSE(ParseReverbTime(text, 47)) << text;
}

TEST(EffectValueText, ShowsEachKind) {
  const std::uint8_t raw[8] = {0xF4, 0x01, 0x07, 150, 0xFF, 210, 1, 2};
  EffectBlock block(raw, 8);
  struct Case { EffectRow row; const char* text; };
  const Case cases[] = {
      {{0, 500, EffectValueKind::Word, "x", ""}, "500"},
      {{3, 200, EffectValueKind::Number, "x", ""}, "150"},
      {{4, -12, EffectValueKind::Number, "x", ""}, "-1"},
      {{4, 99, EffectValueKind::Number, "x", ""}, "255"},
      {{5, 216, EffectValueKind::SpeedWave, "x", ""}, "24T"},
      {{5, 216, EffectValueKind::Speed, "x", ""}, "24"},
      {{2, 97, EffectValueKind::ReverbTime, "x", ""}, "0.9"},
      {{2, 70, EffectValueKind::ReflectionTime, "x", ""}, "170"},
      {{6, 2, EffectValueKind::LowCorner, "x", ""}, "500"},
      {{7, 2, EffectValueKind::MidCorner, "x", ""}, "2000"},
      {{6, 2, EffectValueKind::HighCorner, "x", ""}, "2000"},
      {{3, 2, EffectValueKind::HighCorner, "x", ""}, "150"},  // beyond the three
      {{2, 10, EffectValueKind::EmphasisPoint, "x", ""}, "7"},
      {{-1, 0, EffectValueKind::None, "", ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(EffectValueText(c.row, block), c.text) << c.text;
}

TEST(EffectEntries, ReadByKind) {
  const EffectRow er = {0, 70, EffectValueKind::ReflectionTime, "E/R Time", ""};
  EXPECT_EQ(ReadEffectEntry(er, "800", 800).value, std::optional<int>(70));
  EXPECT_EQ(ReadEffectEntry(er, "100", 100).value, std::optional<int>(0));
  EXPECT_EQ(ReadEffectEntry(er, "805", 805).problem, EffectEntryProblem::Range);
  EXPECT_EQ(ReadEffectEntry(er, "90", 90).problem, EffectEntryProblem::Range);
  EXPECT_EQ(EffectEntryMessage(er, EffectEntryProblem::Range),
            "You must choose a value between 100 and 800 for this setting.");
  const EffectRow short_er = {4, 30, EffectValueKind::ShortReflectionTime, "E/R Time", ""};
  EXPECT_EQ(EffectEntryMessage(short_er, EffectEntryProblem::Range),
            "You must choose a value between 100 and 400 for this setting.");

  const EffectRow wave = {1, 216, EffectValueKind::SpeedWave, "Speed/Wv", ""};
  EffectEntry e = ReadEffectEntry(wave, "0.3T", kNotANumber);
  EXPECT_EQ(e.value, std::optional<int>(9));
  EXPECT_EQ(e.wave, 1);
  e = ReadEffectEntry(wave, "8s", kNotANumber);
  EXPECT_FALSE(e.value);
  EXPECT_EQ(e.wave, 0);
  EXPECT_EQ(e.problem, EffectEntryProblem::SpeedForm);
  e = ReadEffectEntry(wave, "0.3", kNotANumber);
  EXPECT_EQ(e.wave, -1);
  EXPECT_EQ(e.problem, EffectEntryProblem::WaveLetter);

  const EffectRow low = {4, 2, EffectValueKind::LowCorner, "Low fc", ""};
  EXPECT_EQ(ReadEffectEntry(low, "1000", 1000).value, std::optional<int>(2));
  EXPECT_EQ(ReadEffectEntry(low, "2000", 2000).problem, EffectEntryProblem::LowCorner);
  const EffectRow emphasis = {1, 10, EffectValueKind::EmphasisPoint, "Emph. Pt.", ""};
  EXPECT_EQ(ReadEffectEntry(emphasis, "0", 0).problem, EffectEntryProblem::Range);
  EXPECT_EQ(ReadEffectEntry(emphasis, "10", 10).value, std::optional<int>(10));
  EXPECT_EQ(EffectEntryMessage(emphasis, EffectEntryProblem::Range),
            "You must choose a value between 1 and 10 for this setting.");
  const EffectRow word = {0, 500, EffectValueKind::Word, "Delay T.", ""};
  EXPECT_EQ(ReadEffectEntry(word, "500", 500).value, std::optional<int>(500));
  EXPECT_EQ(ReadEffectEntry(word, "501", 501).problem, EffectEntryProblem::Range);
}

TEST(EffectEntries, MessagesAreTheSystemsOwn) {
  const EffectRow hall = {0, 97, EffectValueKind::ReverbTime, "", ""};
  const EffectRow room = {0, 47, EffectValueKind::ReverbTime, "", ""};
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::ReverbForm),
            "You must choose a value between 0.2 and 9.9 for this setting. The value must be "
            "entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ");
  EXPECT_EQ(EffectEntryMessage(room, EffectEntryProblem::ReverbForm),
            "You must choose a value between 0.2 and 4.9 for this setting. The value must be "
            "entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ");
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::SpeedForm),
            "You haven't entered this number correctly. A valid number contains at least one "
            "decimal point. After this point, there is at least one digit. In addition, the "
            "number must be between 0.03 and 30.0. For instance, 0.09, 0.8, 3.00, 3.0, and "
            "16.0 are all valid. 8, 0.01, and 31.03 are not.");
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::WaveLetter),
            "This edit box requires both a number to indicate a frequency, and a letter to "
            "indicate which type of wave to use. The last letter of the edit box must be "
            "either T (triangle) or S (sine), for this reason. If there is anything after "
            "this letter, delete it.");
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::LowCorner),
            "The EQ's low FC can only take the values 250, 500, or 1000 (Hz).");
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::MidCorner),
            "The EQ's mid-range FC can only take the values 500, 1000 or 2000 (Hz).");
  EXPECT_EQ(EffectEntryMessage(hall, EffectEntryProblem::HighCorner),
            "The EQ's high FC can only take the values 1000, 2000, or 4000 (Hz).");
}

}  // namespace
}  // namespace qv

#include <gtest/gtest.h>

#include "editor/parameter_engine.h"
#include "editor/whole_number.h"
#include "tests/editor/recording_controls.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

class EffectSettings : public ::testing::Test {
 protected:
  EffectSettings() { controls.engine = &engine; }

  std::uint8_t& Block(int effect, int offset) {
    return state.edit_buffer[(effect == 1 ? 47 : 55) + offset];
  }
  void ExpectOneBox(const std::string& text, int box) {
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, text);
    EXPECT_EQ(reporter.boxes[0].caption, "Please correct your input.");
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(controls.focus_requests.back(), box);
    reporter.boxes.clear();
  }

  EditorState state;
  test::RecordingControls controls;
  test::RecordingReporter reporter;
  ParameterEngine engine{state, controls, reporter};
  test::User user{controls, engine};
};

TEST_F(EffectSettings, LayoutShowsLabelsBoxesAndTooltipsOfTheCurrentEffect) {
  state.edit_buffer[38] = 6;  // E. Ref. 1
  engine.RefreshControls();
  EXPECT_EQ(controls.texts[3151], "E/R Time");
  EXPECT_EQ(controls.texts[3152], "Pre Delay");
  EXPECT_EQ(controls.texts[3153], "");
  EXPECT_FALSE(controls.shown[3147]);
  EXPECT_FALSE(controls.shown[3148]);
  EXPECT_TRUE(controls.shown[3145]);
  EXPECT_EQ(controls.tooltips[3145], "Time of early reflections [100,800]");
  EXPECT_EQ(controls.texts[3145], "100");
  // The program page hidden: labels and tooltips stay, values still shown.
  controls.program_page = false;
  state.edit_buffer[38] = 33;
  Block(1, 0) = 5;
  engine.RefreshControls();
  EXPECT_EQ(controls.texts[3151], "E/R Time");
  EXPECT_EQ(controls.tooltips[3145], "Time of early reflections [100,800]");
}

TEST_F(EffectSettings, ConflictRuleEnsembleGivesWayEitherWay) {
  state.edit_buffer[38] = 11;  // Chorus 1
  state.effect = 2;
  engine.RefreshControls();
  user.Choose(3135, 24);  // Rotary Speaker for effect 2
  EXPECT_EQ(state.edit_buffer[39], 33);
  EXPECT_EQ(state.edit_buffer[38], 11);
  EXPECT_EQ(controls.selections[3135], 33);
  for (int box = 3145; box <= 3150; ++box) EXPECT_FALSE(controls.shown[box]) << box;

  // The other way round: effect 1 is the rotary speaker, effect 2 becomes Chorus 1.
  state.edit_buffer[38] = 24;
  state.edit_buffer[39] = 0;
  engine.RefreshControls();
  user.Choose(3135, 11);
  EXPECT_EQ(state.edit_buffer[38], 33);
  EXPECT_EQ(state.edit_buffer[39], 11);
  EXPECT_EQ(controls.selections[3134], 33);
  EXPECT_EQ(controls.selections[3135], 11);
  EXPECT_GE(controls.sends, 2);
}

TEST_F(EffectSettings, ConflictOfAReceivedProgramIsShownAsItIs) {
  state.edit_buffer[38] = 23;
  state.edit_buffer[39] = 13;
  engine.RefreshControls();
  state.effect = 2;
  engine.RefreshControls();
  EXPECT_EQ(state.edit_buffer[38], 23);
  EXPECT_EQ(controls.selections[3134], 23);
}

TEST_F(EffectSettings, HallToChorusKeepsClampsAndClears) {
  const std::uint8_t hall[8] = {50, 120, 7, 150, 99, 77, std::uint8_t(-5), 12};
  std::copy(hall, hall + 8, &Block(1, 0));
  engine.RefreshControls();
  user.Choose(3134, 11);
  EXPECT_EQ(state.edit_buffer[38], 11);
  EXPECT_EQ(Block(1, 0), 50);    // depth
  EXPECT_EQ(Block(1, 1), 120);   // speed (within 0..216)
  EXPECT_EQ(Block(1, 2), 3);     // wave bit kept, bit 1 set
  EXPECT_EQ(Block(1, 3), 0);     // cleared
  EXPECT_EQ(Block(1, 4), 99);    // delay time
  EXPECT_EQ(Block(1, 5), 0);     // cleared
  EXPECT_EQ(Block(1, 6), std::uint8_t(-5));
  EXPECT_EQ(Block(1, 7), 12);
  EXPECT_EQ(controls.texts[3151], "Depth");
  EXPECT_EQ(controls.texts[3146], "5.1T");
}

TEST_F(EffectSettings, ClampingZeroesOutOfRangeValues) {
  // Chorus with a delay beyond the flanger's 0..50 becomes a flanger.
  state.edit_buffer[38] = 11;
  Block(1, 4) = 120;
  Block(1, 3) = std::uint8_t(-20);
  engine.RefreshControls();
  user.Choose(3134, 13);
  EXPECT_EQ(Block(1, 4), 0);
  EXPECT_EQ(SignedByte(Block(1, 3)), -20);  // feedback, signed range
  EXPECT_EQ(Block(1, 2) & 6, 6);
  // A word beyond 0..500 is zeroed as a word.
  state.edit_buffer[38] = 0;
  Block(1, 0) = 0xF5;
  Block(1, 1) = 0x01;  // 501
  engine.RefreshControls();
  user.Choose(3134, 9);
  EXPECT_EQ(Block(1, 0), 0);
  EXPECT_EQ(Block(1, 1), 0);
  // A Rotary Speaker speed ratio of 0 becomes 1; a wrong one becomes 0 and then 1.
  state.edit_buffer[38] = 0;
  Block(1, 2) = 0;
  engine.RefreshControls();
  user.Choose(3134, 24);
  EXPECT_EQ(Block(1, 2), 1);
  state.edit_buffer[38] = 0;
  Block(1, 1) = 40;
  engine.RefreshControls();
  user.Choose(3134, 22);  // Exciter: emphasis point 1..10
  EXPECT_EQ(Block(1, 1), 1);
}

TEST_F(EffectSettings, ValuesInRangeSurviveLaterLayouts) {
  state.edit_buffer[38] = 0;
  Block(1, 3) = 150;  // Pre Delay
  engine.RefreshControls();
  user.Choose(3135, 5);  // the other effect's list: this one is laid out again
  EXPECT_EQ(Block(1, 3), 150);
  user.Choose(3134, 1);  // Ensemble Hall: cleared and clamped
  EXPECT_EQ(Block(1, 3), 150);
  state.edit_buffer[38] = 11;
  Block(1, 1) = 210;  // 24 Hz
  engine.RefreshControls();
  user.Choose(3134, 12);
  EXPECT_EQ(Block(1, 1), 210);
  EXPECT_EQ(controls.texts[3146].substr(0, 2), "24");
}

TEST_F(EffectSettings, ShowingAReceivedProgramNeverChangesItsBlocks) {
  // Values real programs hold beyond the tables, and bits no type keeps.
  state.edit_buffer[38] = 0;
  Block(1, 4) = 100;  // E/R Level 100
  Block(1, 1) = 0x55;  // unused by the halls
  state.edit_buffer[39] = 20;
  Block(2, 2) = 100;  // Drive 100
  Block(2, 5) = 9;
  const M1Program received = state.edit_buffer;
  for (int effect : {1, 2}) {
    state.effect = effect;
    engine.RefreshControls();
    for (int box = 3145; box <= 3150; ++box) {
      if (!controls.shown[box]) continue;
      user.Enter(box);
      user.Leave(box);
    }
  }
  EXPECT_EQ(state.edit_buffer, received);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(controls.texts[3145], "100");
}

TEST_F(EffectSettings, TypeBeyondTheListIsShownSafelyAndKept) {
  state.edit_buffer[38] = 60;
  Block(1, 0) = 7;
  const M1Program received = state.edit_buffer;
  engine.RefreshControls();
  EXPECT_EQ(controls.selections[3134], -1);
  for (int box = 3145; box <= 3150; ++box) {
    EXPECT_FALSE(controls.shown[box]);
    user.Type(box, "5");
    user.Leave(box);
  }
  EXPECT_EQ(state.edit_buffer, received);
  EXPECT_TRUE(reporter.boxes.empty());
  SetEffectTypeBits(state.edit_buffer, 1, 60);
  EXPECT_EQ(state.edit_buffer, received);
  // Choosing a real type from the list lays it out as usual.
  user.Choose(3134, 0);
  EXPECT_EQ(state.edit_buffer[38], 0);
  EXPECT_TRUE(controls.shown[3145]);
}

TEST_F(EffectSettings, ChorusSpeedEntries) {
  state.edit_buffer[38] = 11;
  engine.RefreshControls();
  struct Case { const char* text; int byte; bool triangle; const char* shown; };
  for (Case c : {Case{"0.3T", 9, true, "0.30T"}, Case{"3.0S", 99, false, "3.00S"},
                 Case{"3.1S", 100, false, "3.1S"}, Case{"16.0T", 202, true, "16T"},
                 Case{"30T", 216, true, "30T"}}) {
    user.Type(3146, c.text);
    EXPECT_EQ(Block(1, 1), c.byte) << c.text;
    EXPECT_EQ(Block(1, 2) & 1, c.triangle ? 1 : 0) << c.text;
    user.Leave(3146);
    EXPECT_TRUE(reporter.boxes.empty()) << c.text;
    engine.RefreshControls();
    EXPECT_EQ(controls.texts[3146], c.shown) << c.text;
  }
}

TEST_F(EffectSettings, ChorusSpeedRefusals) {
  const std::string speed =
      "You haven't entered this number correctly. A valid number contains at least one "
      "decimal point. After this point, there is at least one digit. In addition, the number "
      "must be between 0.03 and 30.0. For instance, 0.09, 0.8, 3.00, 3.0, and 16.0 are all "
      "valid. 8, 0.01, and 31.03 are not.";
  const std::string wave =
      "This edit box requires both a number to indicate a frequency, and a letter to "
      "indicate which type of wave to use. The last letter of the edit box must be either T "
      "(triangle) or S (sine), for this reason. If there is anything after this letter, "
      "delete it.";
  state.edit_buffer[38] = 11;
  Block(1, 1) = 50;
  engine.RefreshControls();
  for (const char* text : {"0.01S", "8S", "31.03S"}) {
    user.Type(3146, text);
    EXPECT_EQ(Block(1, 1), 50) << text;
    user.Leave(3146);
    ExpectOneBox(speed, 3146);
  }
  user.Type(3146, "0.3");
  user.Leave(3146);
  ExpectOneBox(wave, 3146);
  // The wave letter goes in even when the speed does not, without a send.
  Block(1, 2) = 2;
  int sends = controls.sends;
  user.Type(3146, "8T");
  EXPECT_EQ(Block(1, 2), 3);
  EXPECT_EQ(Block(1, 1), 50);
  EXPECT_EQ(controls.sends, sends);
}

TEST_F(EffectSettings, ReflectionTimeEntries) {
  state.edit_buffer[38] = 6;
  engine.RefreshControls();
  user.Type(3145, "800");
  EXPECT_EQ(Block(1, 0), 70);
  user.Leave(3145);
  EXPECT_TRUE(reporter.boxes.empty());
  for (const char* text : {"805", "90"}) {
    user.Type(3145, text);
    EXPECT_EQ(Block(1, 0), 70) << text;
    user.Leave(3145);
    ExpectOneBox("You must choose a value between 100 and 800 for this setting.", 3145);
  }
}

TEST_F(EffectSettings, ReverbTimeEntries) {
  engine.RefreshControls();  // Hall
  user.Type(3145, "2.5");
  EXPECT_EQ(Block(1, 0), 23);
  engine.RefreshControls();
  EXPECT_EQ(controls.texts[3145], "2.5");
  for (const char* text : {"2,5", "10.0"}) {
    user.Type(3145, text);
    user.Leave(3145);
    ExpectOneBox("You must choose a value between 0.2 and 9.9 for this setting. The value must "
                 "be entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ",
                 3145);
  }
  state.edit_buffer[38] = 3;  // Room
  engine.RefreshControls();
  user.Type(3145, "5.0");
  user.Leave(3145);
  ExpectOneBox("You must choose a value between 0.2 and 4.9 for this setting. The value must be "
               "entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ",
               3145);
  EXPECT_EQ(Block(1, 0), 23);
}

TEST_F(EffectSettings, WordsCornersAndSignedNumbers) {
  state.edit_buffer[38] = 9;  // Stereo Delay
  engine.RefreshControls();
  user.Type(3146, "480");
  EXPECT_EQ(Block(1, 4), 480 & 0xFF);
  EXPECT_EQ(Block(1, 5), 480 >> 8);
  user.Type(3147, "-99");
  EXPECT_EQ(SignedByte(Block(1, 2)), -99);
  state.edit_buffer[38] = 19;  // Equalizer
  engine.RefreshControls();
  user.Type(3145, "1000");
  EXPECT_EQ(Block(1, 4), 2);
  user.Type(3147, "2000");
  EXPECT_EQ(Block(1, 0), 2);
  user.Type(3149, "4000");
  EXPECT_EQ(Block(1, 5), 2);
  user.Type(3145, "300");
  user.Leave(3145);
  ExpectOneBox("The EQ's low FC can only take the values 250, 500, or 1000 (Hz).", 3145);
  user.Type(3147, "250");
  user.Leave(3147);
  ExpectOneBox("The EQ's mid-range FC can only take the values 500, 1000 or 2000 (Hz).", 3147);
  user.Type(3149, "500");
  user.Leave(3149);
  ExpectOneBox("The EQ's high FC can only take the values 1000, 2000, or 4000 (Hz).", 3149);
}

TEST_F(EffectSettings, TypeBitsByType) {
  struct Case { int type; int offset; std::uint8_t before, after; };
  for (Case c : {Case{11, 2, 0xFD, 0x03}, Case{12, 2, 0x00, 0x02}, Case{13, 2, 0x01, 0x07},
                 Case{14, 2, 0x08, 0x06}, Case{15, 2, 0xFF, 0x01}, Case{17, 2, 0x06, 0x00},
                 Case{16, 2, 0x05, 0x03}, Case{18, 2, 0x00, 0x02}, Case{29, 6, 0xFF, 0x01},
                 Case{30, 6, 0x01, 0x04}, Case{0, 2, 0xAB, 0xAB}, Case{33, 6, 0xAB, 0xAB}}) {
    for (int effect : {1, 2}) {
      M1Program p = BlankM1Program();
      int at = (effect == 1 ? 47 : 55) + c.offset;
      p[at] = c.before;
      M1Program expected = p;
      expected[at] = c.after;
      SetEffectTypeBits(p, effect, c.type);
      EXPECT_EQ(p, expected) << "type " << c.type << " effect " << effect;
    }
  }
  EXPECT_TRUE(EffectTypesConflict(23, 11));
  EXPECT_TRUE(EffectTypesConflict(24, 32));
  EXPECT_TRUE(EffectTypesConflict(24, 23));
  EXPECT_FALSE(EffectTypesConflict(11, 24));
  EXPECT_FALSE(EffectTypesConflict(24, 19));
  EXPECT_FALSE(EffectTypesConflict(24, 33));
}

TEST_F(EffectSettings, OtherControlsAreNotEffectBoxes) {
  engine.RefreshControls();
  const M1Program before = state.edit_buffer;
  int sends = controls.sends;
  for (int id : {3144, 3151, 9999}) {
    engine.StoreEffectParameter(id, 5);
    engine.ValidateEffectParameter(id, kNotANumber);
    engine.ShowEffectParameter(id);
  }
  EXPECT_EQ(state.edit_buffer, before);
  EXPECT_EQ(controls.sends, sends);
  EXPECT_TRUE(reporter.boxes.empty());
}

}  // namespace
}  // namespace qv

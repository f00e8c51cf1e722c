#include <gtest/gtest.h>

#include "editor/envelope_graph_envelopes.h"
#include "editor/parameter_engine.h"
#include "editor/whole_number.h"
#include "tests/editor/recording_controls.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

const char* const kRangeCaption = "Please correct your input.";

class ParameterEntry : public ::testing::Test {
 protected:
  ParameterEntry() { controls.engine = &engine; }

  void Show() { engine.RefreshControls(); }
  void ExpectRangeBox(int control, int lo, int hi) {
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, "You must choose a value between " + std::to_string(lo) +
                                          " and " + std::to_string(hi) + " for this setting.");
    EXPECT_EQ(reporter.boxes[0].caption, kRangeCaption);
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(reporter.boxes[0].buttons, BoxButtons::Ok);
    ASSERT_FALSE(controls.focus_requests.empty());
    EXPECT_EQ(controls.focus_requests.back(), control);
  }

  EditorState state;
  test::RecordingControls controls;
  test::RecordingReporter reporter;
  ParameterEngine engine{state, controls, reporter};
  test::User user{controls, engine};
};

TEST_F(ParameterEntry, BlankProgramShowsItsDefaults) {
  state.program_number = 7;
  Show();
  EXPECT_EQ(controls.texts[3008], "07           ");
  EXPECT_TRUE(controls.checks[3100]);
  EXPECT_FALSE(controls.checks[3101]);
  EXPECT_FALSE(controls.checks[3102]);
  EXPECT_EQ(controls.texts[3229], "8");
  EXPECT_EQ(controls.selections[3207], 0);  // Piano
  EXPECT_EQ(controls.selections[3134], 0);  // Hall
  EXPECT_EQ(controls.selections[3135], 0);
  EXPECT_FALSE(controls.enabled[3130]);
  EXPECT_FALSE(controls.enabled[3131]);
  EXPECT_FALSE(controls.checks[3132]);
  for (int id : {3201, 3204, 3205, 3206}) EXPECT_FALSE(controls.enabled[id]) << id;
  EXPECT_TRUE(controls.checks[3200]);
  EXPECT_TRUE(controls.checks[3141]);
  EXPECT_TRUE(controls.checks[3140]);  // parallel: bit 4 clear
  EXPECT_EQ(controls.texts[3231], "C-1");
  EXPECT_EQ(controls.indicators[3245].tracking, 1);
  EXPECT_EQ(controls.texts[3151], "Reverb Time");
  EXPECT_EQ(controls.texts[3145], "0.2");
  EXPECT_FALSE(state.refresh_guard);
  EXPECT_EQ(controls.redraws, 1);
  EXPECT_EQ(controls.sends, 0);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(state.edit_buffer, BlankM1Program());
}

TEST_F(ParameterEntry, OscillatorTwoViewsEditTheirOwnBytes) {
  state.edit_buffer[10] = 1;  // double
  Show();
  EXPECT_TRUE(controls.enabled[3201]);
  state.oscillator = 2;
  Show();
  user.Type(3208, "77");
  EXPECT_EQ(state.edit_buffer[126], 77);
  EXPECT_EQ(state.edit_buffer[86], 0);
  user.Choose(3207, 42);
  EXPECT_EQ(state.edit_buffer[14], 42);
  EXPECT_EQ(state.edit_buffer[12], 0);
  user.Click(3202, true);
  EXPECT_EQ(state.edit_buffer[19], 0x40);
  state.oscillator = 1;
  user.Click(3202, true);
  EXPECT_EQ(state.edit_buffer[19], 0x60);
  user.Type(3208, "12");
  EXPECT_EQ(state.edit_buffer[86], 12);
  EXPECT_EQ(state.edit_buffer[126], 77);
}

TEST_F(ParameterEntry, SingleModeFallsBackToOscillatorOne) {
  state.oscillator = 2;
  state.edit_buffer[10] = 0x04;  // single with a carried bit
  Show();
  EXPECT_EQ(state.oscillator, 1);
  state.edit_buffer[10] = 0x05;  // double with the same carried bit
  state.oscillator = 2;
  Show();
  EXPECT_EQ(state.oscillator, 2);
  EXPECT_TRUE(controls.enabled[3201]);
  EXPECT_TRUE(controls.checks[3101]);
}

// The envelope graph and the editor agree on every mode byte about
// whether oscillator 2 exists.
TEST_F(ParameterEntry, GraphAndEditorAgreeOnTheSecondOscillator) {
  for (int mode = 0; mode < 256; ++mode) {
    state.edit_buffer[10] = static_cast<std::uint8_t>(mode);
    Show();
    EXPECT_EQ(HasSecondOscillator(state.edit_buffer), controls.enabled[3201]) << mode;
  }
}

TEST_F(ParameterEntry, TypingIsTakenInKeyByKeyWithinTheRange) {
  Show();
  user.Enter(3122);  // shows 0: storing it back changes nothing
  int sends = controls.sends;
  user.Type(3122, "150");
  EXPECT_EQ(state.edit_buffer[20], 15);
  EXPECT_EQ(controls.sends - sends, 2);  // "1" and "15"; "150" is refused
  EXPECT_TRUE(reporter.boxes.empty());
  user.Leave(3122);
  ExpectRangeBox(3122, 0, 99);
  EXPECT_EQ(state.edit_buffer[20], 15);
  EXPECT_EQ(controls.texts[3122], "150");
}

TEST_F(ParameterEntry, LoneMinusIsNotANumberButMinusFiveIs) {
  Show();
  int sends = controls.sends;
  user.Type(3107, "-");
  EXPECT_EQ(controls.sends, sends);
  EXPECT_EQ(state.edit_buffer[29], 0);
  user.Type(3107, "-5");
  EXPECT_EQ(SignedByte(state.edit_buffer[29]), -5);
  user.Leave(3107);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(ParameterEntry, SignedRangesNameBothBoundsInTheMessage) {
  Show();
  user.Type(3105, "13");
  user.Leave(3105);
  ExpectRangeBox(3105, -12, 12);
  EXPECT_EQ(state.edit_buffer[27], 1);  // the "1" keystroke was in range
}

TEST_F(ParameterEntry, OutputPanNeverStoresZero) {
  state.edit_buffer[44] = 30;
  Show();
  EXPECT_TRUE(controls.enabled[3130]);
  EXPECT_TRUE(controls.checks[3132]);
  EXPECT_EQ(controls.texts[3130], "30");
  user.Type(3130, "0");
  EXPECT_EQ(state.edit_buffer[44], 30);
  user.Leave(3130);
  ExpectRangeBox(3130, 1, 65);
  user.Type(3130, "65");
  EXPECT_EQ(state.edit_buffer[44], 65);
  // The instrument's increment and decrement keep it off 0 too.
  controls.focus = 3130;
  user.Type(3130, "1");
  engine.ApplyRemoteEdit(0, kRemoteDecrement);
  EXPECT_EQ(state.edit_buffer[44], 1);
  engine.ApplyRemoteEdit(-10, kRemoteSet);
  EXPECT_EQ(state.edit_buffer[44], 1);
}

TEST_F(ParameterEntry, MixCheckBoxesSwitchThePanBoxes) {
  state.edit_buffer[44] = 20;
  Show();
  int sends = controls.sends;
  user.Click(3132, false);
  EXPECT_EQ(state.edit_buffer[44], 0);
  EXPECT_FALSE(controls.enabled[3130]);
  EXPECT_EQ(controls.sends, sends + 1);
  user.Click(3132, true);
  EXPECT_TRUE(controls.enabled[3130]);
  EXPECT_EQ(controls.focus_requests.back(), 3130);
  EXPECT_EQ(state.edit_buffer[44], 0);
  user.Type(3130, "40");
  EXPECT_EQ(state.edit_buffer[44], 40);
  user.Click(3133, true);
  EXPECT_EQ(controls.focus_requests.back(), 3131);
  EXPECT_EQ(state.edit_buffer[45], 0);
}

TEST_F(ParameterEntry, RadioButtonsKeepTheOtherBits) {
  state.edit_buffer[10] = 0xF6;  // drum, with bits 2-7 set
  Show();
  EXPECT_TRUE(controls.checks[3102]);
  user.Click(3101, true);
  EXPECT_EQ(state.edit_buffer[10], 0xF5);
  state.edit_buffer[19] = 0xE0;
  user.Click(3118, true);  // square
  EXPECT_EQ(state.edit_buffer[19], 0xE3);
  user.Click(3119, true);  // downward saw
  EXPECT_EQ(state.edit_buffer[19], 0xE2);
}

TEST_F(ParameterEntry, CheckBoxesSetAndClearTheirBits) {
  Show();
  struct Case { int control, byte; std::uint8_t bit; };
  for (Case c : {Case{3103, 11, 0x02}, Case{3104, 11, 0x01}, Case{3157, 19, 0x80},
                 Case{3158, 23, 0x80}}) {
    state.edit_buffer[c.byte] = 0x20;
    user.Click(c.control, true);
    EXPECT_EQ(state.edit_buffer[c.byte], 0x20 | c.bit) << c.control;
    user.Click(c.control, false);
    EXPECT_EQ(state.edit_buffer[c.byte], 0x20) << c.control;
  }
  state.edit_buffer[46] = 0x1F;
  Show();
  EXPECT_FALSE(controls.checks[3140]);
  user.Click(3140, true);
  EXPECT_EQ(state.edit_buffer[46], 0x0F);
  user.Click(3140, false);
  EXPECT_EQ(state.edit_buffer[46], 0x1F);
}

TEST_F(ParameterEntry, PlayedKeySetsTheFocusedKeyBoxOfOscillatorTwo) {
  state.edit_buffer[10] = 1;
  state.oscillator = 2;
  Show();
  controls.focus = 3209;
  int sends = controls.sends;
  engine.ApplyRemoteEdit(0, kRemoteKeyBase + 60);
  EXPECT_EQ(state.edit_buffer[127], 60);
  EXPECT_EQ(state.edit_buffer[87], 0);
  EXPECT_EQ(controls.texts[3209], "C4");
  EXPECT_EQ(controls.sends, sends + 1);
  // A played key does nothing to a number box.
  controls.focus = 3208;
  engine.ApplyRemoteEdit(0, kRemoteKeyBase + 61);
  EXPECT_EQ(state.edit_buffer[126], 0);
  EXPECT_EQ(controls.sends, sends + 1);
}

TEST_F(ParameterEntry, DataEntrySpansTheRange) {
  Show();
  struct Case { int control, byte, value, expected; };
  for (Case c : {Case{3107, 29, 0, 0}, Case{3122, 20, 0, 49}, Case{3122, 20, -10, 0},
                 Case{3122, 20, 10, 99}, Case{3107, 29, -10, -99}, Case{3107, 29, 10, 99},
                 Case{3105, 27, 5, 6}, Case{3122, 20, 60, 99}, Case{3107, 29, -8000, -99},
                 Case{3231, 72, 10, 127}}) {
    controls.focus = c.control;
    engine.ApplyRemoteEdit(c.value, kRemoteSet);
    EXPECT_EQ(SignedByte(state.edit_buffer[c.byte]), c.expected)
        << c.control << " " << c.value;
  }
}

TEST_F(ParameterEntry, IncrementAndDecrementStopAtTheBounds) {
  state.edit_buffer[20] = 98;
  Show();
  controls.focus = 3122;
  engine.ApplyRemoteEdit(0, kRemoteIncrement);
  EXPECT_EQ(state.edit_buffer[20], 99);
  int sends = controls.sends;
  engine.ApplyRemoteEdit(0, kRemoteIncrement);
  EXPECT_EQ(state.edit_buffer[20], 99);
  EXPECT_EQ(controls.sends, sends + 1);  // applied, even though nothing changed
  EXPECT_EQ(controls.texts[3122], "99");
  state.edit_buffer[27] = std::uint8_t(-12);
  controls.focus = 3105;
  engine.ApplyRemoteEdit(0, kRemoteDecrement);
  EXPECT_EQ(SignedByte(state.edit_buffer[27]), -12);
  // Nothing focused, a list or a check box: nothing happens, nothing is sent.
  sends = controls.sends;
  for (int focus : {0, 3207, 3103, 3229, 3145}) {
    controls.focus = focus;
    engine.ApplyRemoteEdit(3, kRemoteSet);
    engine.ApplyRemoteEdit(0, kRemoteKeyBase + 40);
  }
  EXPECT_EQ(controls.sends, sends);
}

TEST_F(ParameterEntry, KeyBoxesTakeKeyNames) {
  Show();
  user.Type(3231, "A#5");
  EXPECT_EQ(state.edit_buffer[72], 82);
  user.Type(3231, "G#10");
  EXPECT_EQ(state.edit_buffer[72], 32);  // "G#1" on the way
  user.Leave(3231);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text,
            "To enter key names, you must use the format:\n\n<key letter> [optional # sign] "
            "<octave>\n\nOnly keys in the range C-1 - G9 are valid. For example, A#5, c3, f6, "
            "D#-1 are all valid; F#0 isn't, and nor are E-2 or G#10. ");
  EXPECT_EQ(reporter.boxes[0].caption, kRangeCaption);
  EXPECT_EQ(controls.focus_requests.back(), 3231);
}

TEST_F(ParameterEntry, OctaveBoxShowsAndTakesFootMarks) {
  struct Shown { std::uint8_t byte; const char* text; };
  for (Shown s : {Shown{0x01, "4"}, Shown{0xFF, "16"}, Shown{0x00, "8"}, Shown{0x80, "8"},
                  Shown{0x02, "8"}}) {
    state.edit_buffer[13] = s.byte;
    Show();
    EXPECT_EQ(controls.texts[3229], s.text) << int(s.byte);
  }
  // An 8' byte other than 0 is kept when 8 is entered; a 4' or 16' becomes 0.
  state.edit_buffer[13] = 0x80;
  Show();
  user.Enter(3229);
  user.Leave(3229);
  EXPECT_EQ(state.edit_buffer[13], 0x80);
  user.Type(3229, "16");
  EXPECT_EQ(state.edit_buffer[13], 0xFF);
  user.Type(3229, "4");
  EXPECT_EQ(state.edit_buffer[13], 0x01);
  user.Type(3229, "8");
  EXPECT_EQ(state.edit_buffer[13], 0x00);
  user.Type(3229, "12");
  EXPECT_EQ(state.edit_buffer[13], 0x00);
  EXPECT_TRUE(reporter.boxes.empty());
  user.Leave(3229);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text,
            "For the oscillator's octave, you can choose from 4', 8', or 16' (don't type  the "
            "'). No other numbers are available.");
}

TEST_F(ParameterEntry, OctaveOfOscillatorTwoIsItsOwnByte) {
  state.edit_buffer[10] = 1;
  state.edit_buffer[13] = 0xFF;
  state.edit_buffer[15] = 0x01;
  Show();
  EXPECT_EQ(controls.texts[3229], "16");
  state.oscillator = 2;
  Show();
  EXPECT_EQ(controls.texts[3229], "4");
  user.Type(3229, "8");
  EXPECT_EQ(state.edit_buffer[15], 0x00);
  EXPECT_EQ(state.edit_buffer[13], 0xFF);
}

TEST_F(ParameterEntry, IndicatorsShowAndStoreTheSegmentSwitches) {
  state.edit_buffer[10] = 1;
  state.edit_buffer[99] = 0x11;   // attack: keyboard tracking negative
  state.edit_buffer[100] = 0x02;  // decay: velocity positive
  state.edit_buffer[139] = 0x40;  // oscillator 2, slope: bit s+4 alone reads as off
  Show();
  EXPECT_EQ(controls.indicators[3245].tracking, 0);
  EXPECT_EQ(controls.indicators[3245].velocity, 1);
  EXPECT_EQ(controls.indicators[3246].tracking, 1);
  EXPECT_EQ(controls.indicators[3246].velocity, 2);
  // Clicking the attack indicator's upper half: negative -> off.
  user.ClickIndicator(3245, 0, 9);
  EXPECT_EQ(state.edit_buffer[99], 0x00);
  EXPECT_EQ(state.edit_buffer[100], 0x02);
  // Lower half of the release indicator: off -> positive.
  user.ClickIndicator(3248, 5, 9);
  EXPECT_EQ(state.edit_buffer[100], 0x0A);
  user.ClickIndicator(3248, 5, 9);  // -> negative
  EXPECT_EQ(state.edit_buffer[100], 0x8A);

  state.oscillator = 2;
  Show();
  EXPECT_EQ(controls.indicators[3247].tracking, 1);
  user.ClickIndicator(3247, 0, 9);  // oscillator 2 slope -> positive
  EXPECT_EQ(state.edit_buffer[139], 0x04);  // the stray bit 6 of this segment goes
  EXPECT_EQ(state.edit_buffer[99], 0x00);
  // The amplitude indicators use bytes 101/102 (141/142 for oscillator 2).
  user.ClickIndicator(3249, 8, 9);
  EXPECT_EQ(state.edit_buffer[142], 0x01);
  EXPECT_EQ(state.edit_buffer[102], 0x00);
}

TEST_F(ParameterEntry, ListsStoreTheirSelectionAndIgnoreNone) {
  state.edit_buffer[12] = 150;  // damaged: beyond the list
  Show();
  EXPECT_EQ(controls.selections[3207], -1);
  EXPECT_EQ(state.edit_buffer[12], 150);
  int sends = controls.sends;
  user.Choose(3207, -1);
  EXPECT_EQ(state.edit_buffer[12], 150);
  EXPECT_EQ(controls.sends, sends);
  user.Choose(3207, 99);
  EXPECT_EQ(state.edit_buffer[12], 99);
}

TEST_F(ParameterEntry, RefreshGuardSilencesNotifications) {
  Show();
  state.refresh_guard = true;
  user.Type(3122, "5");
  EXPECT_EQ(state.edit_buffer[20], 0);
  user.Leave(3122);
  EXPECT_TRUE(reporter.boxes.empty());
  state.refresh_guard = false;
  user.Type(3122, "5");
  EXPECT_EQ(state.edit_buffer[20], 5);
}

TEST_F(ParameterEntry, ReceivedValuesOutsideTheRangeShowAndPassUntouched) {
  state.edit_buffer[44] = 101;  // real programs hold it
  state.edit_buffer[20] = 200;  // damaged
  Show();
  EXPECT_EQ(controls.texts[3130], "101");
  EXPECT_EQ(controls.texts[3122], "200");
  user.Enter(3130);
  user.Leave(3130);
  user.Enter(3122);
  user.Leave(3122);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(state.edit_buffer[44], 101);
  EXPECT_EQ(state.edit_buffer[20], 200);
  // Typed by the user, the same kind of value is refused.
  user.Type(3130, "102");
  user.Leave(3130);
  ExpectRangeBox(3130, 1, 65);
  EXPECT_EQ(state.edit_buffer[44], 10);  // "1" and "10" were taken in on the way
}

TEST_F(ParameterEntry, NameShowsAfterTheProgramNumber) {
  state.program_number = 42;
  const char name[] = "Piano\0" "16'\0";
  std::copy(name, name + 10, state.edit_buffer.begin());
  Show();
  EXPECT_EQ(controls.texts[3008], "42 Piano 16' ");
}

}  // namespace
}  // namespace qv

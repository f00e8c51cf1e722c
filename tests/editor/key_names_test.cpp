#include <gtest/gtest.h>

#include "editor/key_names.h"
#include "editor/whole_number.h"

namespace qv {
namespace {

TEST(KeyNames, FormatNamesEveryKey) {
  struct Case { int key; const char* name; };
  for (Case c : {Case{0, "C-1"}, Case{1, "C#-1"}, Case{11, "B-1"}, Case{12, "C0"},
                 Case{48, "C3"}, Case{60, "C4"}, Case{82, "A#5"}, Case{127, "G9"}})
    EXPECT_EQ(FormatKeyName(c.key), c.name) << c.key;
  for (int key = 0; key < 128; ++key) EXPECT_EQ(ParseKeyName(FormatKeyName(key)), key) << key;
}

TEST(KeyNames, ParseAcceptsKeyNames) {
  struct Case { const char* text; int key; };
  for (Case c : {Case{"c3", 48}, Case{"C3", 48}, Case{"A#5", 82}, Case{"a#5", 82},
                 Case{"D#-1", 3}, Case{"C-1", 0}, Case{"G9", 127}, Case{"f6", 89},
                 Case{"F#0", 18}, Case{"B8", 119}, Case{"C4  ", 60}})
    EXPECT_EQ(ParseKeyName(c.text), c.key) << c.text;
}

TEST(KeyNames, ParseRefusesWhatIsNotAKeyName) {
  for (const char* text : {"G#9", "E-2", "H4", "h4", "", "#4", "C", "C#", "C-", "C-0",
                           "G#10", "C10", "C4x", "C 4", "X1", "c-11", "\x80" "4"})
    EXPECT_EQ(ParseKeyName(text), kNotAKeyName) << text;
}

TEST(WholeNumbers, ReadSignedNumbersAndRefuseTheRest) {
  struct Case { const char* text; int value; };
  for (Case c : {Case{"0", 0}, Case{"15", 15}, Case{"-5", -5}, Case{" 42 ", 42},
                 Case{"-0", 0}, Case{"9999999", 9999999}, Case{"-", kNotANumber},
                 Case{"", kNotANumber}, Case{"1.5", kNotANumber}, Case{"12a", kNotANumber},
                 Case{"--1", kNotANumber}, Case{"10000000", kNotANumber},
                 Case{"99999999999999999999", kNotANumber}, Case{"0.3T", kNotANumber}})
    EXPECT_EQ(ReadWholeNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace qv

#include "librarian/definition_string_check.h"

#include <gtest/gtest.h>

#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

TEST(DefinitionStringCheck, AcceptsAndRejects) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"F0 43 2! 0C [#71+0] F7;40,6", true},  // 10 nibbles
      {"F0 41 0! 12 [#72*4+16] % [$4-8] F7", true},
      {"F0 4", false},        // odd number of nibbles
      {"F0 G7", false},       // G is no hexadecimal digit
      {"F0 [zz] F7", true},   // bracket contents are not examined
      {"F0 [G] F7", true},
      {"F0 # % F7", true},    // "#" and "%" count for nothing
      {"F0 F7;zz,q", true},   // nor does anything behind ";"
      {"F0 F7;4", true},
      {"!!", true},
      {"!", false},
      {"f0 Ab", true},
      {"F0 F7 R", false},     // the characters of sections count only inside brackets
      {"F0 - F7", false},
      {"F0 [F7", false},      // a "[" that is never closed
      {"F0 ]F7", false},
      {"F0\tF7", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidateDefinitionString(c.text), c.valid) << '"' << c.text << '"';
  }
}

TEST(DefinitionStringCheck, ShowsTheMessageOfTheFirstFailingString) {
  const std::string request =
      "The program request string can include only valid hex digits (0-9, a-f, A-F), and the "
      "special characters !#[]-*+;,\n\nAlso, the total number of digits must be even. All hex "
      "digits count, as does !, when working this out, but # can be ignored - so can anything "
      "after the ; sign, and all sets of brackets [] with their contents.\n\n";
  const std::string send =
      "The program send string can include only valid hex digits (0-9, a-f, A-F), and the "
      "special characters !#[]-*+Rr \n\nAlso, the total number of digits must be even. All hex "
      "digits count, as does !, when working this out, but # and % can be ignored - so can all "
      "sets of brackets [] and their contents.";
  struct Case {
    const char* request;
    const char* send;
    const std::string* message;
  };
  const Case cases[] = {
      {"F0 F7", "F0 % F7", nullptr},
      {"F0 4", "F0 4", &request},
      {"F0 F7", "F0 4", &send},
  };
  for (const Case& c : cases) {
    InstrumentDefinition d;
    SetFixedText(d.requestString, c.request);
    SetFixedText(d.sendString, c.send);
    test::RecordingReporter reporter;
    EXPECT_EQ(CheckDefinitionStrings(d, reporter), c.message == nullptr);
    if (c.message == nullptr) {
      EXPECT_TRUE(reporter.boxes.empty());
      continue;
    }
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, *c.message);
    EXPECT_EQ(reporter.boxes[0].caption, "Please correct your input.");
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  }
}

}  // namespace
}  // namespace qv

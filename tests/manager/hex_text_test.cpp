#include "manager/hex_text.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

#include "tests/support/recording_reporter.h"

namespace qv::test {
namespace {

struct HexCase {
  const char* name;
  std::string text;
  std::size_t limit;
  HexOutcome outcome;
  std::vector<std::uint8_t> bytes;
  const char* box;  // nullptr: no box
};

class ParseHexTextCases : public ::testing::TestWithParam<HexCase> {};

TEST_P(ParseHexTextCases, GivesBytesOrRefuses) {
  const HexCase& c = GetParam();
  RecordingReporter reporter;
  HexParse parsed = ParseHexText(c.text, c.limit, reporter);
  EXPECT_EQ(parsed.outcome, c.outcome);
  EXPECT_EQ(parsed.bytes, c.bytes);
  if (c.box == nullptr) {
    EXPECT_TRUE(reporter.boxes.empty());
  } else {
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, c.box);
    EXPECT_EQ(reporter.boxes[0].caption, "Data entry error");
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(reporter.boxes[0].buttons, BoxButtons::Ok);
  }
}

INSTANTIATE_TEST_SUITE_P(
    HexText, ParseHexTextCases,
    ::testing::Values(
        HexCase{"SpacedPairs", "F0 43 10 F7", 100, HexOutcome::Bytes, {0xF0, 0x43, 0x10, 0xF7}, nullptr},
        HexCase{"RunTogether", "304F", 100, HexOutcome::Bytes, {0x30, 0x4F}, nullptr},
        HexCase{"PairSplitBySpaces", "3 0  4 F", 100, HexOutcome::Bytes, {0x30, 0x4F}, nullptr},
        HexCase{"AllDigits", "0123456789ABCDEF", 100, HexOutcome::Bytes,
                {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}, nullptr},
        HexCase{"NoCheckForF0OrF7", "00 7F", 100, HexOutcome::Bytes, {0x00, 0x7F}, nullptr},
        HexCase{"Empty", "", 100, HexOutcome::Empty, {}, nullptr},
        HexCase{"SpacesOnly", "     ", 100, HexOutcome::Empty, {}, nullptr},
        HexCase{"HeldDigitAtEnd", "F0 4", 100, HexOutcome::OddDigits, {}, kHexPairsText},
        HexCase{"SingleDigit", "7", 100, HexOutcome::OddDigits, {}, kHexPairsText},
        HexCase{"LowerCaseRefused", "f0 43", 100, HexOutcome::BadDigit, {}, kHexDigitsText},
        HexCase{"LetterBeyondF", "F0 4G", 100, HexOutcome::BadDigit, {}, kHexDigitsText},
        HexCase{"Comma", "F0,43", 100, HexOutcome::BadDigit, {}, kHexDigitsText},
        HexCase{"TabIsNoSpace", "F0\t43", 100, HexOutcome::BadDigit, {}, kHexDigitsText},
        HexCase{"BadCharacterBeyondLimitUnseen", "F0 43 zz", 5, HexOutcome::Bytes, {0xF0, 0x43}, nullptr},
        HexCase{"LimitCutsAPair", "F0 43", 4, HexOutcome::OddDigits, {}, kHexPairsText},
        HexCase{"ZeroLimitReadsNothing", "F0", 0, HexOutcome::Empty, {}, nullptr}),
    [](const ::testing::TestParamInfo<HexCase>& info) { return std::string(info.param.name); });

TEST(HexTextOf, WritesLowerCasePairsEachFollowedByASpace) {
  const std::uint8_t bytes[] = {0xF0, 0x43, 0x0A, 0x00, 0xF7};
  EXPECT_EQ(HexTextOf(bytes, 5), "f0 43 0a 00 f7 ");
  EXPECT_EQ(HexTextOf(bytes, 0), "");
}

TEST(HexTextOf, ReadsBackAfterTheFieldTurnsItIntoCapitals) {
  std::vector<std::uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  std::string text = HexTextOf(all.data(), all.size());
  EXPECT_EQ(text.size(), 768u);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  RecordingReporter reporter;
  HexParse parsed = ParseHexText(text, kMessageHexLimit, reporter);
  EXPECT_EQ(parsed.outcome, HexOutcome::Bytes);
  EXPECT_EQ(parsed.bytes, all);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST(HexTextOf, LongestEditableMessageFitsTheMessageLimit) {
  std::vector<std::uint8_t> message(10000, 0xAB);
  std::string text = HexTextOf(message.data(), message.size());
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(text.size(), 30000u);
  RecordingReporter reporter;
  HexParse parsed = ParseHexText(text, kMessageHexLimit, reporter);
  EXPECT_EQ(parsed.bytes.size(), 10000u);
}

}  // namespace
}  // namespace qv::test

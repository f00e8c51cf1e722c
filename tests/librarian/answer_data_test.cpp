#include "librarian/answer_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes AnswerWithText(size_t size, size_t at, const std::string& text) {
  Bytes answer(size, 0x7E);
  for (size_t i = 0; i < text.size(); ++i) answer[at + i] = static_cast<uint8_t>(text[i]);
  return answer;
}

TEST(ExtractProgramName, TakesTheBytesTheOffsetsName) {
  struct Case {
    const char* offsets;
    int32_t dataOffset;
    const char* name;
  };
  // Bytes 10 to 13 of the data read "Pian"; the data starts at answer byte 4.
  Bytes answer = AnswerWithText(40, 14, "Pian");
  answer[30] = 0;
  const Case cases[] = {
      {"10 11 12 13 ", 4, "Pian"},
      {"10,11,12,13 ", 4, "Pian"},
      {"10 11 12 13", 4, "Pian"},      // the last token needs no separator
      {"13", 4, "n"},
      {"", 4, ""},
      {" 10  11 ", 4, "Pi"},           // leading and doubled separators add nothing
      {"13 26 10 ", 4, "n"},           // a zero byte ends the name
      {"10 11 99 12 ", 4, "Pia"},      // beyond the answer: nothing
      {"10 11 4294967296 12 ", 4, "Pia"},
      {"0 ", -1, ""},                  // before the answer: nothing
      {"14 15 ", 0, "Pi"},
      {"0 1 ", 39, "~"},               // 39 is the last byte; 40 is outside
  };
  for (const Case& c : cases) {
    ProgramName name = ExtractProgramName(answer, c.dataOffset, c.offsets);
    EXPECT_EQ(ProgramNameText(name), c.name) << '"' << c.offsets << '"';
    EXPECT_EQ(name[kProgramNameSize - 1], '\0');
  }
}

TEST(ExtractProgramName, StopsAtTwentyNineCharacters) {
  Bytes answer = AnswerWithText(64, 0, std::string(64, 'x'));
  std::string offsets;
  for (int i = 0; i < 40; ++i) offsets += std::to_string(i) + " ";
  ProgramName name = ExtractProgramName(answer, 0, offsets);
  EXPECT_EQ(ProgramNameText(name), std::string(29, 'x'));
}

TEST(ProgramDataFromAnswer, CopiesWhatTheAnswerHoldsAndZeroesTheRest) {
  Bytes answer{0xF0, 1, 2, 3, 4, 0xF7};
  EXPECT_EQ(ProgramDataFromAnswer(answer, 1, 4), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(ProgramDataFromAnswer(answer, 0, 6), answer);
  EXPECT_EQ(ProgramDataFromAnswer(answer, 4, 4), (Bytes{4, 0xF7, 0, 0}));
  EXPECT_EQ(ProgramDataFromAnswer(answer, 100, 2), (Bytes{0, 0}));
  EXPECT_EQ(ProgramDataFromAnswer(answer, -1, 2), (Bytes{0, 0xF0}));
  EXPECT_EQ(ProgramDataFromAnswer(answer, 0, 0), Bytes{});
  EXPECT_EQ(ProgramDataFromAnswer(answer, 0, -5), Bytes{});
}

}  // namespace
}  // namespace qv

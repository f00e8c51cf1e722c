#include "librarian/string_expansion.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "librarian/program_messages.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kCaption = "String interpretation error";
const std::string kPrefixNumber =
    "There's a problem with the [#...] section in either the request or send string of the "
    "instrument definition. ";
const std::string kMessage1 =
    kPrefixNumber +
    "The section must be either in the form [#72...], [#71...], #27, #37, or #73.";
const std::string kMessage2 =
    kPrefixNumber + "The #-code (i.e. #72) must immediately be followed by a + or a * sign. ";
const std::string kMessage3 =
    kPrefixNumber +
    "The sum must be one of the types: [#72*23] [#72+4] [#72*4+23]. No other types are allowed.";
const std::string kMessage4 =
    kMessage3 + " (This error occured while the program was reading the second number.)";
const std::string kPrefixChecksum =
    "There's a problem with the [$...] section in either the request or send string of the "
    "instrument definition. ";
const std::string kMessage5 =
    kPrefixChecksum +
    "Since you haven't specified the [$R] type, you must use a section of the type [$31-50] "
    "where 31 and 50 refer to the (inclusive) range that the checksum will be calculated on.";
const std::string kMessage6 =
    kPrefixChecksum +
    "The range you have asked for a checksum on is not available, since it either includes the "
    "checksum byte, or includes data that will be placed after the checksum byte.";
const std::string kMessage7 =
    "There's a problem with the ; section in the request string of the instrument definition. "
    "You must use a section of the type ;90,50 where 90 is the total size of the expected SysEx "
    "message, and 50 is the zero-based offset of the actual stored data (%) within this message.";

class StringExpansionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LastChecksum = 0;
    ExpectedAnswerSize = 170;
    AnswerDataOffset = 0;
  }

  Bytes Request(const std::string& text, uint32_t channel, int32_t program) {
    ExpansionInput input;
    input.channel = channel;
    input.program = program;
    input.requestString = text;
    return ExpandDefinitionString(text, StringKind::Request, input, reporter);
  }

  Bytes Send(const std::string& text, uint32_t channel, int32_t program, const Bytes& data,
             const std::string& request = "") {
    ExpansionInput input;
    input.channel = channel;
    input.program = program;
    input.data = data;
    input.requestString = request;
    return ExpandDefinitionString(text, StringKind::Send, input, reporter);
  }

  test::RecordingReporter reporter;
};

TEST_F(StringExpansionTest, RequestWithAnswerShape) {
  EXPECT_EQ(Request("F0 43 2! 0C [#71+0] F7;40,6", 2, 5), (Bytes{0xF0, 0x43, 0x21, 0x0C, 0x05, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 40);
  EXPECT_EQ(AnswerDataOffset, 6);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, SendWithNumberSectionDataAndChecksum) {
  Bytes data{0x01, 0x02, 0x03};
  EXPECT_EQ(Send("F0 41 0! 12 [#72*4+16] % [$4-8] F7", 1, 5, data),
            (Bytes{0xF0, 0x41, 0x00, 0x12, 0x00, 0x24, 0x01, 0x02, 0x03, 0x56, 0xF7}));
  EXPECT_EQ(LastChecksum, 0x56u);
  EXPECT_TRUE(reporter.boxes.empty());
  // A send string never touches the answer shape.
  EXPECT_EQ(ExpectedAnswerSize, 170);
}

TEST_F(StringExpansionTest, ProgramNumberEncodings) {
  struct Case {
    const char* text;
    int32_t program;
    Bytes bytes;
  };
  const Case cases[] = {
      {"[#27+0]", 300, {0x2C, 0x02}},
      {"[#72+0]", 300, {0x02, 0x2C}},
      {"[#73+0]", 300, {0x00, 0x02, 0x2C}},
      {"[#37+0]", 300, {0x2C, 0x02, 0x00}},
      {"[#71+0]", 300, {0x2C}},
      {"#", 300, {0x2C}},
      {"#", 200, {0xC8}},
      {"[#71+0]", 200, {0x48}},
      {"[#72*]", 300, {0x00, 0x00}},             // an empty number counts as 0
      {"[#72+]", 300, {0x02, 0x2C}},
      {"[#73*2+1]", 10000, {0x01, 0x1C, 0x21}},  // 20001 = 1*16384 + 28*128 + 33
      {"[#37*3]", 7, {0x15, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Request(c.text, 1, c.program), c.bytes) << c.text << " for " << c.program;
  }
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, ErrorsShowTheirMessageAndTheRestIsStillProduced) {
  struct Case {
    const char* text;
    const std::string* message;
    Bytes bytes;
  };
  const Case cases[] = {
      {"F0 [#74+0] F7", &kMessage1, {0xF0, 0xF7}},
      {"F0 [#7] F7", &kMessage1, {0xF0, 0xF7}},
      {"F0 [#72-3] F7", &kMessage2, {0xF0, 0xF7}},
      {"F0 [#72] F7", &kMessage2, {0xF0, 0xF7}},
      {"F0 [#72+1+2] F7", &kMessage3, {0xF0, 0xF7}},
      {"F0 [#72*x] F7", &kMessage3, {0xF0, 0xF7}},
      {"F0 [#72*2+x] F7", &kMessage4, {0xF0, 0xF7}},
      {"F0 [#72*2+3+4] F7", &kMessage4, {0xF0, 0xF7}},
      {"F0 01 [$4] F7", &kMessage5, {0xF0, 0x01, 0xF7}},
      {"F0 01 [$] F7", &kMessage5, {0xF0, 0x01, 0xF7}},
      {"F0 01 [$0-1x] F7", &kMessage5, {0xF0, 0x01, 0xF7}},
      {"F0 01 02 03 04 05 06 07 08 09 [$4-12] F7", &kMessage6,
       {0xF0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xF7}},
      {"F0 01 [$0-2] F7", &kMessage6, {0xF0, 0x01, 0xF7}},
      {"F0 01 [$0-99999999999999999999] F7", &kMessage6, {0xF0, 0x01, 0xF7}},
      {"F0 F7;40", &kMessage7, {0xF0, 0xF7}},
      {"F0 F7;40,6x", &kMessage7, {0xF0, 0xF7}},
  };
  for (const Case& c : cases) {
    reporter.boxes.clear();
    ExpectedAnswerSize = 170;
    AnswerDataOffset = 0;
    EXPECT_EQ(Request(c.text, 1, 5), c.bytes) << c.text;
    ASSERT_EQ(reporter.boxes.size(), 1u) << c.text;
    EXPECT_EQ(reporter.boxes[0].text, *c.message) << c.text;
    EXPECT_EQ(reporter.boxes[0].caption, kCaption);
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(reporter.boxes[0].buttons, BoxButtons::Ok);
    // After a tail error the answer shape keeps its values.
    EXPECT_EQ(ExpectedAnswerSize, 170) << c.text;
    EXPECT_EQ(AnswerDataOffset, 0) << c.text;
  }
}

TEST_F(StringExpansionTest, ChecksumSections) {
  // An empty range (a > b) sums to nothing: the checksum is 0.
  EXPECT_EQ(Request("F0 01 02 03 [$3-1] F7", 1, 0), (Bytes{0xF0, 0x01, 0x02, 0x03, 0x00, 0xF7}));
  // Sum 0x40 + 0x40 = 128: (128 - 0) AND 127 = 0.
  EXPECT_EQ(Request("F0 40 40 [$1-2] F7", 1, 0), (Bytes{0xF0, 0x40, 0x40, 0x00, 0xF7}));
  // The checksum byte itself may follow its range directly.
  EXPECT_EQ(Request("F0 01 [$1-1]", 1, 0), (Bytes{0xF0, 0x01, 0x7F}));
  EXPECT_EQ(LastChecksum, 0x7Fu);
  // A checksum is summed over bytes made by earlier sections too.
  EXPECT_EQ(Request("F0 [#72+0] [$1-2] F7", 1, 300), (Bytes{0xF0, 0x02, 0x2C, 0x52, 0xF7}));
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, RequestChecksumInTheSendString) {
  const std::string request = "F0 01 02 [$1-2] F7;90,7";
  // The request's checksum: 128 - 3 = 125 = 7D.
  EXPECT_EQ(Send("F0 [$R] [$r anything] F7", 1, 0, {}, request),
            (Bytes{0xF0, 0x7D, 0x7D, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 90);
  EXPECT_EQ(AnswerDataOffset, 7);
  // Without a checksum in the request, the last one computed anywhere.
  LastChecksum = 0x33;
  EXPECT_EQ(Send("F0 [$R] F7", 1, 0, {}, "F0 01 F7"), (Bytes{0xF0, 0x33, 0xF7}));
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, RequestChecksumInsideTheRequestDoesNotRecurse) {
  LastChecksum = 0x21;
  const std::string request = "F0 [$R] 01 [$1-2] [$R] F7";
  EXPECT_EQ(Request(request, 1, 0), (Bytes{0xF0, 0x21, 0x01, 0x5E, 0x5E, 0xF7}));
  // Expanded again from a send string: still finite. Its first "[$R]"
  // takes 5E, so its checksum becomes 128 - (5E + 01) = 21.
  EXPECT_EQ(Send("[$R]", 1, 0, {}, request), (Bytes{0x21}));
}

TEST_F(StringExpansionTest, BracketsAnswerShapeAndOddEnds) {
  struct Case {
    const char* text;
    Bytes bytes;
  };
  const Case cases[] = {
      {"F0 [zz] F7", {0xF0, 0xF7}},
      {"F0 [] F7", {0xF0, 0xF7}},
      {"F0 [zz", {0xF0}},           // a "[" that is never closed takes the rest
      {"F0 4", {0xF0}},             // a lone nibble at the end is dropped
      {"", {}},
      {"f0 aB 7f", {0xF0, 0xAB, 0x7F}},
      {"F0 !! F7", {0xF0, 0xFF, 0xF7}},
      {"F0 %% F7", {0xF0, 0xF7}},   // "%" means nothing in a request
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Request(c.text, 16, 0), c.bytes) << c.text;
  }
  EXPECT_TRUE(reporter.boxes.empty());

  EXPECT_EQ(Request("F0 F7;90,50 x", 1, 0), (Bytes{0xF0, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 90);
  EXPECT_EQ(AnswerDataOffset, 50);
  EXPECT_EQ(Request("F0 F7;99999999999,2", 1, 0), (Bytes{0xF0, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, INT32_MAX);
  // Two empty numbers make a well-formed tail of zeros.
  EXPECT_EQ(Request("F0 F7;,", 1, 0), (Bytes{0xF0, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 0);
  EXPECT_EQ(AnswerDataOffset, 0);
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, UnclosedSectionsReportWhatTheyLack) {
  EXPECT_EQ(Request("F0 [#72+5", 1, 0), (Bytes{0xF0}));
  EXPECT_EQ(Request("F0 [#72*5+3", 1, 0), (Bytes{0xF0}));
  EXPECT_EQ(Request("F0 01 [$0-1", 1, 0), (Bytes{0xF0, 0x01}));
  ASSERT_EQ(reporter.boxes.size(), 3u);
  EXPECT_EQ(reporter.boxes[0].text, kMessage3);
  EXPECT_EQ(reporter.boxes[1].text, kMessage4);
  EXPECT_EQ(reporter.boxes[2].text, kMessage5);
}

TEST_F(StringExpansionTest, SendStringWithSeveralDataMarksHoldsThemAll) {
  Bytes data(600);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  Bytes out = Send("F0 % % % F7", 1, 0, data);
  ASSERT_EQ(out.size(), 2 + 3 * data.size());
  EXPECT_EQ(out.front(), 0xF0);
  EXPECT_EQ(out.back(), 0xF7);
  for (size_t copy = 0; copy < 3; ++copy) {
    EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin() + 1 + copy * data.size()));
  }
}

TEST_F(StringExpansionTest, SemicolonEndsASendStringWithoutTouchingTheShape) {
  EXPECT_EQ(Send("F0 01 F7;90,50 02", 1, 0, {}), (Bytes{0xF0, 0x01, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 170);
  EXPECT_EQ(AnswerDataOffset, 0);
}

TEST_F(StringExpansionTest, WholeBytesBetweenNibblesOverwriteTheHalfByte) {
  // "#" writes the whole byte at the position; the nibble after it fills
  // the next byte's low half.
  EXPECT_EQ(Request("F #5", 1, 0x22), (Bytes{0x22, 0x05}));
}

struct RecordingSender : SysExSender {
  std::vector<Bytes> sent;
  bool answer = true;
  bool Send(const uint8_t* bytes, size_t length) override {
    sent.emplace_back(bytes, bytes + length);
    return answer;
  }
};

TEST_F(StringExpansionTest, RequestAndSendProgramHandTheMessageToTheSender) {
  InstrumentDefinition m1;
  m1.channel = 3;
  m1.programSize = 4;
  SetFixedText(m1.requestString, "C! # F0 42 3! 19 10 F7;170,0");
  SetFixedText(m1.sendString, "C! # %");
  RecordingSender sender;
  EXPECT_TRUE(RequestProgram(m1, 7, sender, reporter));
  Bytes data{0xF0, 0x42, 0x32, 0xF7};
  sender.answer = false;
  EXPECT_FALSE(SendProgram(m1, 9, data, sender, reporter));
  ASSERT_EQ(sender.sent.size(), 2u);
  EXPECT_EQ(sender.sent[0], (Bytes{0xC2, 0x07, 0xF0, 0x42, 0x32, 0x19, 0x10, 0xF7}));
  EXPECT_EQ(sender.sent[1], (Bytes{0xC2, 0x09, 0xF0, 0x42, 0x32, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, 170);

  // The current definition is used by the short forms.
  CurrentDefinition = m1;
  sender.sent.clear();
  RequestProgram(1, sender, reporter);
  SendProgram(2, data, sender, reporter);
  ASSERT_EQ(sender.sent.size(), 2u);
  EXPECT_EQ(sender.sent[0][1], 0x01);
  EXPECT_EQ(sender.sent[1][1], 0x02);
  CurrentDefinition = InstrumentDefinition();
}

TEST_F(StringExpansionTest, DataMarkStandsForExactlyTheProgramSize) {
  InstrumentDefinition d;
  d.channel = 1;
  d.programSize = 4;
  SetFixedText(d.sendString, "F0 % F7");
  EXPECT_EQ(ExpandSendString(d, 0, Bytes{0x11, 0x22}, reporter),
            (Bytes{0xF0, 0x11, 0x22, 0x00, 0x00, 0xF7}));
  EXPECT_EQ(ExpandSendString(d, 0, Bytes{1, 2, 3, 4, 5, 6}, reporter),
            (Bytes{0xF0, 1, 2, 3, 4, 0xF7}));
  EXPECT_EQ(ExpandSendString(d, 0, Bytes{1, 2, 3, 4}, reporter), (Bytes{0xF0, 1, 2, 3, 4, 0xF7}));
  d.programSize = 0;
  EXPECT_EQ(ExpandSendString(d, 0, Bytes{1, 2}, reporter), (Bytes{0xF0, 0xF7}));
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(StringExpansionTest, StringFieldWithoutTerminatorIsReadOnlyToItsEnd) {
  InstrumentDefinition d;
  d.channel = 1;
  d.requestString.fill('1');  // 450 digits and no zero byte
  d.sendString.fill('2');
  Bytes request = ExpandRequestString(d, 0, reporter);
  EXPECT_EQ(request, Bytes(225, 0x11));
  Bytes send = ExpandSendString(d, 0, {}, reporter);
  EXPECT_EQ(send, Bytes(225, 0x22));
}

}  // namespace
}  // namespace qv

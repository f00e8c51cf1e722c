#include "manager/acknowledgement_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "manager/hex_text.h"
#include "tests/support/recording_reporter.h"

namespace qv::test {
namespace {

// A record whose message holds a recognisable pattern in all 512 bytes.
SettingsRecord PatternedSettings(std::int32_t receiptLength) {
  SettingsRecord settings;
  for (std::size_t i = 0; i < kAcknowledgeMessageSize; ++i) {
    settings.AcknowledgeMessage[i] = static_cast<std::uint8_t>(0x80 + i % 0x40);
  }
  settings.ReceiptLength = receiptLength;
  return settings;
}

TEST(AcknowledgementEditorOpening, ShowsTheFirstReceiptLengthBytes) {
  EXPECT_EQ(AcknowledgementHexText(PatternedSettings(0)), "");
  EXPECT_EQ(AcknowledgementHexText(PatternedSettings(-5)), "");
  EXPECT_EQ(AcknowledgementHexText(PatternedSettings(3)), "80 81 82 ");
  EXPECT_EQ(AcknowledgementHexText(PatternedSettings(512)).size(), 512u * 3);
  // A length beyond the message (a hand-edited registry) shows the whole
  // message, never what lies behind it.
  EXPECT_EQ(AcknowledgementHexText(PatternedSettings(100000)).size(), 512u * 3);
}

TEST(AcknowledgementEditorOk, TakesTheTypedBytes) {
  SettingsRecord settings = PatternedSettings(10);
  RecordingReporter reporter;
  ASSERT_TRUE(AcceptAcknowledgementText("F0 7E 7F 0C 01 F7", settings, reporter));
  EXPECT_EQ(settings.ReceiptLength, 6);
  const std::vector<std::uint8_t> first(settings.AcknowledgeMessage, settings.AcknowledgeMessage + 6);
  EXPECT_EQ(first, (std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F, 0x0C, 0x01, 0xF7}));
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(AcknowledgementHexText(settings), "f0 7e 7f 0c 01 f7 ");
}

TEST(AcknowledgementEditorOk, TakesExactly512Bytes) {
  SettingsRecord settings = PatternedSettings(0);
  RecordingReporter reporter;
  std::string text(1024, 'A');  // 512 bytes written without spaces
  ASSERT_TRUE(AcceptAcknowledgementText(text, settings, reporter));
  EXPECT_EQ(settings.ReceiptLength, 512);
  EXPECT_TRUE(std::all_of(settings.AcknowledgeMessage, settings.AcknowledgeMessage + 512,
                          [](std::uint8_t b) { return b == 0xAA; }));
}

struct AckRefusal {
  const char* name;
  std::string text;
  const char* box;  // nullptr: no box
};

class AcknowledgementEditorRefusals : public ::testing::TestWithParam<AckRefusal> {};

TEST_P(AcknowledgementEditorRefusals, LeaveTheSettingsUnchanged) {
  SettingsRecord settings = PatternedSettings(7);
  const SettingsRecord before = settings;
  RecordingReporter reporter;
  EXPECT_FALSE(AcceptAcknowledgementText(GetParam().text, settings, reporter));
  EXPECT_EQ(settings.ReceiptLength, 7);
  EXPECT_TRUE(std::equal(settings.AcknowledgeMessage, settings.AcknowledgeMessage + 512,
                         before.AcknowledgeMessage));
  if (GetParam().box == nullptr) {
    EXPECT_TRUE(reporter.boxes.empty());
  } else {
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, GetParam().box);
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcknowledgementEditorRefusals,
    ::testing::Values(
        AckRefusal{"Empty", "", nullptr}, AckRefusal{"SpacesOnly", "   ", nullptr},
        AckRefusal{"OddDigits", "F0 4", kHexPairsText},
        AckRefusal{"LowerCase", "f0", kHexDigitsText},
        // 513 bytes fit the 1,500 characters but not the 512-byte message.
        AckRefusal{"MoreThan512Bytes", std::string(1026, 'B'), kAcknowledgementTooManyBytesText},
        AckRefusal{"750BytesWithoutSpaces", std::string(1500, 'C'), kAcknowledgementTooManyBytesText},
        AckRefusal{"LongerThan1500Characters", std::string(1501, ' '), kAcknowledgementTooLongText}),
    [](const ::testing::TestParamInfo<AckRefusal>& info) { return std::string(info.param.name); });

TEST(AcknowledgementEditorTexts, AreTheSystemsOwn) {
  EXPECT_STREQ(kAcknowledgementTitle, "Create/Edit Acknowledgement Message");
  EXPECT_STREQ(kAcknowledgementTooLongText,
               "Sorry; you can only create acknowledgement messages that are 1500 bytes or less "
               "when stored as text.");
}

}  // namespace
}  // namespace qv::test

#include "librarian/definition_dialog_form.h"

#include <gtest/gtest.h>

#include <fstream>

#include "librarian/definition_file.h"
#include "librarian/definition_string_check.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

DefinitionFormFields GoodFields() {
  DefinitionFormFields fields;
  fields.channel = "1";
  fields.lowestProgram = "0";
  fields.highestProgram = "99";
  fields.displayOffset = "1";
  fields.programSize = "170";
  fields.requestString = "F0 42 3! 19 10 F7";
  fields.sendString = "F0 42 3! 19 40 % F7";
  fields.nameOffsets = "10 11 12";
  fields.notes = "An M1";
  fields.inputPort = 1;
  fields.outputPort = 2;
  fields.nameExtraction = true;
  fields.autoUpdate = false;
  return fields;
}

TEST(DefinitionFormNumbers, SignedAndUnsignedFields) {
  struct Case {
    const char* text;
    std::optional<int32_t> asSigned;
    std::optional<uint32_t> asUnsigned;
  } cases[] = {
      {"0", 0, 0u},
      {"16", 16, 16u},
      {"  42 ", 42, 42u},
      {"+7", 7, 7u},
      {"-1", -1, std::nullopt},
      {"-2147483648", INT32_MIN, std::nullopt},
      {"2147483647", INT32_MAX, 2147483647u},
      {"2147483648", std::nullopt, 2147483648u},
      {"4294967296", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"   ", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {"12abc", std::nullopt, std::nullopt},
      {"1 2", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"99999999999999999999", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSignedField(c.text), c.asSigned);
    EXPECT_EQ(ParseUnsignedField(c.text), c.asUnsigned);
  }
}

TEST(DefinitionFormNumbers, NameOffsetsEndInOneSpace) {
  EXPECT_EQ(StoredNameOffsets("10 11 12"), "10 11 12 ");
  EXPECT_EQ(StoredNameOffsets("10 11 12 "), "10 11 12 ");
  EXPECT_EQ(StoredNameOffsets(""), " ");
  std::string longText(120, '5');
  std::string stored = StoredNameOffsets(longText);
  EXPECT_EQ(stored.size(), kNameOffsetsTextLimit + 1);
  EXPECT_EQ(stored.back(), ' ');
}

struct Refusal {
  const char* what;
  void (*change)(DefinitionFormFields&);
  const char* message;
  const char* caption;
  FormField field;
};

TEST(DefinitionFormAccept, EachRefusalShowsItsMessageAndChangesNothing) {
  const Refusal refusals[] = {
      {"channel 0", [](DefinitionFormFields& f) { f.channel = "0"; }, kChannelMessage, kChannelCaption,
       FormField::Channel},
      {"channel 17", [](DefinitionFormFields& f) { f.channel = "17"; }, kChannelMessage,
       kChannelCaption, FormField::Channel},
      {"empty channel", [](DefinitionFormFields& f) { f.channel = ""; }, kChannelMessage,
       kChannelCaption, FormField::Channel},
      {"start after end",
       [](DefinitionFormFields& f) {
         f.lowestProgram = "11";
         f.highestProgram = "10";
       },
       kRangeMessage, "Please correct your input.", FormField::LowestProgram},
      {"start -1", [](DefinitionFormFields& f) { f.lowestProgram = "-1"; }, kRangeMessage,
       "Please correct your input.", FormField::LowestProgram},
      {"end 2049", [](DefinitionFormFields& f) { f.highestProgram = "2049"; }, kRangeMessage,
       "Please correct your input.", FormField::LowestProgram},
      {"end empty", [](DefinitionFormFields& f) { f.highestProgram = ""; }, kRangeMessage,
       "Please correct your input.", FormField::LowestProgram},
      {"offset text", [](DefinitionFormFields& f) { f.displayOffset = "one"; }, kDisplayOffsetMessage,
       "Please correct your input.", FormField::DisplayOffset},
      {"size 32001", [](DefinitionFormFields& f) { f.programSize = "32001"; }, kProgramSizeMessage,
       "Please correct your input.", FormField::ProgramSize},
      {"size negative", [](DefinitionFormFields& f) { f.programSize = "-5"; }, kProgramSizeMessage,
       "Please correct your input.", FormField::ProgramSize},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    DefinitionFormFields fields = GoodFields();
    r.change(fields);
    InstrumentDefinition definition;
    definition.channel = 5;
    definition.highestProgram = 7;
    test::RecordingReporter reporter;
    EXPECT_EQ(AcceptDefinitionForm(fields, definition, reporter), r.field);
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text, r.message);
    EXPECT_EQ(reporter.boxes[0].caption, r.caption);
    EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Stop);
    EXPECT_EQ(definition.channel, 5u);
    EXPECT_EQ(definition.highestProgram, 7);
    EXPECT_EQ(FixedText(definition.requestString), "");
  }
}

TEST(DefinitionFormAccept, LimitsThatAreAccepted) {
  const std::pair<const char*, void (*)(DefinitionFormFields&)> accepted[] = {
      {"channel 16", [](DefinitionFormFields& f) { f.channel = "16"; }},
      {"start equals end",
       [](DefinitionFormFields& f) {
         f.lowestProgram = "10";
         f.highestProgram = "10";
       }},
      {"end 2048", [](DefinitionFormFields& f) { f.highestProgram = "2048"; }},
      {"size 32000", [](DefinitionFormFields& f) { f.programSize = "32000"; }},
      {"size 0", [](DefinitionFormFields& f) { f.programSize = "0"; }},
      {"negative offset", [](DefinitionFormFields& f) { f.displayOffset = "-1"; }},
  };
  for (const auto& [what, change] : accepted) {
    SCOPED_TRACE(what);
    DefinitionFormFields fields = GoodFields();
    change(fields);
    InstrumentDefinition definition;
    test::RecordingReporter reporter;
    EXPECT_EQ(AcceptDefinitionForm(fields, definition, reporter), std::nullopt);
    EXPECT_TRUE(reporter.boxes.empty());
  }
}

TEST(DefinitionFormAccept, AcceptedFieldsFillTheDefinition) {
  InstrumentDefinition definition;
  test::RecordingReporter reporter;
  ASSERT_EQ(AcceptDefinitionForm(GoodFields(), definition, reporter), std::nullopt);
  EXPECT_EQ(definition.channel, 1u);
  EXPECT_EQ(definition.lowestProgram, 0);
  EXPECT_EQ(definition.highestProgram, 99);
  EXPECT_EQ(definition.displayOffset, 1);
  EXPECT_EQ(definition.programSize, 170);
  EXPECT_EQ(definition.inputPort, 1);
  EXPECT_EQ(definition.outputPort, 2);
  EXPECT_EQ(definition.nameExtraction, 1u);
  EXPECT_EQ(definition.autoUpdate, 0u);
  EXPECT_EQ(FixedText(definition.requestString), "F0 42 3! 19 10 F7");
  EXPECT_EQ(FixedText(definition.sendString), "F0 42 3! 19 40 % F7");
  EXPECT_EQ(FixedText(definition.nameOffsets), "10 11 12 ");
  EXPECT_EQ(FixedText(definition.notes), "An M1");
}

TEST(DefinitionFormAccept, RefusedStringKeepsWhatWasCopiedBeforeTheCheck) {
  for (bool badRequest : {true, false}) {
    SCOPED_TRACE(badRequest ? "request" : "send");
    DefinitionFormFields fields = GoodFields();
    (badRequest ? fields.requestString : fields.sendString) = "F0 4";
    InstrumentDefinition definition;
    SetFixedText(definition.notes, "old notes");
    test::RecordingReporter reporter;
    EXPECT_EQ(AcceptDefinitionForm(fields, definition, reporter),
              badRequest ? FormField::RequestString : FormField::SendString);
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].text,
              badRequest ? kRequestStringInvalidMessage : kSendStringInvalidMessage);
    EXPECT_EQ(reporter.boxes[0].caption, "Please correct your input.");
    EXPECT_EQ(definition.channel, 1u);
    EXPECT_EQ(definition.programSize, 170);
    EXPECT_EQ(FixedText(badRequest ? definition.requestString : definition.sendString), "F0 4");
    EXPECT_EQ(FixedText(definition.notes), "old notes") << "notes are copied after the checks";
  }
}

TEST(DefinitionFormAccept, LongTextsAreCutToTheirFields) {
  DefinitionFormFields fields = GoodFields();
  fields.requestString = std::string(600, 'F') + "0";
  fields.notes = std::string(2000, 'n');
  InstrumentDefinition definition;
  test::RecordingReporter reporter;
  AcceptDefinitionForm(fields, definition, reporter);
  EXPECT_EQ(FixedText(definition.requestString).size(), kDefinitionStringTextLimit);
  fields.requestString = "F0F7";
  ASSERT_EQ(AcceptDefinitionForm(fields, definition, reporter), std::nullopt);
  EXPECT_EQ(FixedText(definition.notes).size(), kNotesTextLimit);
}

TEST(DefinitionFormFieldsOfDefinition, ShowsEveryFieldAndRoundTrips) {
  InstrumentDefinition shown;
  test::RecordingReporter reporter;
  ASSERT_EQ(AcceptDefinitionForm(GoodFields(), shown, reporter), std::nullopt);
  shown.displayOffset = -3;
  DefinitionFormFields fields = FieldsOfDefinition(shown);
  EXPECT_EQ(fields.displayOffset, "-3");
  EXPECT_EQ(fields.nameOffsets, "10 11 12 ");
  InstrumentDefinition again;
  ASSERT_EQ(AcceptDefinitionForm(fields, again, reporter), std::nullopt);
  uint8_t a[kDefinitionRecordSize], b[kDefinitionRecordSize];
  EncodeInstrumentDefinition(shown, a);
  EncodeInstrumentDefinition(again, b);
  EXPECT_EQ(std::vector<uint8_t>(a, a + sizeof a), std::vector<uint8_t>(b, b + sizeof b));
}

TEST(DefinitionFormChoice, PositionsOnOpening) {
  EXPECT_EQ(InitialDefinitionPosition(-1, 3), 0);
  EXPECT_EQ(InitialDefinitionPosition(2, 3), 2);
  EXPECT_EQ(InitialDefinitionPosition(3, 3), 0);
  EXPECT_EQ(InitialDefinitionPosition(0, 0), 0) << "only \"Define new instrument\"";
  EXPECT_TRUE(EntersAtOnce(1, 2, 3));
  EXPECT_FALSE(EntersAtOnce(0, 2, 3));
  EXPECT_FALSE(EntersAtOnce(1, 3, 3));
  EXPECT_FALSE(EntersAtOnce(1, -1, 3));
  EXPECT_FALSE(EntersAtOnce(1, 0, 0));
  EXPECT_EQ(ListedPortPosition(1, 2), 1);
  EXPECT_EQ(ListedPortPosition(5, 2), 0);
  EXPECT_EQ(ListedPortPosition(-1, 2), 0);
}

TEST(DefinitionFormChoice, ToolTipsNameEachControlOnce) {
  const auto& tips = DefinitionToolTips();
  EXPECT_EQ(tips.size(), 14u);
  for (size_t i = 0; i < tips.size(); ++i) {
    EXPECT_NE(std::string(tips[i].text), "");
    for (size_t j = i + 1; j < tips.size(); ++j) EXPECT_NE(tips[i].controlId, tips[j].controlId);
  }
}

class DefinitionSaving : public ::testing::Test {
 protected:
  InstrumentDefinition Definition(uint32_t channel) {
    InstrumentDefinition d;
    d.channel = channel;
    d.programSize = 170;
    SetFixedText(d.requestString, "F0F7");
    return d;
  }
  test::ScratchFolder folder_;
};

TEST_F(DefinitionSaving, ListedDefinitionIsRewrittenInPlaceAndKeepsItsTail) {
  std::string path = folder_.File("Korg M1.QvInstrument");
  ASSERT_EQ(SaveInstrumentDefinition(path, Definition(1), DefinitionWrite::CreateNew),
            FileWriteResult::Written);
  ASSERT_TRUE(SaveDeviceLines(path, {"Piano", "Strings"}));
  uint64_t sizeBefore = test::ReadWholeFile(path).size();
  test::RecordingReporter reporter;
  std::string name;
  EXPECT_EQ(SaveDefinitionFile(path, true, Definition(9), reporter, name), DefinitionSave::Saved);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(name, "Korg M1");
  EXPECT_EQ(test::ReadWholeFile(path).size(), sizeBefore);
  InstrumentDefinition read;
  std::string readName;
  ASSERT_TRUE(LoadInstrumentDefinition(path, read, readName));
  EXPECT_EQ(read.channel, 9u);
  std::vector<std::string> lines;
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"Piano", "Strings"}));
}

TEST_F(DefinitionSaving, ListedDefinitionThatCannotBeWrittenIsReported) {
  std::string path = folder_.File("gone.QvInstrument");
  test::RecordingReporter reporter;
  std::string name;
  EXPECT_EQ(SaveDefinitionFile(path, true, Definition(2), reporter, name), DefinitionSave::Saved);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, kFileCreateFailedCaption);
  EXPECT_FALSE(std::filesystem::exists(path)) << "not made by a rewrite";
}

TEST_F(DefinitionSaving, NewDefinitionIsCreated) {
  std::string path = folder_.File("Roland D50.QvInstrument");
  test::RecordingReporter reporter;
  std::string name;
  EXPECT_EQ(SaveDefinitionFile(path, false, Definition(3), reporter, name), DefinitionSave::Saved);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(name, "Roland D50");
  EXPECT_EQ(test::ReadWholeFile(path).size(), kDefinitionRecordSize);
}

TEST_F(DefinitionSaving, ExistingFileIsReplacedOnlyAfterYes) {
  std::string path = folder_.File("Korg M1.QvInstrument");
  ASSERT_EQ(SaveInstrumentDefinition(path, Definition(1), DefinitionWrite::CreateNew),
            FileWriteResult::Written);
  ASSERT_TRUE(SaveDeviceLines(path, {"Piano"}));
  std::vector<uint8_t> before = test::ReadWholeFile(path);

  test::RecordingReporter no;
  no.answers = {BoxAnswer::No};
  std::string name;
  EXPECT_EQ(SaveDefinitionFile(path, false, Definition(4), no, name), DefinitionSave::Stay);
  ASSERT_EQ(no.boxes.size(), 1u);
  EXPECT_EQ(no.boxes[0].text, kOverwriteQuestion);
  EXPECT_EQ(no.boxes[0].caption, kOverwriteCaption);
  EXPECT_EQ(no.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(no.boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(test::ReadWholeFile(path), before);

  test::RecordingReporter yes;
  yes.answers = {BoxAnswer::Yes};
  EXPECT_EQ(SaveDefinitionFile(path, false, Definition(4), yes, name), DefinitionSave::Saved);
  EXPECT_EQ(yes.boxes.size(), 1u);
  EXPECT_EQ(test::ReadWholeFile(path).size(), kDefinitionRecordSize) << "the old tail goes";
  InstrumentDefinition read;
  std::string readName;
  ASSERT_TRUE(LoadInstrumentDefinition(path, read, readName));
  EXPECT_EQ(read.channel, 4u);
}

TEST_F(DefinitionSaving, NewFileThatCannotBeMadeIsReportedAndStays) {
  std::string path = folder_.File("no such folder/x.QvInstrument");
  test::RecordingReporter reporter;
  reporter.answers = {BoxAnswer::Yes};
  std::string name;
  EXPECT_EQ(SaveDefinitionFile(path, false, Definition(4), reporter, name), DefinitionSave::Stay);
  ASSERT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[0].caption, kOverwriteCaption);
  EXPECT_EQ(reporter.boxes[1].text, kFileCreateFailedMessage);
  EXPECT_EQ(reporter.boxes[1].caption, kFileCreateFailedCaption);
  EXPECT_EQ(reporter.boxes[1].icon, BoxIcon::Exclamation);
}

}  // namespace
}  // namespace qv

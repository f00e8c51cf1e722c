// The shipped Korg M1 definition, written by the definition code, read back
// from its file and used as the librarian uses it against real M1 dumps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/m1_program.h"
#include "editor/m1_program_dump.h"
#include "librarian/answer_data.h"
#include "librarian/definition_file.h"
#include "librarian/definition_string_check.h"
#include "librarian/shipped_definitions.h"
#include "librarian/string_expansion.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

class ShippedDefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    paths_ = WriteShippedDefinitions(folder_.path(), reporter_);
    ASSERT_EQ(paths_.size(), ShippedDefinitions().size());
    EXPECT_TRUE(reporter_.boxes.empty());
  }

  InstrumentDefinition LoadM1() {
    InstrumentDefinition definition;
    std::string name;
    EXPECT_TRUE(LoadInstrumentDefinition(folder_.File("Korg M1.QvInstrument"), definition, name));
    EXPECT_EQ(name, "Korg M1");
    return definition;
  }

  test::ScratchFolder folder_;
  test::RecordingReporter reporter_;
  std::vector<std::string> paths_;
};

TEST_F(ShippedDefinitionsTest, KorgM1FileHoldsTheRecordOnly) {
  EXPECT_EQ(test::ReadWholeFile(folder_.File("Korg M1.QvInstrument")).size(), kDefinitionRecordSize);
  const InstrumentDefinition m1 = LoadM1();
  EXPECT_EQ(m1.channel, 1u);
  EXPECT_EQ(m1.lowestProgram, 0);
  EXPECT_EQ(m1.highestProgram, 99);
  EXPECT_EQ(m1.displayOffset, 0);
  EXPECT_EQ(m1.programSize, 170);
  EXPECT_EQ(m1.nameExtraction, 1u);
  EXPECT_EQ(m1.autoUpdate, 0u);
  EXPECT_EQ(FixedText(m1.requestString), "C! # F0 42 3! 19 10 F7;170,0");
  EXPECT_EQ(FixedText(m1.sendString), "C! # %");
  EXPECT_EQ(FixedText(m1.nameOffsets), "6 7 8 9 10 11 12 14 15 16 ");
  // The notes are kept whole and say what the instrument must be set to.
  const std::string notes(FixedText(m1.notes));
  EXPECT_EQ(notes, ShippedDefinitions()[0].fields.notes);
  EXPECT_NE(notes.find("Program mode"), std::string::npos);
  EXPECT_NE(notes.find("MIDI channel 1"), std::string::npos);
  EXPECT_NE(notes.find("System Exclusive"), std::string::npos);
}

TEST_F(ShippedDefinitionsTest, EveryShippedStringPassesTheDialogsCheck) {
  for (const ShippedDefinition& shipped : ShippedDefinitions()) {
    EXPECT_TRUE(ValidateDefinitionString(shipped.fields.requestString)) << shipped.name;
    EXPECT_TRUE(ValidateDefinitionString(shipped.fields.sendString)) << shipped.name;
    EXPECT_LT(shipped.fields.notes.size(), kNotesSize) << shipped.name;
  }
}

TEST_F(ShippedDefinitionsTest, KorgM1RequestSendAndNamesFitTheM1Dump) {
  const InstrumentDefinition m1 = LoadM1();
  ExpectedAnswerSize = 0;
  AnswerDataOffset = -1;
  EXPECT_EQ(ExpandRequestString(m1, 42, reporter_),
            (std::vector<uint8_t>{0xC0, 42, 0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7}));
  EXPECT_EQ(ExpectedAnswerSize, static_cast<int32_t>(kM1ProgramDumpSize));
  EXPECT_EQ(AnswerDataOffset, 0);

  // A dump of a program whose name uses all ten characters: the name
  // offsets skip the flag bytes of the 7-in-8 packing.
  M1Program program = BlankM1Program();
  const std::string name = "Strings 16";
  for (int i = 0; i < kM1NameLength; ++i) program[static_cast<size_t>(i)] = static_cast<uint8_t>(name[static_cast<size_t>(i)]);
  const M1ProgramDump dump = PackM1Dump(program, 1);
  EXPECT_EQ(ProgramNameText(ExtractProgramName(dump, AnswerDataOffset, FixedText(m1.nameOffsets))),
            name);

  // Sending program 7 puts the M1 there and hands it the stored dump whole.
  const std::vector<uint8_t> stored = ProgramDataFromAnswer(dump, AnswerDataOffset, m1.programSize);
  std::vector<uint8_t> expected{0xC0, 7};
  expected.insert(expected.end(), dump.begin(), dump.end());
  EXPECT_EQ(ExpandSendString(m1, 7, stored, reporter_), expected);
  EXPECT_TRUE(reporter_.boxes.empty());
}

}  // namespace
}  // namespace qv

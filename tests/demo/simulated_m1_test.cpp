// The simulated Korg M1 answers exactly what the shipped M1 definition asks,
// with dumps of 100 different, named programs.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "editor/m1_program_dump.h"
#include "librarian/answer_data.h"
#include "librarian/shipped_definitions.h"
#include "librarian/string_expansion.h"
#include "tests/demo/simulated_m1.h"
#include "tests/support/recording_reporter.h"

namespace qv::demo {
namespace {

std::vector<uint8_t> HexBytes(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::istringstream in(text);
  std::string pair;
  while (in >> pair) bytes.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
  return bytes;
}

TEST(SimulatedM1, NamesAreDistinctPrintableAndTenCharactersLong) {
  std::set<std::string> names;
  for (int program = 0; program < kSimulatedPrograms; ++program) {
    const std::string name = SimulatedProgramName(program);
    ASSERT_EQ(name.size(), static_cast<size_t>(kM1NameLength));
    for (char c : name) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << name;
    EXPECT_NE(name.find_first_not_of(' '), std::string::npos);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(kSimulatedPrograms));
}

TEST(SimulatedM1, AnswersEveryRequestOfTheShippedDefinitionWithThatProgram) {
  InstrumentDefinition m1;
  test::RecordingReporter reporter;
  ASSERT_FALSE(AcceptDefinitionForm(ShippedDefinitions().at(0).fields, m1, reporter));
  std::istringstream script(SimulatedM1Script());
  std::string line;
  std::vector<std::string> responders;
  std::set<std::string> portNames;
  while (std::getline(script, line)) {
    if (line.rfind("respond ", 0) == 0) responders.push_back(line);
    if (line.rfind("input-name 0 ", 0) == 0 || line.rfind("output-name 0 ", 0) == 0)
      portNames.insert(line.substr(line.find(" 0 ") + 3));
  }
  EXPECT_EQ(portNames, (std::set<std::string>{kSimulatedPortName}));
  ASSERT_EQ(responders.size(), static_cast<size_t>(kSimulatedPrograms));
  std::set<std::vector<uint8_t>> bodies;
  for (int program = 0; program < kSimulatedPrograms; ++program) {
    const std::string& responder = responders[static_cast<size_t>(program)];
    const size_t arrow = responder.find(" => ");
    ASSERT_NE(arrow, std::string::npos);
    // "respond OUT IN MS " then the pattern: the definition's request.
    std::istringstream head(responder.substr(0, arrow));
    std::string word, pattern, hex;
    head >> word >> word >> word >> word;
    while (head >> hex) pattern += (pattern.empty() ? "" : " ") + hex;
    EXPECT_EQ(HexBytes(pattern), ExpandRequestString(m1, program, reporter)) << program;
    const std::vector<uint8_t> answer = HexBytes(responder.substr(arrow + 4));
    ASSERT_EQ(answer.size(), static_cast<size_t>(ExpectedAnswerSize));
    EXPECT_EQ(ProgramNameText(ExtractProgramName(answer, AnswerDataOffset, FixedText(m1.nameOffsets))),
              SimulatedProgramName(program));
    M1Program unpacked{};
    ASSERT_TRUE(UnpackM1Program(answer, unpacked));
    EXPECT_EQ(unpacked, SimulatedProgram(program));
    bodies.insert(std::vector<uint8_t>(unpacked.begin() + kM1NameLength, unpacked.end()));
  }
  EXPECT_GT(bodies.size(), static_cast<size_t>(kSimulatedPrograms / 2)) << "the sounds differ too";
  EXPECT_TRUE(reporter.boxes.empty());
}

}  // namespace
}  // namespace qv::demo

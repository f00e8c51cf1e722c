// Real M1 programs: the factory bank and a user bank, as all-program dumps.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/m1_all_program_dump.h"
#include "editor/m1_program_dump.h"
#include "editor/parameter_engine.h"
#include "editor/program_name.h"
#include "tests/editor/recording_controls.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

struct Bank {
  const char* file;
  const char* first_name;  // ten bytes, 00 bytes included
  const char* last_name;
};

const Bank kBanks[] = {
    {"Korg_M1__ORIGPROG.SYX", "Universe  ", "Surprise!!"},
    {"Korg_M1__bank21.syx", "Grandbient", "NewDrums1 "},
};

std::string NameOf(const M1Program& p) { return std::string(p.begin(), p.begin() + 10); }

// The programs of the first all-program dump in a file; skips the test when
// the corpus is not there.
std::vector<M1Program> LoadBank(const char* file) {
  std::filesystem::path path = std::filesystem::path(QV_CORPUS_DIR) / file;
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  auto start = std::find(bytes.begin(), bytes.end(), std::uint8_t{0xF0});
  auto end = std::find(start, bytes.end(), std::uint8_t{0xF7});
  if (start == bytes.end() || end == bytes.end()) return {};
  auto programs = SplitM1AllProgramDump(std::span<const std::uint8_t>(&*start, end - start + 1));
  return programs ? *programs : std::vector<M1Program>{};
}

class M1Corpus : public ::testing::TestWithParam<Bank> {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(std::filesystem::path(QV_CORPUS_DIR) / GetParam().file))
      GTEST_SKIP() << "corpus file not present";
    programs_ = LoadBank(GetParam().file);
  }
  std::vector<M1Program> programs_;
};

TEST_P(M1Corpus, HoldsOneHundredProgramsWithTheListedFirstAndLastNames) {
  ASSERT_EQ(programs_.size(), 100u);
  EXPECT_EQ(NameOf(programs_.front()), GetParam().first_name);
  EXPECT_EQ(NameOf(programs_.back()), GetParam().last_name);
  for (const M1Program& p : programs_) EXPECT_LE(p[kM1OscillatorMode] & 3, 2);
}

TEST_P(M1Corpus, EveryProgramSurvivesAProgramDumpByteForByte) {
  ASSERT_EQ(programs_.size(), 100u);
  for (std::size_t n = 0; n < programs_.size(); ++n) {
    M1ProgramDump d = PackM1Dump(programs_[n], 1);
    M1Program back{}, revert{};
    ASSERT_TRUE(UnpackM1Dump(d, back, revert));
    EXPECT_EQ(back, programs_[n]) << "program " << n;
  }
}

// Shows the program in every oscillator and effect view, with the box
// notifications a real window sends, then enters and leaves every edit box.
TEST_P(M1Corpus, ShowingEveryProgramNeverChangesItNorComplains) {
  ASSERT_EQ(programs_.size(), 100u);
  for (std::size_t n = 0; n < programs_.size(); ++n) {
    EditorState state;
    state.edit_buffer = programs_[n];
    state.program_number = int(n);
    test::RecordingControls controls;
    test::RecordingReporter reporter;
    ParameterEngine engine(state, controls, reporter);
    controls.engine = &engine;
    test::User user(controls, engine);

    for (int oscillator : {1, 2}) {
      for (int effect : {1, 2}) {
        state.oscillator = oscillator;
        state.effect = effect;
        engine.RefreshControls();
        for (const ParameterRow& row : ParameterMap) {
          if (!test::RecordingControls::IsEditBox(row.control)) continue;
          if (controls.enabled.count(row.control) && !controls.enabled[row.control]) continue;
          user.Enter(row.control);
          user.Leave(row.control);
        }
        for (int box = kFirstEffectBox; box < kFirstEffectBox + kEffectBoxCount; ++box) {
          if (!controls.shown[box]) continue;
          user.Enter(box);
          user.Leave(box);
        }
      }
    }
    EXPECT_EQ(state.edit_buffer, programs_[n]) << "program " << n << " " << NameOf(programs_[n]);
    EXPECT_TRUE(reporter.boxes.empty())
        << "program " << n << ": " << (reporter.boxes.empty() ? "" : reporter.boxes[0].text);
    EXPECT_EQ(controls.texts[kProgramListControl].size(), 13u);
  }
}

INSTANTIATE_TEST_SUITE_P(Banks, M1Corpus, ::testing::ValuesIn(kBanks),
                         [](const auto& info) { return info.index == 0 ? "Factory" : "Bank21"; });

TEST(M1CorpusNames, NamesWithZeroBytesShowInFullAndSurviveEditing) {
  auto programs = LoadBank("Korg_M1__ORIGPROG.SYX");
  if (programs.empty()) GTEST_SKIP() << "corpus file not present";
  const M1Program& piano = programs[1];
  const std::string raw("Piano\0" "16'\0", 10);
  ASSERT_EQ(NameOf(piano), raw);
  EXPECT_EQ(ProgramListText(1, piano), "01 Piano 16' ");

  M1Program edited = piano;
  StoreShownName("Piano 16' ", edited);
  EXPECT_EQ(edited, piano);
  StoreShownName("Piano 16'!", edited);
  EXPECT_EQ(NameOf(edited), std::string("Piano\0" "16'!", 10));
}

// Another Korg model's bank uses the same function code with its own model
// byte: it is not taken for M1 programs.
TEST(M1CorpusOtherModel, A03RWBankIsNotAnM1AllProgramDump) {
  std::filesystem::path path = std::filesystem::path(QV_CORPUS_DIR) / "Korg_03RW__vicbank1.syx";
  std::ifstream in(path, std::ios::binary);
  if (!in) GTEST_SKIP() << "corpus file not present";
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 7u);
  ASSERT_EQ(bytes[4], 0x4C);  // the same function code as the M1's
  EXPECT_FALSE(SplitM1AllProgramDump(bytes));
}

}  // namespace
}  // namespace qv

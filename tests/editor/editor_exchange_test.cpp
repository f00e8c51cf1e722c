#include "editor/editor_exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/m1_program_dump.h"
#include "editor/program_name.h"

namespace qv {
namespace {

class RecordingLink : public ExchangeLink {
 public:
  std::vector<int> requests;
  std::vector<std::pair<int, std::vector<std::uint8_t>>> programs_sent;
  std::vector<std::vector<std::uint8_t>> raw_sent;
  std::vector<std::string> entries;
  std::vector<int> completed;
  int refreshes = 0;
  int redraws = 0;
  int timer_starts = 0;

  void RequestProgram(int program) override { requests.push_back(program); }
  void SendProgram(int program, std::span<const std::uint8_t> dump) override {
    programs_sent.push_back({program, {dump.begin(), dump.end()}});
  }
  void SendRaw(std::span<const std::uint8_t> bytes) override {
    raw_sent.push_back({bytes.begin(), bytes.end()});
  }
  std::string ExtractName(std::span<const std::uint8_t> message) override {
    M1Program program{};
    UnpackM1Program(message, program);
    return ShownProgramName(program);
  }
  void AddListEntry(const std::string& text) override { entries.push_back(text); }
  void ListComplete(int program) override { completed.push_back(program); }
  void RefreshControls() override { ++refreshes; }
  void RedrawGraph() override { ++redraws; }
  void StartSendTimer() override { ++timer_starts; }
};

M1Program NamedProgram(const std::string& name, std::uint8_t fill) {
  M1Program program = BlankM1Program();
  for (std::size_t i = kM1NameLength; i < program.size(); ++i)
    program[i] = static_cast<std::uint8_t>((fill + i) & 0x7F);
  StoreShownName(name, program);
  return program;
}

M1ProgramDump DumpOf(const M1Program& program) { return PackM1Dump(program, 1); }

class ExchangeTest : public ::testing::Test {
 protected:
  EditorState state;
  RecordingLink link;
  EditorExchange exchange{state, link};

  // Answers every request of the list scan with a program named after it.
  void FetchList(int last) {
    exchange.Open(last, 1);
    for (int n = 0; n <= last; ++n) {
      ASSERT_EQ(link.requests.back(), n);
      char name[16];
      std::snprintf(name, sizeof name, "Prog %03d", n);
      exchange.OnProgramReceived(DumpOf(NamedProgram(name, std::uint8_t(n))));
    }
  }
};

TEST_F(ExchangeTest, ListScanRequestsEachProgramAfterThePreviousReply) {
  exchange.Open(99, 1);
  EXPECT_EQ(link.requests, std::vector<int>{0});
  EXPECT_TRUE(exchange.WaitingForFirstProgram());
  for (int n = 0; n <= 99; ++n) {
    EXPECT_EQ(link.requests.size(), std::size_t(n + 1));
    exchange.OnProgramReceived(DumpOf(NamedProgram("P" + std::to_string(n), 0)));
  }
  ASSERT_EQ(link.requests.size(), 100u);
  for (int n = 0; n <= 99; ++n) EXPECT_EQ(link.requests[n], n);
  ASSERT_EQ(link.entries.size(), 100u);
  EXPECT_EQ(link.entries[0], "00 P0        ");
  EXPECT_EQ(link.entries[42], "42 P42       ");
  EXPECT_EQ(link.entries[99], "99 P99       ");
  EXPECT_EQ(link.completed, std::vector<int>{0});
  EXPECT_FALSE(exchange.Fetching());
  EXPECT_EQ(exchange.ReceivedIndex(), -1);
  EXPECT_EQ(link.refreshes, 0) << "list dumps never reach the edit buffer";
}

TEST_F(ExchangeTest, ShortMessagesAreNotReplies) {
  exchange.Open(99, 1);
  std::vector<std::uint8_t> short_message(169, 0);
  exchange.OnProgramReceived(short_message);
  EXPECT_TRUE(exchange.WaitingForFirstProgram());
  EXPECT_TRUE(link.entries.empty());
}

TEST_F(ExchangeTest, SelectionFetchesOneDumpIntoEditBufferAndRevertCopy) {
  FetchList(99);
  ASSERT_TRUE(exchange.SelectProgram(42));
  EXPECT_EQ(link.requests.back(), 42);
  EXPECT_EQ(exchange.ReceivedIndex(), 42);
  const M1Program answer = NamedProgram("Answer", 9);
  exchange.OnProgramReceived(DumpOf(answer));
  EXPECT_EQ(state.edit_buffer, answer);
  EXPECT_EQ(exchange.RevertCopy(), answer);
  EXPECT_EQ(state.program_number, 42);
  EXPECT_EQ(exchange.ReceivedIndex(), -1);
  EXPECT_EQ(link.refreshes, 1);
  // A second dump without a request changes nothing.
  exchange.OnProgramReceived(DumpOf(NamedProgram("Other", 3)));
  EXPECT_EQ(state.edit_buffer, answer);
  EXPECT_EQ(link.refreshes, 1);
}

TEST_F(ExchangeTest, SelectionsOutsideTheListOrDuringTheScanAreRefused) {
  exchange.Open(99, 1);
  EXPECT_FALSE(exchange.SelectProgram(5));
  EXPECT_EQ(link.requests, std::vector<int>{0});
  link.requests.clear();
  FetchList(9);
  const std::size_t before = link.requests.size();
  EXPECT_FALSE(exchange.SelectProgram(10));
  EXPECT_FALSE(exchange.SelectProgram(-1));
  EXPECT_TRUE(exchange.SelectProgram(9));
  EXPECT_EQ(link.requests.size(), before + 1);
}

TEST_F(ExchangeTest, SendsDumpAndFollowUpSpacedBy200Ms) {
  FetchList(3);
  exchange.SelectProgram(2);
  state.edit_buffer = NamedProgram("Edited", 5);
  ASSERT_TRUE(exchange.SendEditBuffer(1000));
  ASSERT_EQ(link.programs_sent.size(), 1u);
  EXPECT_EQ(link.programs_sent[0].first, 2);
  const M1ProgramDump expected = PackM1Dump(state.edit_buffer, 1);
  EXPECT_EQ(link.programs_sent[0].second, std::vector<std::uint8_t>(expected.begin(), expected.end()));
  ASSERT_EQ(link.raw_sent.size(), 1u);
  const FollowUpBytes follow_up = FollowUpMessage(1);
  EXPECT_EQ(link.raw_sent[0], std::vector<std::uint8_t>(follow_up.begin(), follow_up.end()));
  EXPECT_EQ(link.redraws, 1);
  // 50 and 100 ms later: the timer is (re)started, nothing goes out.
  EXPECT_FALSE(exchange.SendEditBuffer(1050));
  EXPECT_FALSE(exchange.SendEditBuffer(1100));
  EXPECT_EQ(link.timer_starts, 2);
  EXPECT_EQ(link.programs_sent.size(), 1u);
  // The timer fires 200 ms after the last change.
  EXPECT_TRUE(exchange.SendEditBuffer(1300));
  EXPECT_EQ(link.programs_sent.size(), 2u);
  EXPECT_EQ(link.raw_sent.size(), 2u);
}

TEST_F(ExchangeTest, FirstSendGoesOutAtOnceEvenRightAfterTickZero) {
  FetchList(0);
  EXPECT_TRUE(exchange.SendEditBuffer(5));
  EXPECT_EQ(link.timer_starts, 0);
}

TEST_F(ExchangeTest, DumpAndFollowUpCarryTheGlobalChannel) {
  exchange.Open(0, 5);
  exchange.OnProgramReceived(DumpOf(NamedProgram("A", 1)));
  exchange.SendEditBuffer(1000);
  ASSERT_EQ(link.programs_sent.size(), 1u);
  EXPECT_EQ(link.programs_sent[0].second[2], 0x34);
  EXPECT_EQ(link.raw_sent[0][2], 0x34);
}

TEST_F(ExchangeTest, ClearThenRevertRestoresTheProgramAsReceived) {
  FetchList(3);
  exchange.SelectProgram(1);
  const M1Program answer = NamedProgram("Received", 7);
  exchange.OnProgramReceived(DumpOf(answer));
  exchange.Clear(10000);
  EXPECT_EQ(state.edit_buffer, BlankM1Program());
  EXPECT_EQ(exchange.RevertCopy(), answer);
  exchange.Revert(20000);
  EXPECT_EQ(state.edit_buffer, answer);
  ASSERT_EQ(link.programs_sent.size(), 2u);
  const M1ProgramDump blank = PackM1Dump(BlankM1Program(), 1);
  EXPECT_EQ(link.programs_sent[0].second, std::vector<std::uint8_t>(blank.begin(), blank.end()));
  EXPECT_EQ(link.refreshes, 3);
}

struct RepairCase {
  const char* typed;
  int program;
  int caret;
  const char* text;
  int changes;
  bool resized;
  int new_caret;
};

TEST(ProgramListText, RepairsPrefixAndLength) {
  const RepairCase cases[] = {
      // A letter typed in front of the number goes.
      {"x05 Strings   ", 5, 1, "05 Strings   ", 2, true, 0},
      // An eleventh name character is cut off.
      {"05 StringsABCD", 5, 14, "05 StringsABC", 1, true, 14 - 1 + 1},
      // A deleted character leaves a blank at the end.
      {"05 String   ", 5, 9, "05 String    ", 0, true, 9},
      // Unchanged text.
      {"42 Piano     ", 42, 5, "42 Piano     ", 0, false, 5},
      // A digit typed over.
      {"43 Piano     ", 42, 2, "42 Piano     ", 1, false, 1},
      // The space after the number replaced.
      {"07xPiano     ", 7, 3, "07 Piano     ", 1, false, 2},
      // A character typed between the digits.
      {"0q7 Piano     ", 7, 2, "07 Piano     ", 2, true, 1},
      // Everything deleted.
      {"", 3, 0, "03          ", 3, true, 0},
  };
  for (const RepairCase& c : cases) {
    SCOPED_TRACE(c.typed);
    ListTextRepair repair = RepairProgramListText(c.typed, c.program, c.caret);
    std::string expected = c.text;
    expected.resize(kProgramListTextLength, ' ');
    EXPECT_EQ(repair.text, expected);
    EXPECT_EQ(repair.changes, c.changes);
    EXPECT_EQ(repair.resized, c.resized);
    // The caret is placed only when the text is put back.
    if (repair.changes > 0) {
      EXPECT_EQ(repair.caret, std::clamp(c.new_caret, 0, kProgramListTextLength));
    }
  }
}

TEST(ProgramListText, AlwaysThirteenCharactersForHostileInput) {
  const std::string inputs[] = {std::string(500, 'z'), "9", "\x01\x02\x03", "99999999999999999999"};
  for (const std::string& typed : inputs) {
    ListTextRepair repair = RepairProgramListText(typed, 99, 400);
    EXPECT_EQ(repair.text.size(), std::size_t(kProgramListTextLength));
    EXPECT_EQ(repair.text.substr(0, 3), "99 ");
    EXPECT_GE(repair.caret, 0);
    EXPECT_LE(repair.caret, kProgramListTextLength);
  }
}

TEST_F(ExchangeTest, NameEditGoesIntoTheNameBytesAndIsSent) {
  FetchList(9);
  exchange.SelectProgram(5);
  M1Program answer = NamedProgram("Strings", 2);
  exchange.OnProgramReceived(DumpOf(answer));
  ListTextRepair repair = exchange.EditListText("05 StringsXYZ!", 14, 50000);
  EXPECT_EQ(repair.text, "05 StringsXYZ");
  EXPECT_EQ(ShownProgramName(state.edit_buffer), "StringsXYZ");
  for (std::size_t i = kM1NameLength; i < answer.size(); ++i) EXPECT_EQ(state.edit_buffer[i], answer[i]);
  ASSERT_EQ(link.programs_sent.size(), 1u);
  EXPECT_EQ(link.programs_sent[0].first, 5);
}

}  // namespace
}  // namespace qv

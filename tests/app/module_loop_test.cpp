#include "app/module_loop.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "base/process_state.h"

namespace qv {
namespace {

// Plays the module windows: each run records its code and answers the next
// scripted result; a run past the script fails the test instead of looping.
class ScriptedModules : public ModuleRunner {
 public:
  explicit ScriptedModules(std::deque<int> results) : results_(std::move(results)) {}
  std::vector<int> runs;
  std::vector<int> busyBefore;  // runs seen when the wait cursor was shown

  void ShowBusy() override { busyBefore.push_back(static_cast<int>(runs.size())); }
  int RunModule(int code) override {
    runs.push_back(code);
    if (results_.empty()) {
      ADD_FAILURE() << "the loop ran more windows than scripted";
      return kEndProgram;
    }
    int next = results_.front();
    results_.pop_front();
    return next;
  }

 private:
  std::deque<int> results_;
};

struct LoopCase {
  const char* what;
  int first;
  std::deque<int> results;
  std::vector<int> expectRuns;
  int expectEnd;
};

TEST(ModuleLoop, RunsEachWindowItsPredecessorNames) {
  const LoopCase cases[] = {
      {"manager closes", 1, {0}, {1}, 0},
      {"manager to librarian to close", 1, {2, 0}, {1, 2}, 0},
      {"librarian reopens with a new definition", 2, {2, 2, 0}, {2, 2, 2}, 0},
      {"round trip through every module", 1, {2, 3, 1, 2, 3, 0}, {1, 2, 3, 1, 2, 3}, 0},
      {"editor back to librarian", 3, {2, 0}, {3, 2}, 0},
      {"window that could not be made", 1, {-1}, {1}, -1},
      {"code beyond the modules", 1, {2, 4}, {1, 2}, 4},
      {"not-done code from a dialog", 2, {99}, {2}, 99},
      {"start with end", 0, {}, {}, 0},
      {"start with no module", 7, {}, {}, 7},
  };
  for (const LoopCase& c : cases) {
    ScriptedModules modules(c.results);
    EXPECT_EQ(RunModuleLoop(c.first, modules), c.expectEnd) << c.what;
    EXPECT_EQ(modules.runs, c.expectRuns) << c.what;
    // The wait cursor shows before every window, never after the last.
    std::vector<int> expectBusy;
    for (std::size_t i = 0; i < c.expectRuns.size(); ++i) expectBusy.push_back(static_cast<int>(i));
    EXPECT_EQ(modules.busyBefore, expectBusy) << c.what;
  }
}

TEST(ModuleLoop, OnlyTheThreeModulesAreWindows) {
  for (int code = -2; code <= 100; ++code) {
    EXPECT_EQ(IsModuleWindowCode(code), code >= 1 && code <= 3) << code;
  }
}

}  // namespace
}  // namespace qv

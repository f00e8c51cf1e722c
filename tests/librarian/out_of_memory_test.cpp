#include "librarian/out_of_memory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <vector>

#include "librarian/program_name_index.h"

namespace qv {
namespace {

// Death tests fork; the handler below runs in the child only.
void ShowAndEnd(const char* message) {
  std::fprintf(stderr, "fatal box: %s\n", message);
  std::fflush(stderr);
  std::_Exit(3);
}

void ShowAndComeBack(const char* message) {
  std::fprintf(stderr, "came back from: %s\n", message);
  std::fflush(stderr);
}

TEST(OutOfMemoryDeathTest, GrowthWithoutMemoryEndsWithTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(GrowOrEnd([] { throw std::bad_alloc(); }), "^Out of memory\\.\n");
  // Asking for more than can ever be had counts the same.
  EXPECT_DEATH(GrowOrEnd([] { std::vector<int>().reserve(SIZE_MAX); }), "Out of memory\\.");
  // Growth that succeeds goes on quietly.
  std::vector<int> grown;
  GrowOrEnd([&] { grown.resize(1000); });
  EXPECT_EQ(grown.size(), 1000u);
}

TEST(OutOfMemoryDeathTest, TheInstalledHandlerShowsTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetFatalExitHandler(ShowAndEnd);
        EndOutOfMemory();
      },
      ::testing::ExitedWithCode(3), "fatal box: Out of memory\\.");
  // A handler that comes back does not let the program go on.
  EXPECT_DEATH(
      {
        SetFatalExitHandler(ShowAndComeBack);
        EndOutOfMemory();
      },
      "came back from: Out of memory\\.");
}

TEST(OutOfMemoryDeathTest, AnIndexThatCannotGrowEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ProgramNameIndex index;
  index.AddIndexEntry(0, MakeProgramName("Piano"));
  EXPECT_DEATH(index.Reserve(SIZE_MAX), "Out of memory\\.");
  EXPECT_EQ(index.FindIndexEntry("Piano"), 0);
}

}  // namespace
}  // namespace qv

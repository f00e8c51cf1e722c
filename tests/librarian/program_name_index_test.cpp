#include "librarian/program_name_index.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ProgramNameIndex, FindsTheFirstLiveEntryOfAName) {
  ProgramNameIndex index;
  EXPECT_EQ(index.FindIndexEntry("Piano"), -1);
  index.AddIndexEntry(4, MakeProgramName("Piano"));
  index.AddIndexEntry(7, MakeProgramName("Bass"));
  index.AddIndexEntry(9, MakeProgramName("Piano"));
  EXPECT_EQ(index.Count(), 3u);
  EXPECT_EQ(index.FindIndexEntry("Piano"), 4);
  EXPECT_EQ(index.FindIndexEntry("piano"), -1);
  EXPECT_EQ(index.FindIndexEntry("Pian"), -1);
  EXPECT_TRUE(index.EraseIndexEntry("Piano"));
  EXPECT_EQ(index.FindIndexEntry("Piano"), 9);
  EXPECT_TRUE(index.EraseIndexEntry("Piano"));
  EXPECT_EQ(index.FindIndexEntry("Piano"), -1);
  EXPECT_FALSE(index.EraseIndexEntry("Piano"));
  EXPECT_EQ(index.Count(), 3u);
  EXPECT_TRUE(index.Entries()[0].erased);
  EXPECT_FALSE(index.Entries()[1].erased);
  index.ResetIndex();
  EXPECT_EQ(index.Count(), 0u);
  EXPECT_EQ(index.FindIndexEntry("Bass"), -1);
  index.AddIndexEntry(1, MakeProgramName("Bass"));
  EXPECT_EQ(index.FindIndexEntry("Bass"), 1);
  index.FreeIndex();
  EXPECT_EQ(index.FindIndexEntry("Bass"), -1);
}

TEST(ProgramNameIndex, NamesAreThirtyBytesAtMost) {
  ProgramName full;
  full.fill('z');  // 30 characters without a zero byte, as a merge may read them
  ProgramNameIndex index;
  index.AddIndexEntry(2, full);
  EXPECT_EQ(ProgramNameText(full).size(), 30u);
  EXPECT_EQ(index.FindIndexEntry(std::string(30, 'z')), 2);
  EXPECT_EQ(index.FindIndexEntry(std::string(35, 'z')), 2);  // compared on 30 bytes
  EXPECT_EQ(ProgramNameText(MakeProgramName(std::string(40, 'a'))).size(), 29u);
  ProgramName blank = MakeProgramName("");
  index.AddIndexEntry(3, blank);
  EXPECT_EQ(index.FindIndexEntry(""), 3);
}

}  // namespace
}  // namespace qv

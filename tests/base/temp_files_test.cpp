#include "base/temp_files.h"

#include <gtest/gtest.h>

namespace qv {

TEST(TempFiles, NamesAreMadeFromTheTempFolder) {
  TempFileNames n = MakeTempFileNames("C:\\T\\");
  EXPECT_EQ(n.storeData, "C:\\T\\~temp.syx");
  EXPECT_EQ(n.storeLengths, "C:\\T\\~temp.lst");
  EXPECT_EQ(n.beforeData, "C:\\T\\~tempbefore.syx");
  EXPECT_EQ(n.beforeLengths, "C:\\T\\~tempbefore.lst");
  EXPECT_EQ(n.afterData, "C:\\T\\~tempafter.syx");
  EXPECT_EQ(n.afterLengths, "C:\\T\\~tempafter.lst");
}

TEST(TempFiles, AnotherRunningProgramNumbersItsNames) {
  TempFileNames n = MakeTempFileNames("C:\\T\\", 2);
  EXPECT_EQ(n.storeData, "C:\\T\\~temp2.syx");
  EXPECT_EQ(n.storeLengths, "C:\\T\\~temp2.lst");
  EXPECT_EQ(n.beforeData, "C:\\T\\~temp2before.syx");
  EXPECT_EQ(n.afterLengths, "C:\\T\\~temp2after.lst");
}

TEST(TempFiles, ProgramFolderIsCutAtTheLastBackslash) {
  EXPECT_EQ(FolderOfPath("C:\\Program Files\\Quillon\\Mirelda.dat"), "C:\\Program Files\\Quillon");
  EXPECT_EQ(FolderOfPath("Mirelda.dat"), "");
  EXPECT_EQ(FolderOfPath("C:\\Mirelda.dat"), "C:");
}

}  // namespace qv

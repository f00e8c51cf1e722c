#include "base/process_state.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ProcessState, HelpFileLivesInTheProgramFolder) {
  std::string saved = ProgramFolder;
  ProgramFolder = "C:\\Program Files\\Quillon";
  EXPECT_EQ(HelpFilePath(), "C:\\Program Files\\Quillon\\Mirelda.hlp");
  ProgramFolder = saved;
}

TEST(ProcessState, StartsWithNoWindowsAndNoModule) {
  EXPECT_EQ(ModuleWindow, nullptr);
  EXPECT_EQ(LoaderWindow, nullptr);
  EXPECT_EQ(TooltipWindow, nullptr);
  EXPECT_EQ(HelpOwner, nullptr);
  EXPECT_EQ(CurrentModule, 0);
  EXPECT_FALSE(ModuleWindowPainted);
  EXPECT_EQ(kLoaderAnnounce, 8869u);
}

}  // namespace
}  // namespace qv

#include "base/file_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace qv {
namespace {

class FileNames : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test and process: ctest runs the cases of this
    // fixture side by side, and one's TearDown must not empty another's.
    folder_ = std::filesystem::temp_directory_path() /
              ("quillon-file-names-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
  }
  std::string Make(const std::string& name) {
    const std::string path = folder_.string() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) std::fclose(f);
    return path;
  }
  std::filesystem::path folder_;
};

// Names as the Windows listing gives them in code page 1252, and one with
// the "?" it gives for a character the code page lacks.
const std::string kLatin = "Gr\xFC\xDF" "e.syx";
const std::string kUnusable = "??????.syx";

TEST_F(FileNames, NamesWithWildcardsAreTheOnesNotUsable) {
  EXPECT_TRUE(FileNameUsable(kLatin));
  EXPECT_TRUE(FileNameUsable("C:\\Mirelda\\Orgel H\xF6hner.QvInstrument"));
  EXPECT_TRUE(FileNameUsable(""));
  EXPECT_FALSE(FileNameUsable(kUnusable));
  EXPECT_FALSE(FileNameUsable("C:\\a?\\b.syx"));
  EXPECT_FALSE(FileNameUsable("*.QvBank"));
  const std::string message = UnusableFileNameMessage(kUnusable);
  EXPECT_NE(message.find("\"??????.syx\""), std::string::npos) << message;
  EXPECT_NE(message.find("Rename the file"), std::string::npos) << message;
}

TEST_F(FileNames, SameNameWithoutRegardToCase) {
  EXPECT_TRUE(SameFileName("Dump.SYX", "dump.syx"));
  EXPECT_TRUE(SameFileName(kLatin, "gR\xFC\xDF" "E.Syx"));
  EXPECT_FALSE(SameFileName("Dump.syx", "Dump.syx "));
  EXPECT_FALSE(SameFileName("a.syx", "b.syx"));
}

TEST_F(FileNames, ListingGivesEveryFileByItsOwnNameAndNoFolders) {
  Make(kLatin);
  Make("plain.syx");
  Make(kUnusable);
  std::filesystem::create_directory(folder_ / "folder.syx");
  std::vector<std::string> names = ListFolderFileNames(folder_.string());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {kLatin, "plain.syx", kUnusable};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_TRUE(ListFolderFileNames((folder_ / "missing").string()).empty());
}

TEST_F(FileNames, ExistenceFollowsTheOpensAndRefusesWildcards) {
  const std::string latin = Make(kLatin);
  // A file really named with "?" exists here, but such a name is never
  // taken as the file: on Windows it stands for a character lost.
  const std::string unusable = Make(kUnusable);
  EXPECT_TRUE(FileExists(latin));
  EXPECT_TRUE(FileExists(folder_.string()));
  EXPECT_FALSE(FileExists(folder_.string() + "/missing.syx"));
  EXPECT_FALSE(FileExists(unusable));
}

TEST_F(FileNames, SameFileByIdentityNotBySpelling) {
  const std::string latin = Make(kLatin);
  const std::string other = Make("other.syx");
  std::filesystem::create_directory(folder_ / "sub");
  EXPECT_TRUE(SameFile(latin, folder_.string() + "/sub/../" + kLatin));
  EXPECT_FALSE(SameFile(latin, other));
  EXPECT_TRUE(SameFile(folder_.string() + "/gone", folder_.string() + "/gone"));
  EXPECT_FALSE(SameFile(folder_.string() + "/gone", folder_.string() + "/also gone"));
}

}  // namespace
}  // namespace qv

#include "librarian/library_file_names.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/librarian/scratch_folder.h"

namespace qv {
namespace {

TEST(LibraryFileNames, NameFromPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Mirelda\\Korg M1.QvInstrument", "Korg M1"},
      {"C:\\Mirelda\\A.B.QvInstrument", "A.B"},
      {"A.B.QvInstrument", "A.B"},
      {"/tmp/x/Tone.QvBank", "Tone"},
      {"C:\\Mirelda\\NoDot", "NoDot"},
      {"C:\\dir.d\\NoDot", "NoDot"},
      {"", ""},
  };
  for (auto [path, name] : cases) EXPECT_EQ(NameFromFilePath(path), name) << path;
}

TEST(LibraryFileNames, CompletesShortExtensions) {
  EXPECT_EQ(CompleteDefinitionFileName("C:\\M\\Tone.QvI"), "C:\\M\\Tone.QvInstrument");
  EXPECT_EQ(CompleteDefinitionFileName("C:\\M\\Tone.QvInstrument"), "C:\\M\\Tone.QvInstrument");
  EXPECT_EQ(CompleteDefinitionFileName("Tone.qvi"), "Tone.qvi");
  EXPECT_EQ(CompleteBankFileName("C:\\M\\Tone.QvB"), "C:\\M\\Tone.QvBank");
  EXPECT_EQ(CompleteBankFileName("C:\\M\\Tone.QvBank"), "C:\\M\\Tone.QvBank");
  EXPECT_EQ(CompleteBankFileName("Tone.QvI"), "Tone.QvI");
  EXPECT_EQ(CompleteDefinitionFileName("Tone.QvB"), "Tone.QvB");
}

TEST(LibraryFileNames, PathsAndListing) {
  test::ScratchFolder folder;
  EXPECT_EQ(LibraryFilePath(folder.path(), "Korg M1", kDefinitionExtension),
            folder.File("Korg M1.QvInstrument"));
  for (const char* file : {"Korg M1.QvInstrument", "A.B.QvInstrument", "x.qvinstrument",
                           "Bank.QvBank", "notes.txt", "Korg.QvInstrumentOld"}) {
    test::WriteWholeFile(folder.File(file), {1});
  }
  std::filesystem::create_directory(folder.File("Folder.QvInstrument"));
  std::vector<std::string> names = ListLibraryFiles(folder.path(), kDefinitionExtension);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A.B", "Korg M1", "x"}));
  EXPECT_EQ(ListLibraryFiles(folder.path(), kBankExtension), (std::vector<std::string>{"Bank"}));
  EXPECT_TRUE(ListLibraryFiles(folder.File("missing"), kBankExtension).empty());
}

}  // namespace
}  // namespace qv

#include "librarian/library_file_names.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "librarian/binary_file.h"
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

// Names as the Windows listing gives them in code page 1252: Latin letters
// as they are, a letter the code page lacks as "?".
TEST(LibraryFileNames, CodePageNamesListOpenAndExistNamesWithLostLettersNever) {
  test::ScratchFolder folder;
  const std::string latin = folder.File("Fl\xF6ten.QvBank");
  const std::string lost = folder.File("??????.QvBank");
  test::WriteWholeFile(latin, {9, 0, 0, 0});
  test::WriteWholeFile(lost, {9, 0, 0, 0});
  std::vector<std::string> names = ListLibraryFiles(folder.path(), kBankExtension);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"??????", "Fl\xF6ten"}));

  BinaryFile file;
  EXPECT_TRUE(file.Open(latin, BinaryFile::Mode::Read));
  EXPECT_TRUE(BinaryFile::Exists(latin));
  // A file really named so exists here; such a name is still never taken.
  EXPECT_FALSE(file.Open(lost, BinaryFile::Mode::Read));
  EXPECT_FALSE(file.Open(lost, BinaryFile::Mode::CreateReplace));
  EXPECT_FALSE(BinaryFile::Exists(lost));
  EXPECT_EQ(test::ReadWholeFile(lost), (std::vector<uint8_t>{9, 0, 0, 0})) << "left as it was";
}

}  // namespace
}  // namespace qv

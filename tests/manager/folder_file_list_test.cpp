#include "manager/folder_file_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "base/file_names.h"
#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A Kestrovallian header with the given magic and name field.
std::vector<std::uint8_t> Header(const char* magic, std::string_view name) {
  std::vector<std::uint8_t> h(magic, magic + 14);
  std::vector<std::uint8_t> field(100, 0);
  std::memcpy(field.data(), name.data(), std::min<std::size_t>(name.size(), 100));
  h.insert(h.end(), field.begin(), field.end());
  h.push_back(0);
  h.push_back(0);
  return h;
}

class FolderFileListTest : public StoreTest {
 protected:
  std::map<std::string, std::string> LineByName(const FolderFileList& list) {
    std::map<std::string, std::string> out;
    for (int i = 0; i < list.Count(); ++i) out[list.NameAt(i)] = files.Line(i);
    return out;
  }
  VectorListLines files;
};

TEST_F(FolderFileListTest, ThreeLineFormsAndTheFilesLeftOut) {
  WriteWholeFile(folder / "bank.syx", MakeMessage(100, 0x42));
  WriteWholeFile(folder / "current.syx", Header("Kestrovallian+", "ignored name"));
  WriteWholeFile(folder / "old.SYX", Header("Kestrovallian-", "My Old Dump"));
  WriteWholeFile(folder / "noname.syx", Header("Kestrovallian-", ""));
  WriteWholeFile(folder / "plus-sign.syx", Bytes("Kestrovallian*rest of it"));
  WriteWholeFile(folder / "short.syx", Bytes("Kestro"));
  WriteWholeFile(folder / "empty.syx", {});
  WriteWholeFile(folder / "~old.syx", MakeMessage(10, 0x43));
  WriteWholeFile(folder / "notes.txt", Bytes("text"));
  std::filesystem::create_directory(folder / "dir.syx");

  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "no file has this name");
  const std::map<std::string, std::string> expected = {
      {"bank.syx", "* bank.syx"},      {"current.syx", "current.syx"},
      {"old.SYX", "- My Old Dump"},    {"noname.syx", "- "},
      {"plus-sign.syx", "* plus-sign.syx"}, {"short.syx", "* short.syx"},
      {"empty.syx", "* empty.syx"},
  };
  EXPECT_EQ(LineByName(list), expected);
  EXPECT_EQ(files.selected, -1);
  EXPECT_EQ(files.Count(), list.Count());
}

TEST_F(FolderFileListTest, OldLayoutNameIsCutAtZeroAndAtNinetyEightBytes) {
  WriteWholeFile(folder / "long.syx", Header("Kestrovallian-", std::string(100, 'n')));
  auto truncatedName = Header("Kestrovallian-", "");
  truncatedName.resize(14 + 5);
  std::memcpy(truncatedName.data() + 14, "abcde", 5);
  WriteWholeFile(folder / "cut.syx", truncatedName);
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  auto lines = LineByName(list);
  EXPECT_EQ(lines["long.syx"], "- " + std::string(98, 'n'));
  EXPECT_EQ(lines["cut.syx"], "- abcde");
}

TEST_F(FolderFileListTest, CurrentLayoutNameIsAtMostOneHundredCharacters) {
  const std::string name = std::string(120, 'x') + ".syx";
  WriteWholeFile(folder / name, Header("Kestrovallian+", ""));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(files.Line(0), std::string(100, 'x'));
}

TEST_F(FolderFileListTest, SelectsTheNamedFileWithoutRegardToCase) {
  WriteWholeFile(folder / "a.syx", MakeMessage(10, 0x42));
  WriteWholeFile(folder / "Dump.SYX", MakeMessage(10, 0x43));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "dump.syx");
  ASSERT_GE(files.selected, 0);
  EXPECT_EQ(list.NameAt(files.selected), "Dump.SYX");
  EXPECT_EQ(list.PathAt(files.selected), (folder / "Dump.SYX").string());
}

// A folder of many files reaches the list in batches, not line by line (a
// list box that draws each line took seconds for thousands): around the
// selected file, which is added on its own so that the list selects it.
TEST_F(FolderFileListTest, ManyFilesReachTheListInBatchesAroundTheSelectedOne) {
  for (int i = 0; i < 300; ++i) WriteWholeFile(folder / ("set" + std::to_string(i) + ".syx"), MakeMessage(10, 0x42));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  EXPECT_EQ(files.Count(), 300);
  EXPECT_EQ(files.batches, 1);
  EXPECT_EQ(files.selected, -1);

  VectorListLines again;
  FolderFileList relisted(again);
  relisted.ListSyxFiles(folder.string(), "SET150.syx");
  ASSERT_EQ(again.Count(), 300);
  EXPECT_EQ(again.batches, 2);
  ASSERT_GE(again.selected, 0);
  EXPECT_EQ(relisted.NameAt(again.selected), "set150.syx");
  for (int i = 0; i < relisted.Count(); ++i) {
    EXPECT_EQ(again.Line(i), "* " + relisted.NameAt(i)) << i;
  }
}

TEST_F(FolderFileListTest, DeleteAsksAndRemovesOnlyThatEntry) {
  for (const char* name : {"one.syx", "two.syx", "three.syx"}) {
    WriteWholeFile(folder / name, MakeMessage(10, 0x42));
  }
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  ASSERT_EQ(list.Count(), 3);
  const std::string lastName = list.NameAt(2);
  const std::vector<std::string> firstNames = {list.NameAt(0), list.NameAt(1)};
  const std::vector<std::string> firstLines = {files.Line(0), files.Line(1)};

  reporter.answers = {BoxAnswer::No};
  EXPECT_FALSE(list.DeleteListedFile(2, reporter));
  EXPECT_TRUE(std::filesystem::exists(folder / lastName));
  EXPECT_EQ(list.Count(), 3);

  reporter.answers = {BoxAnswer::Yes};
  EXPECT_TRUE(list.DeleteListedFile(2, reporter));
  EXPECT_FALSE(std::filesystem::exists(folder / lastName));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(files.Count(), 2);
  EXPECT_EQ((std::vector<std::string>{list.NameAt(0), list.NameAt(1)}), firstNames);
  EXPECT_EQ((std::vector<std::string>{files.Line(0), files.Line(1)}), firstLines);

  ASSERT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[1].caption, "Confirm Delete");
  EXPECT_EQ(reporter.boxes[1].icon, BoxIcon::Question);
  EXPECT_EQ(reporter.boxes[1].buttons, BoxButtons::YesNo);
  EXPECT_EQ(reporter.boxes[1].text, "Are you sure you want to delete the file \"* " + lastName +
                                        "\", underlying name \"" + lastName + "\"?");
}

TEST_F(FolderFileListTest, DeleteQuestionForTheCurrentLayoutNamesTheFileOnly) {
  WriteWholeFile(folder / "mine.syx", Header("Kestrovallian+", "mine"));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  reporter.answers = {BoxAnswer::Yes};
  EXPECT_TRUE(list.DeleteListedFile(0, reporter));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].text, "Are you sure you want to delete the file \"mine.syx\"?");
}

TEST_F(FolderFileListTest, RefusedDeleteKeepsTheEntryAndSaysSo) {
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  list.AddFileEntry("* gone.syx", (folder / "gone.syx").string(), true);
  reporter.answers = {BoxAnswer::Yes};
  EXPECT_FALSE(list.DeleteListedFile(0, reporter));
  EXPECT_EQ(list.Count(), 1);
  ASSERT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[1].text,
            "Delete attempt failed. Try closing Kestrovallian and using Windows to delete the file.");
  EXPECT_EQ(reporter.boxes[1].caption, "Error!");
  EXPECT_EQ(reporter.boxes[1].icon, BoxIcon::Exclamation);
  EXPECT_FALSE(list.DeleteListedFile(5, reporter));
}

TEST_F(FolderFileListTest, AddedEntryKeepsItsFullPath) {
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  const std::string full = (folder / "saved.syx").string();
  list.AddFileEntry("- saved.syx", full, true);
  EXPECT_EQ(list.PathAt(0), full);
  EXPECT_EQ(files.selected, 0);
  list.ClearFileList();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(files.Count(), 0);
}

TEST_F(FolderFileListTest, MissingFolderListsNothing) {
  FolderFileList list(files);
  list.ListSyxFiles((folder / "not-there").string(), "");
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

TEST(SplitChosenPathTest, FolderToListAndNameToSelect) {
  struct Case { const char* path; const char* folder; const char* name; };
  const Case cases[] = {
      {"C:\\music\\dumps\\Bank1.SYX", "C:\\music\\dumps", "Bank1.SYX"},
      {"C:\\bank.syx", "C:\\", "bank.syx"},
      {"\\\\server\\share\\bank.syx", "\\\\server\\share", "bank.syx"},
      {"Z:/work/mixed\\bank.syx", "Z:/work/mixed", "bank.syx"},
      {"/tmp/bank.syx", "/tmp", "bank.syx"},
      {"/bank.syx", "/", "bank.syx"},
      {"bank.syx", "", "bank.syx"},
      {"C:\\folder\\", "C:\\folder", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const ChosenFile chosen = SplitChosenPath(c.path);
    EXPECT_EQ(chosen.folder, c.folder) << c.path;
    EXPECT_EQ(chosen.name, c.name) << c.path;
  }
}

TEST_F(FolderFileListTest, ChosenPathInAnotherFolderListsThatFolderWithTheFileSelected) {
  std::filesystem::create_directory(folder / "other");
  WriteWholeFile(folder / "here.syx", MakeMessage(10, 0x42));
  WriteWholeFile(folder / "other" / "Chosen.SYX", MakeMessage(10, 0x43));
  WriteWholeFile(folder / "other" / "second.syx", MakeMessage(10, 0x44));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  const ChosenFile chosen = SplitChosenPath((folder / "other" / "chosen.syx").string());
  list.ListSyxFiles(chosen.folder, chosen.name);
  ASSERT_EQ(list.Count(), 2);
  ASSERT_GE(files.selected, 0);
  EXPECT_EQ(files.Line(files.selected), "* Chosen.SYX");
  EXPECT_EQ(list.PathAt(files.selected), (folder / "other" / "Chosen.SYX").string());
}

// Names as the Windows listing gives them in code page 1252: a Latin name
// in its own letters, and a name with a "?" for each character the code
// page lacks.
TEST_F(FolderFileListTest, CodePageNamesOpenAndDeleteNamesWithLostCharactersAreRefused) {
  const std::string latin = "Gr\xFC\xDF" "e.syx";
  const std::string lost = "??????.syx";
  WriteWholeFile(folder / latin, MakeMessage(10, 0x42));
  // Of the current layout: read, it would show as its bare name.
  WriteWholeFile(folder / lost, Header("Kestrovallian+", ""));
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), lost);
  const auto lines = LineByName(list);
  EXPECT_EQ(lines.at(latin), "* " + latin);
  EXPECT_EQ(lines.at(lost), "* " + lost) << "listed as it came, never read";
  ASSERT_GE(files.selected, 0);
  const int refused = files.selected;
  const int usable = 1 - refused;
  ASSERT_EQ(list.NameAt(refused), lost);

  EXPECT_TRUE(list.UsableAt(usable, reporter));
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_FALSE(list.UsableAt(refused, reporter));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "File name not usable");
  EXPECT_EQ(reporter.boxes[0].text, UnusableFileNameMessage(lost));
  EXPECT_FALSE(list.UsableAt(5, reporter));
  EXPECT_EQ(reporter.boxes.size(), 1u) << "no line, no message";

  // Delete refuses before it asks; the file stays.
  EXPECT_FALSE(list.DeleteListedFile(refused, reporter));
  ASSERT_EQ(reporter.boxes.size(), 2u);
  EXPECT_EQ(reporter.boxes[1].caption, "File name not usable");
  EXPECT_TRUE(std::filesystem::exists(folder / lost));
  EXPECT_EQ(list.Count(), 2);

  reporter.answers = {BoxAnswer::Yes};
  EXPECT_TRUE(list.DeleteListedFile(usable, reporter));
  EXPECT_EQ(reporter.boxes.back().caption, "Confirm Delete");
  EXPECT_FALSE(std::filesystem::exists(folder / latin));
  EXPECT_EQ(list.Count(), 1);
}

}  // namespace
}  // namespace qv::test

// Every real SysEx file of the corpus opens as one message of its full
// length with its maker's name, and saves back to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "manager/manufacturer.h"
#include "manager/syx_load.h"
#include "manager/syx_save.h"
#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(QV_CORPUS_DIR, error)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".syx") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

using SyxCorpusTest = StoreTest;

TEST_F(SyxCorpusTest, EveryFileLoadsWholeAndSavesBackByteIdentical) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << QV_CORPUS_DIR;
  EXPECT_GE(files.size(), 31u);
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    const auto original = ReadWholeFile(path);
    ASSERT_TRUE(store->ResetStore());
    received.Clear();
    ASSERT_EQ(LoadSyxFile(path.string(), *store), LoadResult::Loaded);
    ASSERT_EQ(store->MessageCount(), 1);
    EXPECT_EQ(store->StoredBytes(), original.size());
    const std::string maker = ManufacturerName(FindManufacturerId(original.data(), original.size()));
    EXPECT_EQ(received.lines, std::vector<std::string>{std::to_string(original.size()) + " bytes [" +
                                                       maker + "]"});
    const auto copy = folder / "copy.syx";
    ASSERT_TRUE(WriteStoreToFile(*store, copy.string(), "copy.syx", SaveFilter::Standard));
    EXPECT_EQ(ReadWholeFile(copy), original);
  }
  EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(SyxCorpusTest, KnownMakersAreNamed) {
  struct Case { const char* file; const char* line; };
  const Case cases[] = {
      {"Korg_M1__bank21.syx", "16350 bytes [Korg]"},
      {"Korg_M1__ORIGPROG.SYX", "16511 bytes [[?]]"},  // header: no F0 in its first 10 bytes
      {"Kawai_K5000__full_bank_D_midiOX_K5000r.syx", "90800 bytes [Kawai]"},
      {"Behringer_Wave__editbuf.syx", "134 bytes [[?]]"},
      {"Akai_AX80__AX80RevIRAMpresets.syx", "3200 bytes [47]"},
      {"P5_Factory_Programs_v1.02.syx", "31800 bytes [Sequential]"},
      {"Ensoniq_VFX__101.syx", "63607 bytes [Ensoniq]"},
  };
  for (const Case& c : cases) {
    const auto path = std::filesystem::path(QV_CORPUS_DIR) / c.file;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus file " << c.file;
    ASSERT_TRUE(store->ResetStore());
    received.Clear();
    LoadSyxFile(path.string(), *store);
    EXPECT_EQ(received.lines, std::vector<std::string>{c.line}) << c.file;
  }
}

TEST_F(SyxCorpusTest, ManyMessagesKeepTheirBoundariesThroughTheKestrovallianLayout) {
  const auto path = std::filesystem::path(QV_CORPUS_DIR) / "Roland_D50__RobsColl.syx";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus file";
  const auto bytes = ReadWholeFile(path);
  // Split at every F7, as the input device hands messages on.
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == 0xF7) {
      ASSERT_TRUE(Put(std::vector<std::uint8_t>(bytes.begin() + start, bytes.begin() + i + 1)));
      start = i + 1;
    }
  }
  ASSERT_EQ(store->MessageCount(), 136);
  const auto saved = folder / "d50.syx";
  ASSERT_TRUE(WriteStoreToFile(*store, saved.string(), "d50.syx", SaveFilter::Kestrovallian));
  MessageStore other((folder / "~o.syx").string(), (folder / "~o.lst").string(), reporter);
  VectorListLines otherLines;
  other.AttachList(&otherLines);
  ASSERT_TRUE(other.ResetStore());
  ASSERT_EQ(LoadSyxFile(saved.string(), other), LoadResult::Loaded);
  EXPECT_EQ(other.MessageCount(), 136);
  EXPECT_EQ(otherLines.lines, received.lines);
  EXPECT_EQ(otherLines.lines.front(), "266 bytes [Roland]");
  EXPECT_EQ(otherLines.lines.back(), "138 bytes [Roland]");
  other.Flush();
  EXPECT_EQ(ReadWholeFile(other.DataPath()), bytes);
}

}  // namespace
}  // namespace qv::test

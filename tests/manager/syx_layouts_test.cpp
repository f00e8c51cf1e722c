#include <gtest/gtest.h>

#include <cstring>

#include "manager/folder_file_list.h"
#include "manager/syx_layout.h"
#include "manager/syx_load.h"
#include "manager/syx_save.h"
#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

class SyxLayoutsTest : public StoreTest {
 protected:
  void PutThree() {
    messages = {MakeMessage(120, 0x42, 1), MakeMessage(7, 0x7E, 2), MakeMessage(4104, 0x43, 3)};
    for (auto& m : messages) ASSERT_TRUE(Put(m));
  }
  std::vector<std::uint8_t> Joined() const {
    std::vector<std::uint8_t> all;
    for (auto& m : messages) all.insert(all.end(), m.begin(), m.end());
    return all;
  }
  std::vector<std::vector<std::uint8_t>> messages;
};

std::vector<std::uint8_t> KestrovallianFile(const char* magic, std::int16_t count,
                                            const std::vector<std::int32_t>& lengths,
                                            const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> f(magic, magic + 14);
  f.resize(114, 0);
  f.push_back(static_cast<std::uint8_t>(count & 0xFF));
  f.push_back(static_cast<std::uint8_t>((static_cast<std::uint16_t>(count) >> 8) & 0xFF));
  for (std::int32_t l : lengths) {
    auto u = static_cast<std::uint32_t>(l);
    for (int k = 0; k < 4; ++k) f.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
  }
  f.insert(f.end(), data.begin(), data.end());
  return f;
}

TEST(SyxLayoutTest, OnlyTheExactFourteenByteMagicsCount) {
  struct Case { std::string head; SyxLayout layout; };
  const Case cases[] = {
      {"Kestrovallian+", SyxLayout::Kestrovallian},
      {"Kestrovallian-", SyxLayout::Kestrovallian10},
      {"Kestrovallian*", SyxLayout::Standard},
      {"Kestrovallian", SyxLayout::Standard},
      {"kestrovallian+", SyxLayout::Standard},
      {std::string("Kestrovallian\0", 14), SyxLayout::Standard},
      {"", SyxLayout::Standard},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecogniseSyxLayout(reinterpret_cast<const std::uint8_t*>(c.head.data()),
                                 c.head.size()),
              c.layout)
        << c.head;
  }
}

TEST(SyxSaveTest, NameFieldFromTheTitleBuffer) {
  auto field = NameFieldFromTitle("dump.syx");
  EXPECT_EQ(std::memcmp(field.data(), "dump\0syx\0", 9), 0);
  for (std::size_t i = 9; i < field.size(); ++i) EXPECT_EQ(field[i], 0xCD) << i;

  auto noExtension = NameFieldFromTitle("dump");
  EXPECT_EQ(std::memcmp(noExtension.data(), "dump\0", 5), 0);
  EXPECT_EQ(noExtension[5], 0xCD);

  const std::string longTitle = std::string(120, 'q') + ".syx";
  auto full = NameFieldFromTitle(longTitle);
  for (auto b : full) EXPECT_EQ(b, 'q');
}

TEST(SyxSaveTest, LinesAddedAfterSaving) {
  EXPECT_EQ(SavedFileLine(SaveFilter::Kestrovallian, "dump.syx"), "dump.syx");
  EXPECT_EQ(SavedFileLine(SaveFilter::Standard, "dump.syx"), "* dump.syx");
  EXPECT_EQ(SavedFileLine(SaveFilter::Kestrovallian10, "dump.syx"), "- dump.syx");
}

TEST_F(SyxLayoutsTest, RoundTripsThroughEachLayout) {
  PutThree();
  const std::vector<std::string> threeLines = received.lines;
  struct Case { SaveFilter filter; const char* magic; };
  const Case cases[] = {{SaveFilter::Kestrovallian, "Kestrovallian+"},
                        {SaveFilter::Kestrovallian10, "Kestrovallian-"},
                        {SaveFilter::Standard, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.filter));
    const auto path = folder / "dump.syx";
    ASSERT_TRUE(WriteStoreToFile(*store, path.string(), "dump.syx", c.filter));
    const auto file = ReadWholeFile(path);
    if (c.magic != nullptr) {
      ASSERT_EQ(file.size(), 116u + 12u + 4231u);
      EXPECT_EQ(std::memcmp(file.data(), c.magic, 14), 0);
      EXPECT_EQ(std::memcmp(file.data() + 14, "dump\0", 5), 0);
      EXPECT_EQ(file[114], 3);
      EXPECT_EQ(file[115], 0);
      EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 128, file.end()), Joined());
    } else {
      EXPECT_EQ(file, Joined());
    }

    // Load it into a fresh store, as Open does.
    MessageStore other((folder / "~o.syx").string(), (folder / "~o.lst").string(), reporter);
    VectorListLines otherLines;
    other.AttachList(&otherLines);
    ASSERT_TRUE(other.ResetStore());
    EXPECT_EQ(LoadSyxFile(path.string(), other), LoadResult::Loaded);
    other.Flush();
    EXPECT_EQ(ReadWholeFile(other.DataPath()), Joined());
    if (c.magic != nullptr) {
      EXPECT_EQ(other.MessageCount(), 3);
      EXPECT_EQ(otherLines.lines, threeLines);
    } else {
      EXPECT_EQ(other.MessageCount(), 1);
      EXPECT_EQ(otherLines.lines, std::vector<std::string>{"4231 bytes [Korg]"});
    }
  }
  EXPECT_TRUE(reporter.boxes.empty());
  // The store itself is untouched by a save.
  EXPECT_EQ(store->MessageCount(), 3);
}

TEST_F(SyxLayoutsTest, OldLayoutListsTitleAfterSaveAndStoredNameAfterRelisting) {
  PutThree();
  VectorListLines files;
  FolderFileList list(files);
  list.ListSyxFiles(folder.string(), "");
  const auto path = folder / "dump.syx";
  ASSERT_TRUE(WriteStoreToFile(*store, path.string(), "dump.syx", SaveFilter::Kestrovallian10));
  list.AddFileEntry(SavedFileLine(SaveFilter::Kestrovallian10, "dump.syx"), path.string(), true);
  ASSERT_EQ(files.Count(), 1);
  EXPECT_EQ(files.Line(0), "- dump.syx");
  EXPECT_EQ(files.selected, 0);
  list.ListSyxFiles(folder.string(), "dump.syx");
  ASSERT_EQ(files.Count(), 1);
  EXPECT_EQ(files.Line(0), "- dump");
  EXPECT_EQ(files.selected, 0);
}

TEST_F(SyxLayoutsTest, LengthTableBeyondThirtyTwoThousandFiveHundredBytesIsWrittenWhole) {
  // 9,000 messages: a 36,000-byte length table.
  for (int i = 0; i < 9000; ++i) {
    ASSERT_TRUE(Put(MakeMessage(3 + i % 5, 0x41, static_cast<std::uint8_t>(i))));
  }
  const auto path = folder / "many.syx";
  ASSERT_TRUE(WriteStoreToFile(*store, path.string(), "many.syx", SaveFilter::Kestrovallian));
  const auto file = ReadWholeFile(path);
  EXPECT_EQ(GetLe16(file.data() + 114), 9000);
  ASSERT_EQ(file.size(), 116u + 4u * 9000u + store->StoredBytes());
  for (int i = 0; i < 9000; ++i) {
    ASSERT_EQ(GetLe32(file.data() + 116 + 4 * i), 3 + i % 5) << i;
  }
  MessageStore other((folder / "~o.syx").string(), (folder / "~o.lst").string(), reporter);
  ASSERT_TRUE(other.ResetStore());
  EXPECT_EQ(LoadSyxFile(path.string(), other), LoadResult::Loaded);
  EXPECT_EQ(other.MessageCount(), 9000);
  EXPECT_EQ(other.StoredBytes(), store->StoredBytes());
}

TEST_F(SyxLayoutsTest, SaveToAnUnwritableTargetIsReportedAndLeavesTheStore) {
  PutThree();
  const auto target = folder / "no-such-folder" / "dump.syx";
  EXPECT_FALSE(WriteStoreToFile(*store, target.string(), "dump.syx", SaveFilter::Kestrovallian));
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "SP/Error");
  EXPECT_NE(reporter.boxes[0].text.find("not been saved"), std::string::npos);
  EXPECT_EQ(store->MessageCount(), 3);
  ASSERT_TRUE(Put(MakeMessage(9, 0x44)));
  EXPECT_EQ(store->MessageCount(), 4);
}

TEST_F(SyxLayoutsTest, SaveOnAFullDiskIsReportedAndLeavesNoHalfFile) {
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(Put(MakeMessage(5000, 0x43, static_cast<std::uint8_t>(i))));
  store->Flush();
  const auto target = folder / "full.syx";
  bool saved = true;
  {
    FileSizeLimit limit(150000);
    saved = WriteStoreToFile(*store, target.string(), "full.syx", SaveFilter::Kestrovallian);
  }
  EXPECT_FALSE(saved);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "SP/Error");
  EXPECT_NE(reporter.boxes[0].text.find("disk may be full"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(store->MessageCount(), 40);
  EXPECT_EQ(StoreData().size(), 200000u);
}

// Saved over a file of the same name: a save that fails on the way keeps
// that file as it was, and one that succeeds replaces it whole; neither
// leaves its working file behind.
TEST_F(SyxLayoutsTest, SaveOverAFileReplacesItOnlyWhenTheNewOneIsWhole) {
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(Put(MakeMessage(5000, 0x43, static_cast<std::uint8_t>(i))));
  store->Flush();
  const auto target = folder / "bank.syx";
  const std::vector<std::uint8_t> old = MakeMessage(300, 0x41, 7);
  WriteWholeFile(target, old);
  bool saved = true;
  {
    FileSizeLimit limit(150000);
    saved = WriteStoreToFile(*store, target.string(), "bank.syx", SaveFilter::Standard);
  }
  EXPECT_FALSE(saved);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_NE(reporter.boxes[0].text.find("disk may be full"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(target), old);
  EXPECT_FALSE(std::filesystem::exists(target.string() + kSavePartSuffix));

  ASSERT_TRUE(WriteStoreToFile(*store, target.string(), "bank.syx", SaveFilter::Standard));
  EXPECT_EQ(ReadWholeFile(target), StoreData());
  EXPECT_FALSE(std::filesystem::exists(target.string() + kSavePartSuffix));
  EXPECT_EQ(reporter.boxes.size(), 1u);
}

TEST_F(SyxLayoutsTest, StandardFileAtTheSizeLimitIsReadWholeAndWarns) {
  struct Case { std::size_t size; std::size_t stored; bool warns; };
  const Case cases[] = {
      {447999, 447999, false},
      {448000, 448000, true},
      {448014, 448014, true},
      {600000, 448014, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    auto bytes = MakeMessage(c.size, 0x40);
    WriteWholeFile(folder / "big.syx", bytes);
    reporter.boxes.clear();
    ASSERT_TRUE(store->ResetStore());
    received.Clear();
    EXPECT_EQ(LoadSyxFile((folder / "big.syx").string(), *store),
              c.warns ? LoadResult::Warned : LoadResult::Loaded);
    EXPECT_EQ(store->MessageCount(), 1);
    EXPECT_EQ(store->StoredBytes(), c.stored);
    auto data = StoreData();
    ASSERT_EQ(data.size(), c.stored);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin()));
    EXPECT_EQ(received.lines, std::vector<std::string>{std::to_string(c.stored) + " bytes [Kawai]"});
    if (c.warns) {
      ASSERT_EQ(reporter.boxes.size(), 1u);
      EXPECT_EQ(reporter.boxes[0].caption, "Oops...");
      EXPECT_EQ(reporter.boxes[0].icon, BoxIcon::Exclamation);
      const std::string& t = reporter.boxes[0].text;
      EXPECT_EQ(t.rfind("Out of memory for single sysex message! This program can only handle "
                        "messages under 512Kb in size. \n\n",
                        0),
                0u);
      EXPECT_NE(t.find("along with details of which device or instrument was responsible for "
                       "sending this message. \n\n(Things aren't going to work since the "
                       "message was cut short.)"),
                std::string::npos);
    } else {
      EXPECT_TRUE(reporter.boxes.empty());
    }
  }
}

TEST_F(SyxLayoutsTest, TinyAndEmptyStandardFilesLoadAsOneEntry) {
  WriteWholeFile(folder / "three.syx", {0xF0, 0x43, 0xF7});
  EXPECT_EQ(LoadSyxFile((folder / "three.syx").string(), *store), LoadResult::Loaded);
  WriteWholeFile(folder / "empty.syx", {});
  EXPECT_EQ(LoadSyxFile((folder / "empty.syx").string(), *store), LoadResult::Loaded);
  EXPECT_EQ(received.lines, (std::vector<std::string>{"3 bytes [Yamaha]", "0 bytes [[?]]"}));
}

TEST_F(SyxLayoutsTest, MissingFileIsReported) {
  EXPECT_EQ(LoadSyxFile((folder / "gone.syx").string(), *store), LoadResult::NotOpened);
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_NE(reporter.boxes[0].text.find("gone.syx"), std::string::npos);
  EXPECT_EQ(store->MessageCount(), 0);
}

TEST_F(SyxLayoutsTest, DamagedKestrovallianFilesLoadTheCompleteMessagesOnly) {
  const auto a = MakeMessage(50, 0x42, 1);
  const auto b = MakeMessage(70000, 0x43, 2);
  std::vector<std::uint8_t> ab = a;
  ab.insert(ab.end(), b.begin(), b.end());
  std::vector<std::uint8_t> abCut(ab.begin(), ab.end() - 10);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
    int loaded;
    LoadResult result;
  };
  std::vector<Case> cases = {
      {"whole", KestrovallianFile("Kestrovallian+", 2, {50, 70000}, ab), 2, LoadResult::Loaded},
      {"count zero", KestrovallianFile("Kestrovallian+", 0, {}, ab), 0, LoadResult::Loaded},
      {"negative count", KestrovallianFile("Kestrovallian+", -3, {50, 70000}, ab), 0,
       LoadResult::Damaged},
      {"data cut short", KestrovallianFile("Kestrovallian-", 2, {50, 70000}, abCut), 1,
       LoadResult::Damaged},
      {"table cut short", KestrovallianFile("Kestrovallian+", 5, {50, 70000}, {}), 0,
       LoadResult::Damaged},
      {"count larger than table", KestrovallianFile("Kestrovallian+", 3, {50}, a), 0,
       LoadResult::Damaged},
      {"negative length", KestrovallianFile("Kestrovallian+", 2, {50, -1}, ab), 1,
       LoadResult::Damaged},
      {"huge length", KestrovallianFile("Kestrovallian+", 2, {50, 0x7FFFFFFF}, ab), 1,
       LoadResult::Damaged},
  };
  std::vector<std::uint8_t> header(KestrovallianFile("Kestrovallian+", 2, {}, {}));
  cases.push_back({"ends in the name", std::vector<std::uint8_t>(header.begin(), header.begin() + 60),
                   0, LoadResult::Damaged});
  cases.push_back({"ends in the count",
                   std::vector<std::uint8_t>(header.begin(), header.begin() + 115), 0,
                   LoadResult::Damaged});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteWholeFile(folder / "k.syx", c.file);
    ASSERT_TRUE(store->ResetStore());
    reporter.boxes.clear();
    EXPECT_EQ(LoadSyxFile((folder / "k.syx").string(), *store), c.result);
    EXPECT_EQ(store->MessageCount(), c.loaded);
    EXPECT_EQ(store->PendingBytes(), 0u);
    const std::size_t expectedBytes = c.loaded == 0 ? 0 : c.loaded == 1 ? 50 : ab.size();
    EXPECT_EQ(store->StoredBytes(), expectedBytes);
    auto data = StoreData();
    EXPECT_TRUE(std::equal(ab.begin(), ab.begin() + expectedBytes, data.begin()));
    if (c.result == LoadResult::Damaged) {
      ASSERT_EQ(reporter.boxes.size(), 1u);
      EXPECT_EQ(reporter.boxes[0].caption, "Damaged file");
      EXPECT_NE(reporter.boxes[0].text.find("k.syx"), std::string::npos);
    } else {
      EXPECT_TRUE(reporter.boxes.empty());
    }
  }
}

}  // namespace
}  // namespace qv::test

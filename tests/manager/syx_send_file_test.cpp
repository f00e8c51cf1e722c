#include "manager/syx_send_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/manager/syx_send_test_files.h"

namespace qv {
namespace {

using test::Bytes;
using test::Concatenated;
using test::KestrovallianFile;
using test::SysExMessage;
using test::TempFolder;

std::vector<Bytes> ReadAllBlocks(SyxSendFile& file) {
  std::vector<Bytes> blocks;
  Bytes block;
  while (file.HasNextBlock()) {
    if (!file.ReadNextBlock(block)) {
      ADD_FAILURE() << "block " << blocks.size() << " could not be read";
      break;
    }
    blocks.push_back(block);
  }
  return blocks;
}

TEST(SyxSendFileLayouts, FilesAreCutIntoTheirBlocks) {
  const Bytes a = SysExMessage(10, 1), b = SysExMessage(170, 2),
              c = SysExMessage(150000, 3);  // read in several pieces
  const Bytes big = SysExMessage(700001, 4);  // beyond 512,000 bytes
  Bytes near_magic = {'K', 'e', 's', 't', 'r', 'o', 'v', 'a', 'l', 'l', 'i', 'a', 'n', '*'};
  near_magic.insert(near_magic.end(), a.begin(), a.end());
  struct Case {
    const char* name;
    Bytes file;
    bool kestrovallian;
    std::vector<Bytes> blocks;
  };
  const std::vector<Case> cases = {
      {"current layout", KestrovallianFile({a, b, c}, '+'), true, {a, b, c}},
      {"1.0 layout", KestrovallianFile({b, a}, '-'), true, {b, a}},
      {"standard, several messages", Concatenated({a, b, a}), false,
       {Concatenated({a, b, a})}},
      {"standard over 512,000 bytes", big, false, {big}},
      {"shorter than the magic", Bytes{0xF0, 0x7E, 0xF7}, false, {{0xF0, 0x7E, 0xF7}}},
      {"magic with another sign", near_magic, false, {near_magic}},
      {"empty messages are left out", KestrovallianFile({a, {}, b}), true, {a, b}},
      {"data after the last message", [&] {
         Bytes f = KestrovallianFile({a});
         f.insert(f.end(), b.begin(), b.end());
         return f;
       }(), true, {a}},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write("case.syx", c.file);
    SyxSendOpenError error = SyxSendOpenError::Damaged;
    SyxSendFile file = SyxSendFile::Open(path, error);
    ASSERT_EQ(error, SyxSendOpenError::None);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Kestrovallian(), c.kestrovallian);
    EXPECT_EQ(file.BlockCount(), c.blocks.size());
    EXPECT_EQ(ReadAllBlocks(file), c.blocks);
  }
}

TEST(SyxSendFileLayouts, BadFilesAreRefusedBeforeAnythingIsRead) {
  const Bytes a = SysExMessage(10), b = SysExMessage(20);
  auto with_count = [&](std::int16_t count) {
    Bytes f = KestrovallianFile({a});
    f[114] = static_cast<std::uint8_t>(count & 0xFF);
    f[115] = static_cast<std::uint8_t>((static_cast<std::uint16_t>(count) >> 8) & 0xFF);
    return f;
  };
  auto with_first_length = [&](std::int32_t length) {
    Bytes f = KestrovallianFile({a, b});
    for (int i = 0; i < 4; ++i)
      f[116 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(length) >> (8 * i));
    return f;
  };
  auto cut = [](Bytes f, std::size_t keep) {
    f.resize(keep);
    return f;
  };
  struct Case {
    const char* name;
    Bytes file;
    SyxSendOpenError error;
  };
  const std::vector<Case> cases = {
      {"count 0", with_count(0), SyxSendOpenError::NoMessages},
      {"negative count", with_count(-3), SyxSendOpenError::NoMessages},
      {"only empty messages", KestrovallianFile({{}, {}}), SyxSendOpenError::NoMessages},
      {"empty standard file", Bytes{}, SyxSendOpenError::NoMessages},
      {"cut in the name", cut(KestrovallianFile({a}), 60), SyxSendOpenError::Damaged},
      {"cut in the count", cut(KestrovallianFile({a}), 115), SyxSendOpenError::Damaged},
      {"cut in the table", cut(KestrovallianFile({a, b}), 118), SyxSendOpenError::Damaged},
      {"count beyond the table", with_count(30000), SyxSendOpenError::Damaged},
      {"data shorter than the table", cut(KestrovallianFile({a, b}), 116 + 8 + 25),
       SyxSendOpenError::Damaged},
      {"negative length", with_first_length(-10), SyxSendOpenError::Damaged},
      {"length beyond the file", with_first_length(0x7FFFFFFF), SyxSendOpenError::Damaged},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write("bad.syx", c.file);
    SyxSendOpenError error = SyxSendOpenError::None;
    SyxSendFile file = SyxSendFile::Open(path, error);
    EXPECT_EQ(error, c.error);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.BlockCount(), 0u);
  }
}

TEST(SyxSendFileLayouts, AMissingFileCannotBeOpened) {
  TempFolder folder;
  SyxSendOpenError error = SyxSendOpenError::None;
  SyxSendFile file = SyxSendFile::Open(folder.PathOf("not there.syx"), error);
  EXPECT_EQ(error, SyxSendOpenError::CannotOpen);
  EXPECT_FALSE(file.IsOpen());
}

TEST(SyxSendFileLayouts, AFileThatShrinksWhileSendingStopsTheReading) {
  TempFolder folder;
  // Large enough that the second block is not already in the read buffer.
  const Bytes a = SysExMessage(100), b = SysExMessage(100000);
  const std::string path = folder.Write("shrinks.syx", KestrovallianFile({a, b}));
  SyxSendOpenError error = SyxSendOpenError::None;
  SyxSendFile file = SyxSendFile::Open(path, error);
  ASSERT_EQ(error, SyxSendOpenError::None);
  Bytes block;
  ASSERT_TRUE(file.ReadNextBlock(block));
  EXPECT_EQ(block, a);
  std::filesystem::resize_file(path, 116 + 8 + 100 + 50000);
  EXPECT_FALSE(file.ReadNextBlock(block));
  EXPECT_FALSE(file.HasNextBlock());
  EXPECT_FALSE(file.ReadNextBlock(block));
}

TEST(SyxSendFileLayouts, RealFilesGoOutWhole) {
  const std::filesystem::path corpus(QV_CORPUS_DIR);
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::string extension = entry.path().extension().string();
    for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (extension != ".syx") continue;
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SyxSendOpenError error = SyxSendOpenError::None;
    SyxSendFile file = SyxSendFile::Open(entry.path().string(), error);
    if (whole.empty()) {
      EXPECT_EQ(error, SyxSendOpenError::NoMessages);
      continue;
    }
    ASSERT_EQ(error, SyxSendOpenError::None);
    EXPECT_FALSE(file.Kestrovallian());
    EXPECT_EQ(ReadAllBlocks(file), std::vector<Bytes>{whole});
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace qv

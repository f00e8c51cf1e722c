// A file given its own large buffer: what it writes reaches the disk whole,
// also when the file object is moved while open, and it reads back alike.
#include "manager/disk_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "tests/manager/store_fixture.h"

namespace qv::test {
namespace {

using DiskFileTest = StoreTest;

TEST_F(DiskFileTest, ALargeBufferKeepsEveryByteThroughAMoveAndBack) {
  std::vector<std::uint8_t> bytes(700000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
  const std::string path = (folder / "buffered.bin").string();
  {
    DiskFile first;
    ASSERT_TRUE(first.Open(path, "wb"));
    first.UseBuffer(256 * 1024);
    ASSERT_TRUE(first.Write(bytes.data(), 1000));
    DiskFile moved(std::move(first));
    ASSERT_TRUE(moved.Write(bytes.data() + 1000, 300000));
    DiskFile assigned;
    assigned = std::move(moved);
    ASSERT_TRUE(assigned.Write(bytes.data() + 301000, bytes.size() - 301000));
    EXPECT_TRUE(assigned.Close());
  }
  EXPECT_EQ(ReadWholeFile(path), bytes);

  DiskFile in;
  ASSERT_TRUE(in.Open(path, "rb"));
  in.UseBuffer(64 * 1024);
  std::vector<std::uint8_t> back(bytes.size());
  ASSERT_TRUE(in.Seek(5));
  EXPECT_EQ(in.Read(back.data(), 100), 100u);
  EXPECT_TRUE(std::equal(back.begin(), back.begin() + 100, bytes.begin() + 5));
  ASSERT_TRUE(in.Seek(0));
  EXPECT_TRUE(in.ReadExactly(back.data(), back.size()));
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(in.Read(back.data(), 1), 0u);
}

}  // namespace
}  // namespace qv::test

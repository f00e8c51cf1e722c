#include "launcher/title_bitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace qv {
namespace {

void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A bitmap file as the launcher's resource holds it: headers, 256 colours
// (entry i: blue i, green 255-i, red i*7), then `pixelBytes` bytes counting
// up from 1. Negative pixelBytes: as many as the rows need.
std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, uint16_t bitCount = 8,
                                uint32_t compression = 0, long pixelBytes = -1) {
  int64_t row = (static_cast<int64_t>(width) + 3) / 4 * 4;
  int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  if (pixelBytes < 0) pixelBytes = static_cast<long>(row * rows);
  std::vector<uint8_t> b(kPixelDataOffset + static_cast<size_t>(pixelBytes), 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 2, static_cast<uint32_t>(b.size()));
  PutU32(b, 10, static_cast<uint32_t>(kPixelDataOffset));
  PutU32(b, 14, 40);
  PutU32(b, 18, static_cast<uint32_t>(width));
  PutU32(b, 22, static_cast<uint32_t>(height));
  PutU16(b, 26, 1);
  PutU16(b, 28, bitCount);
  PutU32(b, 30, compression);
  PutU32(b, 34, static_cast<uint32_t>(pixelBytes));
  PutU32(b, 38, 2835);
  PutU32(b, 42, 2835);
  PutU32(b, 46, 256);
  PutU32(b, 50, 7);
  for (size_t i = 0; i < kColourCount; ++i) {
    b[kColourTableOffset + 4 * i + 0] = static_cast<uint8_t>(i);
    b[kColourTableOffset + 4 * i + 1] = static_cast<uint8_t>(255 - i);
    b[kColourTableOffset + 4 * i + 2] = static_cast<uint8_t>(i * 7);
    b[kColourTableOffset + 4 * i + 3] = 0xAA;
  }
  for (long i = 0; i < pixelBytes; ++i) b[kPixelDataOffset + static_cast<size_t>(i)] = static_cast<uint8_t>(i + 1);
  return b;
}

// Reads from a block of exactly the given size, so that the sanitizer sees
// any read beyond it.
TitleBitmapResult ReadExactly(const std::vector<uint8_t>& bytes, size_t size) {
  std::vector<uint8_t> exact(bytes.begin(), bytes.begin() + static_cast<long>(size));
  exact.shrink_to_fit();
  return ReadTitleBitmap(exact.empty() ? nullptr : exact.data(), exact.size());
}

TEST(TitleBitmap, WidthIsRaisedToTheNextMultipleOfFour) {
  const int32_t cases[][2] = {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {7, 8}, {8, 8},
                              {501, 504}, {502, 504}, {503, 504}, {504, 504}, {505, 508}};
  for (const auto& c : cases) EXPECT_EQ(RoundWidthToRow(c[0]), c[1]) << c[0];
}

TEST(TitleBitmap, ThePicturesOwnSizeIsReadWithItsPaddingColumns) {
  std::vector<uint8_t> file = MakeBitmap(501, 334);
  TitleBitmapResult read = ReadTitleBitmap(file.data(), file.size());
  ASSERT_EQ(read.status, TitleBitmapStatus::kOk);
  const TitleBitmap& bitmap = read.bitmap;
  EXPECT_EQ(bitmap.fileWidth, 501);
  EXPECT_EQ(bitmap.header.width, 504);
  EXPECT_EQ(bitmap.header.height, 334);
  EXPECT_EQ(bitmap.header.size, 40u);
  EXPECT_EQ(bitmap.header.planes, 1);
  EXPECT_EQ(bitmap.header.bitCount, 8);
  EXPECT_EQ(bitmap.header.compression, 0u);
  EXPECT_EQ(bitmap.header.sizeImage, 504u * 334u);
  EXPECT_EQ(bitmap.header.xPelsPerMeter, 2835);
  EXPECT_EQ(bitmap.header.clrUsed, 256u);
  EXPECT_EQ(bitmap.header.clrImportant, 7u);
  ASSERT_EQ(bitmap.pixels.size(), 504u * 334u);
  EXPECT_TRUE(std::equal(bitmap.pixels.begin(), bitmap.pixels.end(), file.begin() + kPixelDataOffset));
}

TEST(TitleBitmap, ColourTableEntriesBecomeRedGreenBlue) {
  std::vector<uint8_t> file = MakeBitmap(4, 2);
  TitleBitmapResult read = ReadTitleBitmap(file.data(), file.size());
  ASSERT_EQ(read.status, TitleBitmapStatus::kOk);
  for (size_t i : {size_t{0}, size_t{1}, size_t{37}, size_t{128}, size_t{255}}) {
    const PaletteColour& c = read.bitmap.colours[i];
    EXPECT_EQ(c.blue, static_cast<uint8_t>(i)) << i;
    EXPECT_EQ(c.green, static_cast<uint8_t>(255 - i)) << i;
    EXPECT_EQ(c.red, static_cast<uint8_t>(i * 7)) << i;
  }
}

TEST(TitleBitmap, OnlyEightBitUncompressedPicturesAreAccepted) {
  struct Case {
    uint16_t bitCount;
    uint32_t compression;
    TitleBitmapStatus status;
  };
  const Case cases[] = {
      {8, 0, TitleBitmapStatus::kOk},
      {1, 0, TitleBitmapStatus::kNotEightBitRaw},
      {4, 0, TitleBitmapStatus::kNotEightBitRaw},
      {16, 0, TitleBitmapStatus::kNotEightBitRaw},
      {24, 0, TitleBitmapStatus::kNotEightBitRaw},
      {32, 0, TitleBitmapStatus::kNotEightBitRaw},
      {8, 1, TitleBitmapStatus::kNotEightBitRaw},  // run-length encoded
      {8, 3, TitleBitmapStatus::kNotEightBitRaw},
      {0, 0, TitleBitmapStatus::kNotEightBitRaw},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = MakeBitmap(16, 16, c.bitCount, c.compression);
    EXPECT_EQ(ReadTitleBitmap(file.data(), file.size()).status, c.status)
        << "bits " << c.bitCount << " compression " << c.compression;
  }
}

TEST(TitleBitmap, CutOffFilesAreRefusedWithoutReadingPastTheirEnd) {
  std::vector<uint8_t> file = MakeBitmap(501, 334);
  const size_t whole = file.size();
  const size_t sizes[] = {0, 1, 13, 14, 53, 54, 100, kPixelDataOffset - 1, kPixelDataOffset,
                          kPixelDataOffset + 1, kPixelDataOffset + 504, whole - 504, whole - 1};
  for (size_t size : sizes) {
    EXPECT_EQ(ReadExactly(file, size).status, TitleBitmapStatus::kTooShort) << size << " bytes";
  }
  EXPECT_EQ(ReadExactly(file, whole).status, TitleBitmapStatus::kOk);
}

TEST(TitleBitmap, BytesAfterThePixelDataAreLeftAlone) {
  std::vector<uint8_t> file = MakeBitmap(6, 3);
  file.insert(file.end(), {0xEE, 0xEE, 0xEE});
  TitleBitmapResult read = ReadTitleBitmap(file.data(), file.size());
  ASSERT_EQ(read.status, TitleBitmapStatus::kOk);
  ASSERT_EQ(read.bitmap.pixels.size(), 8u * 3u);
  EXPECT_EQ(read.bitmap.pixels.back(), 24);
}

TEST(TitleBitmap, ImpossibleSizesAreRefused) {
  struct Case {
    int32_t width, height;
  };
  const Case cases[] = {{0, 10}, {10, 0}, {-4, 10}, {INT32_MIN, 10}, {10, INT32_MIN},
                        {kMaxTitleSide + 1, 1}, {1, kMaxTitleSide + 1}, {1, -kMaxTitleSide - 1},
                        {INT32_MAX, INT32_MAX}};
  for (const Case& c : cases) {
    // Headers alone: a reader that trusted the sizes would read far beyond.
    std::vector<uint8_t> file = MakeBitmap(c.width, c.height, 8, 0, 64);
    EXPECT_EQ(ReadExactly(file, file.size()).status, TitleBitmapStatus::kBadSize)
        << c.width << " x " << c.height;
  }
}

TEST(TitleBitmap, TopDownRowsAreReadWithTheHeightsMagnitude) {
  std::vector<uint8_t> file = MakeBitmap(5, -3);
  TitleBitmapResult read = ReadExactly(file, file.size());
  ASSERT_EQ(read.status, TitleBitmapStatus::kOk);
  EXPECT_EQ(read.bitmap.header.height, -3);
  EXPECT_EQ(read.bitmap.header.width, 8);
  EXPECT_EQ(read.bitmap.pixels.size(), 24u);
}

TEST(TitleBitmap, TheBuiltTitlePictureIsAcceptedAndFillsTheWindow) {
  std::ifstream in(QV_TITLE_BMP, std::ios::binary);
  if (!in) GTEST_SKIP() << "no title picture at " << QV_TITLE_BMP;
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(file.size(), 14u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[10] | (file[11] << 8), static_cast<int>(kPixelDataOffset));
  TitleBitmapResult read = ReadTitleBitmap(file.data(), file.size());
  ASSERT_EQ(read.status, TitleBitmapStatus::kOk);
  EXPECT_EQ(read.bitmap.fileWidth, 501);
  EXPECT_EQ(read.bitmap.header.width, 504);
  EXPECT_EQ(read.bitmap.header.height, 334);
  EXPECT_EQ(file.size(), kPixelDataOffset + 504u * 334u);

  // The marker places at the foot are drawn white, the colour the launcher
  // paints the unmarked ones, so the picture and the markers agree.
  auto colourAt = [&](int x, int y) {
    size_t row = static_cast<size_t>(333 - y);  // rows are stored bottom-up
    return read.bitmap.colours[read.bitmap.pixels[row * 504 + static_cast<size_t>(x)]];
  };
  for (int x : {0, 125, 250}) {
    PaletteColour c = colourAt(x + 2, 320);
    EXPECT_EQ(c.red, 255) << x;
    EXPECT_EQ(c.green, 255) << x;
    EXPECT_EQ(c.blue, 255) << x;
  }
  // Not one flat colour: a real picture uses many entries.
  std::vector<bool> used(kColourCount, false);
  for (uint8_t p : read.bitmap.pixels) used[p] = true;
  EXPECT_GT(std::count(used.begin(), used.end(), true), 64);
}

}  // namespace
}  // namespace qv

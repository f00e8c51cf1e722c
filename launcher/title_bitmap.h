#pragma once
// The title picture as the launcher reads it from its resource: a complete
// Windows bitmap file of 8 bits per pixel, uncompressed, with a colour table
// of 256 entries and the pixel data at byte 1078.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

inline constexpr size_t kBitmapInfoOffset = 14;
inline constexpr size_t kBitmapInfoHeaderSize = 40;
inline constexpr size_t kColourCount = 256;
inline constexpr size_t kColourTableOffset = kBitmapInfoOffset + kBitmapInfoHeaderSize;  // 54
inline constexpr size_t kPixelDataOffset = kColourTableOffset + 4 * kColourCount;       // 1078
// Largest side the launcher accepts; far beyond any title picture.
inline constexpr int32_t kMaxTitleSide = 8192;

inline constexpr const char* kInvalidBitmapText =
    "Invalid bitmap file format - need 256 colour uncompressed bitmaps. See help file.";

struct PaletteColour {
  uint8_t red = 0, green = 0, blue = 0;
};

// The bitmap information header, field by field.
struct BitmapInfoHeader {
  uint32_t size = 0;
  int32_t width = 0;  // raised to a multiple of 4 by ReadTitleBitmap
  int32_t height = 0;  // negative for rows stored top-down
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

struct TitleBitmap {
  BitmapInfoHeader header;
  int32_t fileWidth = 0;  // the width as the file gives it
  std::array<PaletteColour, kColourCount> colours{};
  // header.width x |header.height| bytes, one per pixel, rows as stored.
  std::vector<uint8_t> pixels;
};

enum class TitleBitmapStatus {
  kOk,
  kTooShort,        // the header, the colour table or the rows are cut off
  kNotEightBitRaw,  // bit count other than 8, or compressed
  kBadSize,         // a side of 0 or beyond kMaxTitleSide
};

struct TitleBitmapResult {
  TitleBitmapStatus status = TitleBitmapStatus::kTooShort;
  TitleBitmap bitmap;
};

// The width rounded up to the next multiple of 4 (the row padding becomes
// part of the picture).
int32_t RoundWidthToRow(int32_t width);

// Reads and checks the picture. Never reads outside [data, data + size).
TitleBitmapResult ReadTitleBitmap(const uint8_t* data, size_t size);

}  // namespace qv

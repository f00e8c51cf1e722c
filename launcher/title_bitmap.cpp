#include "launcher/title_bitmap.h"

#include <cstdlib>

namespace qv {

namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

BitmapInfoHeader ReadInfoHeader(const uint8_t* p) {
  BitmapInfoHeader h;
  h.size = ReadU32(p + 0);
  h.width = ReadI32(p + 4);
  h.height = ReadI32(p + 8);
  h.planes = ReadU16(p + 12);
  h.bitCount = ReadU16(p + 14);
  h.compression = ReadU32(p + 16);
  h.sizeImage = ReadU32(p + 20);
  h.xPelsPerMeter = ReadI32(p + 24);
  h.yPelsPerMeter = ReadI32(p + 28);
  h.clrUsed = ReadU32(p + 32);
  h.clrImportant = ReadU32(p + 36);
  return h;
}

}  // namespace

int32_t RoundWidthToRow(int32_t width) { return (width + 3) / 4 * 4; }

TitleBitmapResult ReadTitleBitmap(const uint8_t* data, size_t size) {
  TitleBitmapResult result;
  if (data == nullptr || size < kPixelDataOffset) {
    result.status = TitleBitmapStatus::kTooShort;
    return result;
  }
  BitmapInfoHeader header = ReadInfoHeader(data + kBitmapInfoOffset);
  if (header.bitCount != 8 || header.compression != 0) {
    result.status = TitleBitmapStatus::kNotEightBitRaw;
    return result;
  }
  // A negative height (rows stored top-down) is a valid bitmap; INT32_MIN
  // has no magnitude and is refused with the other absurd sizes.
  if (header.width <= 0 || header.width > kMaxTitleSide || header.height == 0 ||
      header.height < -kMaxTitleSide || header.height > kMaxTitleSide) {
    result.status = TitleBitmapStatus::kBadSize;
    return result;
  }
  int32_t width = RoundWidthToRow(header.width);
  size_t rows = static_cast<size_t>(std::abs(header.height));
  size_t pixelBytes = static_cast<size_t>(width) * rows;
  if (size - kPixelDataOffset < pixelBytes) {
    result.status = TitleBitmapStatus::kTooShort;
    return result;
  }

  TitleBitmap& bitmap = result.bitmap;
  bitmap.fileWidth = header.width;
  header.width = width;
  bitmap.header = header;
  for (size_t i = 0; i < kColourCount; ++i) {
    const uint8_t* entry = data + kColourTableOffset + 4 * i;  // blue, green, red, reserved
    bitmap.colours[i] = PaletteColour{entry[2], entry[1], entry[0]};
  }
  bitmap.pixels.assign(data + kPixelDataOffset, data + kPixelDataOffset + pixelBytes);
  result.status = TitleBitmapStatus::kOk;
  return result;
}

}  // namespace qv

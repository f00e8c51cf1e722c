#include "editor/seven_in_eight.h"

#include <algorithm>

namespace qv {

std::size_t PackedSizeOf(std::size_t data_size) {
  std::size_t rest = data_size % 7;
  return data_size / 7 * 8 + (rest ? rest + 1 : 0);
}

std::size_t UnpackedSizeOf(std::size_t packed_size) {
  std::size_t rest = packed_size % 8;
  return packed_size / 8 * 7 + (rest ? rest - 1 : 0);
}

void Pack7in8(std::span<const std::uint8_t> data, std::span<std::uint8_t> out) {
  std::size_t size = std::min(PackedSizeOf(data.size()), out.size());
  std::fill(out.begin(), out.begin() + size, std::uint8_t{0});
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::size_t group = 8 * (i / 7);
    std::size_t k = i % 7;
    if (group + 1 + k >= size) break;
    out[group + 1 + k] = data[i] & 0x7F;
    if (data[i] & 0x80) out[group] |= std::uint8_t(1u << k);
  }
}

void Unpack7in8(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
  std::size_t count = std::min(UnpackedSizeOf(packed.size()), out.size());
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t group = 8 * (i / 7);
    std::size_t k = i % 7;
    std::uint8_t b = packed[group + 1 + k] & 0x7F;
    if (packed[group] & (1u << k)) b |= 0x80;
    out[i] = b;
  }
}

std::vector<std::uint8_t> Pack7in8(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out(PackedSizeOf(data.size()));
  Pack7in8(data, out);
  return out;
}

std::vector<std::uint8_t> Unpack7in8(std::span<const std::uint8_t> packed) {
  std::vector<std::uint8_t> out(UnpackedSizeOf(packed.size()));
  Unpack7in8(packed, out);
  return out;
}

}  // namespace qv

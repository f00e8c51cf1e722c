#include "manager/syx_layout.h"

#include <cstring>

namespace qv {

SyxLayout RecogniseSyxLayout(const std::uint8_t* first, std::size_t count) {
  if (first == nullptr || count < kMagicSize) return SyxLayout::Standard;
  if (std::memcmp(first, kMagicCurrent, kMagicSize) == 0) return SyxLayout::Kestrovallian;
  if (std::memcmp(first, kMagic10, kMagicSize) == 0) return SyxLayout::Kestrovallian10;
  return SyxLayout::Standard;
}

}  // namespace qv

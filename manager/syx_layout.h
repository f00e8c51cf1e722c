#pragma once
// Recognising the three .syx layouts by a file's first 14 bytes. The two
// Kestrovallian layouts hold a magic, a 100-byte name, a 16-bit count and a
// table of 32-bit lengths ahead of the messages; every other file is the
// standard layout, the bare bytes.
#include <cstddef>
#include <cstdint>

namespace qv {

enum class SyxLayout { Standard, Kestrovallian, Kestrovallian10 };

inline constexpr std::size_t kMagicSize = 14;
inline constexpr char kMagicCurrent[] = "Kestrovallian+";
inline constexpr char kMagic10[] = "Kestrovallian-";
inline constexpr std::size_t kNameFieldSize = 100;
inline constexpr std::size_t kCountOffset = kMagicSize + kNameFieldSize;  // 114
inline constexpr std::size_t kLengthTableOffset = kCountOffset + 2;       // 116

// Only an exact match of all 14 bytes counts; fewer bytes are standard.
SyxLayout RecogniseSyxLayout(const std::uint8_t* first, std::size_t count);

}  // namespace qv

#pragma once
// The Korg 7-in-8 packing: each group of up to 7 data bytes becomes a flag
// byte, whose bit k holds bit 7 of the group's k-th byte, followed by the low
// 7 bits of each byte of the group.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// Packed size of n data bytes.
std::size_t PackedSizeOf(std::size_t data_size);
// Data bytes carried by n packed bytes (a lone trailing flag byte carries none).
std::size_t UnpackedSizeOf(std::size_t packed_size);

// Packs data into out, which must hold PackedSizeOf(data.size()) bytes.
void Pack7in8(std::span<const std::uint8_t> data, std::span<std::uint8_t> out);
// Unpacks packed into out, which must hold UnpackedSizeOf(packed.size()) bytes.
void Unpack7in8(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out);

std::vector<std::uint8_t> Pack7in8(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> Unpack7in8(std::span<const std::uint8_t> packed);

}  // namespace qv

#pragma once
// Naming the maker of a SysEx message from its identifier byte.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// The byte that follows the first F0 among the first 10 bytes; 0 when none
// of them is F0 or the F0 is the last byte there is.
std::uint8_t FindManufacturerId(const std::uint8_t* bytes, std::size_t count);

// The maker's name for the list lines; unknown identifiers in lower-case hex.
std::string ManufacturerName(std::uint8_t id);

}  // namespace qv

#include "manager/manufacturer.h"

#include <cstdio>

namespace qv {

std::uint8_t FindManufacturerId(const std::uint8_t* bytes, std::size_t count) {
  if (bytes == nullptr) return 0;
  const std::size_t scan = count < 10 ? count : 10;
  for (std::size_t i = 0; i < scan; ++i) {
    if (bytes[i] == 0xF0) return i + 1 < count ? bytes[i + 1] : 0;
  }
  return 0;
}

std::string ManufacturerName(std::uint8_t id) {
  switch (id) {
    case 0x00: return "[?]";
    case 0x01: return "Sequential";
    case 0x07: return "Kurzweil";
    case 0x0F: return "Ensoniq";
    case 0x10: return "Oberheim";
    case 0x40: return "Kawai";
    case 0x41: return "Roland";
    case 0x42: return "Korg";
    case 0x43: return "Yamaha";
    case 0x44: return "Casio";
    case 0x45: return "Akai";
    default: break;
  }
  char text[8];
  std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(id));
  return text;
}

}  // namespace qv

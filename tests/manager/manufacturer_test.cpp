#include "manager/manufacturer.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

TEST(ManufacturerNameTest, TableAndHexForTheRest) {
  struct Case { std::uint8_t id; const char* text; };
  const Case cases[] = {
      {0x00, "[?]"},      {0x01, "Sequential"}, {0x07, "Kurzweil"}, {0x0F, "Ensoniq"},
      {0x10, "Oberheim"}, {0x40, "Kawai"},      {0x41, "Roland"},   {0x42, "Korg"},
      {0x43, "Yamaha"},   {0x44, "Casio"},      {0x45, "Akai"},     {0x7E, "7e"},
      {0x47, "47"},       {0x3E, "3e"},         {0x04, "4"},        {0xFF, "ff"},
  };
  for (const Case& c : cases) EXPECT_EQ(ManufacturerName(c.id), c.text) << int(c.id);
}

TEST(FindManufacturerIdTest, ByteAfterFirstF0AmongFirstTen) {
  struct Case { std::vector<std::uint8_t> bytes; std::uint8_t id; const char* what; };
  const std::vector<Case> cases = {
      {{0xF0, 0x42, 0x30, 0x19, 0xF7}, 0x42, "F0 first"},
      {{0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}, 0x7E, "universal non-real-time"},
      {{0xF0, 0x00, 0x20, 0x32, 0x00, 0xF7}, 0x00, "three-byte identifier"},
      {{0x00, 0x0B, 0x4F, 0xF0, 0x43, 0x00}, 0x43, "header before the F0"},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0xF0, 0x41}, 0x41, "F0 tenth byte"},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xF0, 0x41}, 0x00, "F0 eleventh byte"},
      {{0x41, 0x42, 0x43}, 0x00, "no F0"},
      {{0xF0, 0x43, 0xF0, 0x41}, 0x43, "first F0 counts"},
      {{0x11, 0xF0}, 0x00, "F0 is the last byte"},
      {{}, 0x00, "nothing"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindManufacturerId(c.bytes.data(), c.bytes.size()), c.id) << c.what;
  }
  EXPECT_EQ(FindManufacturerId(nullptr, 5), 0);
}

TEST(ManufacturerNameTest, ThreeByteIdentifiersListAsUnknown) {
  const std::uint8_t behringer[] = {0xF0, 0x00, 0x20, 0x32, 0x00, 0x01, 0xF7};
  EXPECT_EQ(ManufacturerName(FindManufacturerId(behringer, sizeof behringer)), "[?]");
}

}  // namespace
}  // namespace qv

#include "editor/key_names.h"

namespace qv {

namespace {
constexpr const char* kNoteNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                        "F#", "G",  "G#", "A",  "A#", "B"};
constexpr std::size_t kKeyNameReadLimit = 9;
}  // namespace

std::string FormatKeyName(int key) {
  if (key < 0) key = 0;
  int octave = key / 12 - 1;
  return std::string(kNoteNames[key % 12]) + std::to_string(octave);
}

int ParseKeyName(std::string_view text) {
  text = text.substr(0, kKeyNameReadLimit);
  auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };

  char letter = at(0);
  if (letter > 'G') letter = char(letter - 0x20);
  int base;
  switch (letter) {
    case 'C': base = 0; break;
    case 'D': base = 2; break;
    case 'E': base = 4; break;
    case 'F': base = 5; break;
    case 'G': base = 7; break;
    case 'A': base = 9; break;
    case 'B': base = 11; break;
    default: return kNotAKeyName;
  }
  std::size_t p = 1;
  if (at(p) == '#') {
    ++base;
    p = 2;
  }
  bool negative = false;
  if (at(p) == '-') {
    negative = true;
    ++p;
  }
  char digit = at(p);
  if (digit < '0' || digit > '9') return kNotAKeyName;
  if (negative && digit != '1') return kNotAKeyName;
  int octave = negative ? -1 : digit - '0';
  // A second octave digit or any other character after the octave makes
  // the text something other than a key name (G#10 is not G#1).
  for (std::size_t i = p + 1; i < text.size(); ++i)
    if (text[i] != ' ') return kNotAKeyName;
  int key = 12 * octave + 12 + base;
  if (key < 0 || key > 127) return kNotAKeyName;
  return key;
}

}  // namespace qv

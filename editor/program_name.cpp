#include "editor/program_name.h"

#include <cstdio>

namespace qv {

char ShownNameCharacter(std::uint8_t b) {
  return (b < 0x20 || b == 0x7F) ? ' ' : char(b);
}

std::string ShownProgramName(const M1Program& program) {
  std::string name(kM1NameLength, ' ');
  for (int i = 0; i < kM1NameLength; ++i)
    name[i] = ShownNameCharacter(program[kM1NameOffset + i]);
  return name;
}

std::string ProgramListText(int program_number, const M1Program& program) {
  char number[16];
  std::snprintf(number, sizeof number, "%02i ", program_number);
  return number + ShownProgramName(program);
}

void StoreShownName(std::string_view shown, M1Program& program) {
  for (int i = 0; i < kM1NameLength; ++i) {
    char c = std::size_t(i) < shown.size() ? shown[i] : ' ';
    std::uint8_t& b = program[kM1NameOffset + i];
    if (c != ShownNameCharacter(b)) b = std::uint8_t(c);
  }
}

}  // namespace qv

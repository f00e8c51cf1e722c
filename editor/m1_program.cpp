#include "editor/m1_program.h"

namespace qv {

M1Program BlankM1Program() {
  M1Program p{};
  for (int i = 0; i < kM1NameLength; ++i) p[kM1NameOffset + i] = ' ';
  return p;
}

}  // namespace qv

// A Korg M1 program dump as the editor receives it: unpacked, and packed
// again to the same bytes when its header and packing are its own.
#include <cstdlib>

#include "editor/m1_program.h"
#include "editor/m1_program_dump.h"
#include "editor/program_name.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  M1Program edit = BlankM1Program();
  M1Program revert = BlankM1Program();
  const std::span<const uint8_t> dump(data, size);
  if (!UnpackM1Dump(dump, edit, revert)) return 0;
  if (edit != revert) std::abort();
  // The shown name and the list line never grow past their fields.
  if (ShownProgramName(edit).size() != static_cast<size_t>(kM1NameLength)) std::abort();
  if (ProgramListText(99, edit).size() != 13u) std::abort();
  const M1ProgramDump packed = PackM1Dump(edit, (data[2] & 0x0F) + 1);
  M1Program again = BlankM1Program();
  if (!UnpackM1Program(packed, again) || again != edit) std::abort();
  return 0;
}

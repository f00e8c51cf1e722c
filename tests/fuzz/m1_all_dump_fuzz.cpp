// A Korg M1 all-programs dump (16,350 bytes for 100 programs) split into
// its programs. Inputs shorter than a dump are grown to the size of one,
// so the fuzzer works on the header and the packed stream.
#include <cstdlib>

#include "editor/m1_all_program_dump.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> message(data, data + size);
  if (size > 0 && data[0] == 0xF0 && size < 16350) {
    message.resize(16350, 0x00);
    message.back() = 0xF7;
  }
  std::optional<std::vector<M1Program>> programs = SplitM1AllProgramDump(message);
  if (programs && programs->size() > 100) std::abort();
  return 0;
}

// Program names taken out of an answer at the definition's name offsets,
// the program data cut from it, and the M1 editor's shown name.
#include <cstdlib>

#include "editor/program_name.h"
#include "librarian/answer_data.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  const int32_t offset = static_cast<int32_t>(in.Word());
  const int32_t programSize = static_cast<int32_t>(in.Word() % 40000);
  const std::string offsets = in.Text(in.Byte() % 100);
  const std::vector<uint8_t> answer = in.Rest();
  const ProgramName name = ExtractProgramName(answer, offset, offsets);
  if (ProgramNameText(name).size() > 29) std::abort();
  const std::vector<uint8_t> program = ProgramDataFromAnswer(answer, offset, programSize);
  if (program.size() != static_cast<size_t>(programSize)) std::abort();
  M1Program m1 = BlankM1Program();
  StoreShownName(std::string(answer.begin(), answer.end()), m1);
  if (ShownProgramName(m1).size() != static_cast<size_t>(kM1NameLength)) std::abort();
  return 0;
}

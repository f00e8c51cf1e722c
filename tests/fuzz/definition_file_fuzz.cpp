// Instrument definition files: the record with its range check, and the
// tail of remembered device-list lines.
#include <cstdlib>

#include "librarian/definition_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchFile("Fuzz.QvInstrument");
  fuzz::WriteFile(path, data, size);
  InstrumentDefinition definition;
  std::string name;
  const DefinitionLoad load = ReadInstrumentDefinition(path, definition, name);
  if (load == DefinitionLoad::NotOpened) std::abort();
  if (load == DefinitionLoad::Loaded && (!HoldsAcceptedNumbers(definition) || name != "Fuzz")) {
    std::abort();
  }
  std::vector<std::string> lines{"unchanged"};
  if (LoadDeviceLines(path, lines)) {
    const size_t held = size > kDefinitionRecordSize + 4 ? (size - kDefinitionRecordSize - 4) / 30 : 0;
    if (lines.size() > held) std::abort();
    for (const std::string& line : lines) {
      if (line.size() > kDeviceLineSize) std::abort();
    }
  }
  return 0;
}

// The manager's folder list line of a .syx file, read from the file's head.
#include <cstdlib>

#include "manager/folder_file_list.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchFile("line.syx");
  fuzz::WriteFile(path, data, size);
  const std::string line = FolderLineForFile(path, "line.syx");
  // A name, at most 100 characters, behind at most a two-character mark.
  if (line.empty() || line.size() > 102) std::abort();
  return 0;
}

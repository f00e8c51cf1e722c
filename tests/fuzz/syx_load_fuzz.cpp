// A .syx file of any layout (raw, "Kestrovallian+" and "Kestrovallian-"
// with their count and length tables) opened into the message store.
#include <cstdlib>

#include "manager/message_store.h"
#include "manager/syx_load.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::SilentReporter reporter;
  static MessageStore store(fuzz::ScratchFile("store.syx"), fuzz::ScratchFile("store.lst"), reporter);
  const std::string path = fuzz::ScratchFile("input.syx");
  fuzz::WriteFile(path, data, size);
  if (!store.ResetStore()) std::abort();
  LoadSyxFile(path, store);
  if (store.MessageCount() < 0 || store.MessageCount() > MessageStore::kMaxMessages) std::abort();
  return 0;
}

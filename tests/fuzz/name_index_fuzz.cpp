// The name index of an open bank: names added, found and erased in any
// order, checked against a plain model.
#include <cstdlib>
#include <map>
#include <set>

#include "librarian/program_name_index.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  ProgramNameIndex index;
  std::map<std::string, std::multiset<int32_t>> model;
  int32_t slot = 0;
  while (in.Left() > 0) {
    const uint8_t op = in.Byte();
    const std::string text = in.Text(op % 8);
    const ProgramName name = MakeProgramName(text);
    const std::string key(ProgramNameText(name));
    switch (op % 3) {
      case 0:
        index.AddIndexEntry(slot, name);
        model[key].insert(slot++);
        break;
      case 1: {
        const int32_t found = index.FindIndexEntry(key);
        auto it = model.find(key);
        const bool known = it != model.end() && !it->second.empty();
        if (known != (found >= 0)) std::abort();
        if (known && it->second.count(found) == 0) std::abort();
        break;
      }
      default: {
        const int32_t found = index.FindIndexEntry(key);
        const bool erased = index.EraseIndexEntry(key);
        auto it = model.find(key);
        const bool known = it != model.end() && !it->second.empty();
        if (erased != known) std::abort();
        if (erased) it->second.erase(it->second.find(found));
        break;
      }
    }
  }
  return 0;
}

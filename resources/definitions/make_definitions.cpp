// Writes the instrument definitions that ship beside the programs, with the
// program's own definition code. scripts/package runs it.
// Usage: qv_make_definitions FOLDER
#include <cstdio>
#include <string>

#include "librarian/shipped_definitions.h"

namespace {

// A refusal of the definition dialog's checks, printed instead of shown.
class PrintingReporter : public qv::Reporter {
 public:
  qv::BoxAnswer Show(std::string_view text, std::string_view caption, qv::BoxIcon,
                     qv::BoxButtons) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    return qv::BoxAnswer::No;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  PrintingReporter reporter;
  const std::vector<std::string> written = qv::WriteShippedDefinitions(argv[1], reporter);
  if (written.empty()) {
    std::fprintf(stderr, "%s: the definitions could not be written into %s\n", argv[0], argv[1]);
    return 1;
  }
  for (const std::string& path : written) std::printf("%s\n", path.c_str());
  return 0;
}

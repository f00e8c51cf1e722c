#include "librarian/out_of_memory.h"

#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

void WriteToErrorStream(const char* message) {
  std::fputs(message, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

FatalExitHandler fatalExitHandler = WriteToErrorStream;

}  // namespace

void SetFatalExitHandler(FatalExitHandler handler) {
  fatalExitHandler = handler != nullptr ? handler : WriteToErrorStream;
}

void EndOutOfMemory() {
  fatalExitHandler(kOutOfMemoryText);
  // A handler that comes back must not let the program go on short of memory.
  std::abort();
}

}  // namespace qv

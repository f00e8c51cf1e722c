// Writes the substitute winmm.dll's configuration of a simulated Korg M1
// (scripts/run --demo).
// Usage: qv_make_simulated_m1 FILE
#include <cstdio>

#include "tests/demo/simulated_m1.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const std::string script = qv::demo::SimulatedM1Script();
  const bool written = std::fwrite(script.data(), 1, script.size(), file) == script.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}

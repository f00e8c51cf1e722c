#pragma once
// A simulated Korg M1 for trying Quillon without the instrument, and for
// the tests that run the packaged programs: 100 distinct programs with
// names, and the script that makes the substitute winmm.dll answer each
// program request of the shipped M1 definition (a program change, then the
// request for the current program) with that program's 170-byte dump.
// Test and demo code only: it never ships.
#include <string>
#include <vector>

#include "editor/m1_program.h"

namespace qv::demo {

inline constexpr int kSimulatedPrograms = 100;
// The ports' name, as the port lists show it (at most 31 characters).
inline constexpr char kSimulatedPortName[] = "Simulated Korg M1";

// Program n's ten-character name, padded with spaces.
std::string SimulatedProgramName(int program);
// Program n: its name and sound settings that differ from program to program.
M1Program SimulatedProgram(int program);
// The substitute winmm.dll's configuration: one input and one output named
// kSimulatedPortName, answering every program request on channel.
std::string SimulatedM1Script(int channel = 1);

}  // namespace qv::demo

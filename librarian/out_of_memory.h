#pragma once
// When the program can no longer get the memory that a structure it cannot
// do without needs to grow (the index of the open bank), it ends with the
// system's fatal-application message "Out of memory.". The main program
// installs the handler that shows that message; without one the text goes
// to the error stream. Either way the process ends.
#include <new>
#include <stdexcept>
#include <string_view>

namespace qv {

inline constexpr char kOutOfMemoryText[] = "Out of memory.";
inline constexpr std::string_view kOutOfMemoryMessage = kOutOfMemoryText;

// Shows message and ends the process; must not return.
using FatalExitHandler = void (*)(const char* message);
void SetFatalExitHandler(FatalExitHandler handler);

[[noreturn]] void EndOutOfMemory();

// Runs grow; when it cannot get its memory (or asks for more than can ever
// be had), the program ends with "Out of memory.".
template <typename Grow>
void GrowOrEnd(Grow&& grow) {
  try {
    grow();
  } catch (const std::bad_alloc&) {
    EndOutOfMemory();
  } catch (const std::length_error&) {
    EndOutOfMemory();
  }
}

}  // namespace qv

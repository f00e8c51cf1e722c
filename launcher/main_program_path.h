#pragma once
// Where the main program lies and the command line it is started with.
#include <string>
#include <string_view>

namespace qv {

// Longest own file name the launcher works with.
inline constexpr size_t kMaxProgramPath = 512;

// The launcher's own file name with everything from its last backslash on
// replaced by "\Mirelda.dat". A name without a backslash gives the bare
// "Mirelda.dat", which the system looks for in the current folder.
std::string MainProgramPath(std::string_view ownPath);

// The main program's command line: its path, one blank, the tail. It ends
// in a blank when the tail is empty.
std::string MainProgramCommandLine(std::string_view programPath, std::string_view tail);
std::wstring MainProgramCommandLine(std::wstring_view programPath, std::wstring_view tail);

}  // namespace qv

#pragma once
// The launcher's own command line, split into its program name and the tail
// that is passed on to the main program.
#include <string>
#include <string_view>

namespace qv {

// The text after the program's own name and the blanks (spaces and tabs)
// that follow it. The name may be quoted, as the shell writes it when the
// path holds spaces; an unclosed quote takes the rest of the line as name.
std::string CommandTail(std::string_view commandLine);
// The same for the command line as the system holds it (wide), which is
// passed on to the main program unchanged.
std::wstring CommandTail(std::wstring_view commandLine);

}  // namespace qv

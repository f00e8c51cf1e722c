#pragma once
// Whether the librarian form of the tail names an instrument definition of
// a Korg M1, so that Ctrl may mark the editor.
#include <string>
#include <string_view>

namespace qv {

// The definition file the librarian form names, as the main program reads
// it: everything after the first space behind the switch's slash (a path,
// or a name in the current folder, which both programs share). Empty when
// there is no usable name (no file given, or one with wildcards, which is
// never a file).
std::string DefinitionSearchName(std::string_view tail);

// True when the file's long name has "K", "o", "M" and "1" as its 1st, 2nd,
// 6th and 7th characters, as in "Korg M1 ...". Shorter names never match.
bool IsM1DefinitionName(std::string_view longName);

}  // namespace qv

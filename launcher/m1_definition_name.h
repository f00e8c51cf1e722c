#pragma once
// Whether the librarian form of the tail names an instrument definition of
// a Korg M1, so that Ctrl may mark the editor.
#include <string>
#include <string_view>

namespace qv {

// The bare file name to look for in the current folder: the text after the
// tail's last backslash. A tail without a backslash names its file after the
// switch word and the space that ends it. Empty when there is no usable
// name (no file given, or a name with wildcards, which is never a file).
std::string DefinitionSearchName(std::string_view tail);

// True when the file's long name has "K", "o", "M" and "1" as its 1st, 2nd,
// 6th and 7th characters, as in "Korg M1 ...". Shorter names never match.
bool IsM1DefinitionName(std::string_view longName);

}  // namespace qv

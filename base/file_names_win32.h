#pragma once
// Wide names from the system turned into the program's file names (see
// base/file_names.h). Window layer only.
#include <string>
#include <string_view>

namespace qv {

// The name in the ANSI code page, each character the code page cannot hold
// exactly (no best-fit look-alikes) given as '?'.
std::string AnsiFileName(std::wstring_view wide);

// A path the system gives wide (the program's own, the temporary folder) as
// one of the program's file names: the path itself when the code page holds
// it, otherwise its short form when the system has one the code page holds
// (a folder "Ещё" may be "ED6A~1"), otherwise the path with '?' as above,
// which every open refuses by name.
std::string AnsiPath(const std::wstring& wide);

// A file name (or any text of the code page, zero bytes included) as the
// wide calls take it.
std::wstring WideFileName(std::string_view ansi);

}  // namespace qv

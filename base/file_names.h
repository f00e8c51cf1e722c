#pragma once
// File names: one rule for the whole program.
//
// A file name is text in the system's ANSI code page, everywhere: the
// folder listings below make their names in it, the C library's fopen and
// remove and the A calls of Windows open, create and delete by it, and the
// list boxes and the A file dialogs show and return it as it is.
//
// A name the code page cannot hold reaches the program (from a listing,
// the command line or a file dialog) with a '?' for every character the
// code page lacks, never with a look-alike letter. '?' and '*' are in no
// real file name, so such a name is shown as it came and refused with
// UnusableFileNameMessage: it is never opened, created or deleted, since it
// could name another file. The program's own folder and the temporary
// folder are the exception that must work: they are taken by their short
// names when the code page cannot hold their long ones (AnsiPath).
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The names of the files (not folders) in folder, in the order the file
// system gives them; empty when the folder cannot be listed.
std::vector<std::string> ListFolderFileNames(const std::string& folder);

// False for a name (or path) that holds '?' or '*'.
bool FileNameUsable(std::string_view name);

// Whether two names are one name to the file system: equal without regard
// to case, capitals of the code page's letters included.
bool SameFileName(std::string_view a, std::string_view b);

// Whether a file or folder of that name exists, by the rule the opens use.
bool FileExists(const std::string& path);

// Whether two paths name one file; when that cannot be told, whether the
// paths are equal.
bool SameFile(const std::string& a, const std::string& b);

// Puts the file `from` in the place of `to`, replacing a file of that name
// in one step; false when it cannot, and then both are as they were.
bool MoveFileOver(const std::string& from, const std::string& to);

inline constexpr char kUnusableFileNameCaption[] = "File name not usable";
// The message for a name that holds characters the code page lacks.
std::string UnusableFileNameMessage(std::string_view name);

}  // namespace qv

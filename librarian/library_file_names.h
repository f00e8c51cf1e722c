#pragma once
// Names and paths of the librarian's files in the program folder:
// definitions (<name>.QvInstrument) and banks (<name>.QvBank).
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr std::string_view kDefinitionExtension = ".QvInstrument";
inline constexpr std::string_view kBankExtension = ".QvBank";

// "<folder>\<name><extension>". Names and paths are ANSI names, as every
// file name of the program (base/file_names.h). The separator is the
// system's own: a backslash on Windows, a slash elsewhere (where the logic
// is tested).
std::string LibraryFilePath(std::string_view folder, std::string_view name,
                            std::string_view extension);

// The file's name without folder and without the part from its last "."
// on: "C:\Mirelda\A.B.QvInstrument" gives "A.B".
std::string NameFromFilePath(std::string_view path);

// Completes a name typed into the save dialogs: ".QvI" at the end becomes
// ".QvInstrument", ".QvB" becomes ".QvBank". Other names are unchanged.
std::string CompleteDefinitionFileName(std::string_view path);
std::string CompleteBankFileName(std::string_view path);

// The names (file names cut at their last ".") of the files in folder
// whose extension is the given one (compared without regard to case, as
// the system's wildcards do), in the order the file system returns them.
// Folders are not listed.
std::vector<std::string> ListLibraryFiles(std::string_view folder, std::string_view extension);

// The full paths of the same files, in the same order.
std::vector<std::string> ListLibraryFilePaths(std::string_view folder, std::string_view extension);

}  // namespace qv

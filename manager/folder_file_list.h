#pragma once
// The list of .syx files in the current folder (manager control 104) and,
// beside it, the name to open for each line: a bare name for lines made by
// listing the folder, a full path for the line added after a save. Names
// follow the program's one rule for file names (base/file_names.h).
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "manager/list_lines.h"

namespace qv {

// The line that shows a .syx file: "- " and the name stored in a file of the
// 1.0 layout, the bare file name (at most 100 characters) for the current
// layout, "* " and the file name for anything else, including files that
// cannot be read or are too short to hold a magic.
std::string FolderLineForFile(const std::string& path, const std::string& fileName);

// A path chosen in the open dialog, cut after its last backslash (or
// slash): the folder to list and the name to select there. A root folder
// keeps its backslash ("C:\"); a bare name gives an empty folder.
struct ChosenFile {
  std::string folder;
  std::string name;
};
ChosenFile SplitChosenPath(std::string_view path);

class FolderFileList {
 public:
  explicit FolderFileList(ListLines& lines) : lines_(lines) {}

  void ClearFileList();
  void AddFileEntry(std::string_view line, std::string_view name, bool select);
  // Lists the *.syx files of folder in the order the file system gives,
  // leaving out names that begin with "~"; selects the one whose name
  // equals selectName without regard to case.
  void ListSyxFiles(const std::string& folder, std::string_view selectName);
  // Asks, deletes the file and removes its line. False when nothing was
  // deleted (answer No, refused by the system, no such line, a name the
  // code page cannot hold).
  bool DeleteListedFile(int position, Reporter& reporter);

  int Count() const { return static_cast<int>(names_.size()); }
  const std::string& NameAt(int position) const { return names_.at(position); }
  // The name of a line resolved against the folder last listed.
  std::string PathAt(int position) const;
  // True when the line's file may be opened, sent or deleted; a name the
  // code page cannot hold (see base/file_names.h) is refused with its
  // message. False without a message for no such line.
  bool UsableAt(int position, Reporter& reporter) const;

 private:
  std::string PathOf(const std::string& name) const;

  ListLines& lines_;
  std::vector<std::string> names_;
  std::string folder_;
};

}  // namespace qv

#include "base/file_names.h"

#ifndef _WIN32
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace qv {

bool FileNameUsable(std::string_view name) { return name.find_first_of("?*") == std::string_view::npos; }

std::string UnusableFileNameMessage(std::string_view name) {
  return "The name of the file \"" + std::string(name) +
         "\" holds characters that this system's character set cannot show (each stands as a "
         "\"?\"), so the file cannot be opened, sent, deleted or written under it.\n\nRename the "
         "file in Windows, with letters of your own language, and try again.";
}

#ifndef _WIN32
// Elsewhere (where the logic is tested) case is told for ASCII letters.
bool SameFileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Elsewhere (where the logic is tested) names are the file system's own
// bytes; the Windows listing lives in file_names_win32.cpp.
std::vector<std::string> ListFolderFileNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return names;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    struct stat kind {};
    const std::string path = folder.empty() ? name : folder + "/" + name;
    if (stat(path.c_str(), &kind) != 0 || S_ISDIR(kind.st_mode)) continue;
    names.push_back(name);
  }
  closedir(listing);
  return names;
}

bool FileExists(const std::string& path) {
  struct stat kind {};
  return FileNameUsable(path) && stat(path.c_str(), &kind) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  return FileNameUsable(from) && FileNameUsable(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return a == b;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
#endif

}  // namespace qv

#include "librarian/library_file_names.h"

#include "base/file_names.h"

namespace qv {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string LibraryFilePath(std::string_view folder, std::string_view name,
                            std::string_view extension) {
  std::string path(folder);
  path += kSeparator;
  path += name;
  path += extension;
  return path;
}

std::string NameFromFilePath(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  std::string_view file = cut == std::string_view::npos ? path : path.substr(cut + 1);
  size_t dot = file.rfind('.');
  if (dot != std::string_view::npos) file = file.substr(0, dot);
  return std::string(file);
}

std::string CompleteDefinitionFileName(std::string_view path) {
  std::string result(path);
  if (EndsWith(path, ".QvI")) result += "nstrument";
  return result;
}

std::string CompleteBankFileName(std::string_view path) {
  std::string result(path);
  if (EndsWith(path, ".QvB")) result += "ank";
  return result;
}

std::vector<std::string> ListLibraryFilePaths(std::string_view folder, std::string_view extension) {
  std::vector<std::string> paths;
  for (const std::string& file : ListFolderFileNames(std::string(folder))) {
    if (file.size() <= extension.size()) continue;
    if (!SameLetters(std::string_view(file).substr(file.size() - extension.size()), extension)) {
      continue;
    }
    paths.push_back(LibraryFilePath(folder, file, ""));
  }
  return paths;
}

std::vector<std::string> ListLibraryFiles(std::string_view folder, std::string_view extension) {
  std::vector<std::string> names;
  for (const std::string& path : ListLibraryFilePaths(folder, extension)) {
    names.push_back(NameFromFilePath(path));
  }
  return names;
}

}  // namespace qv

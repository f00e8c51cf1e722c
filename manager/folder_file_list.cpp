#include "manager/folder_file_list.h"

#include <cstdint>
#include <cstdio>

#include "base/file_names.h"
#include "manager/disk_file.h"
#include "manager/syx_layout.h"

namespace qv {

namespace {

#if defined(_WIN32)
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool HasSyxExtension(std::string_view name) {
  return name.size() > 4 && EqualIgnoringCase(name.substr(name.size() - 4), ".syx");
}

bool IsBareName(std::string_view name) {
  return name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos &&
         name.find(':') == std::string_view::npos;
}

}  // namespace

std::string FolderLineForFile(const std::string& path, const std::string& fileName) {
  DiskFile file;
  std::uint8_t head[kMagicSize];
  std::size_t got = 0;
  // A name the code page cannot hold is shown as it came, never opened.
  if (FileNameUsable(path) && file.Open(path, "rb")) got = file.Read(head, sizeof head);
  switch (RecogniseSyxLayout(head, got)) {
    case SyxLayout::Kestrovallian10: {
      // The 1.0 layout shows the name stored in the file, up to 98 bytes.
      char name[98];
      std::size_t n = file.Read(name, sizeof name);
      std::size_t end = 0;
      while (end < n && name[end] != '\0') ++end;
      return "- " + std::string(name, end);
    }
    case SyxLayout::Kestrovallian:
      return fileName.substr(0, 100);
    case SyxLayout::Standard:
      break;
  }
  return "* " + fileName;
}

ChosenFile SplitChosenPath(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {std::string(), std::string(path)};
  // "C:\name" lies in the root "C:\", not in "C:" (that drive's current folder).
  const bool root = cut == 0 || (cut == 2 && path[1] == ':');
  return {std::string(path.substr(0, root ? cut + 1 : cut)), std::string(path.substr(cut + 1))};
}

void FolderFileList::ClearFileList() {
  names_.clear();
  lines_.Clear();
}

void FolderFileList::AddFileEntry(std::string_view line, std::string_view name, bool select) {
  names_.emplace_back(name);
  lines_.Add(line, select);
}

void FolderFileList::ListSyxFiles(const std::string& folder, std::string_view selectName) {
  ClearFileList();
  folder_ = folder;
  // The lines reach the list in one go (a list box that adds and draws
  // line by line takes seconds for a folder of thousands), the selected one
  // on its own so that the list selects it.
  std::vector<std::string> lines;
  int selected = -1;
  for (const std::string& name : ListFolderFileNames(folder)) {
    if (!HasSyxExtension(name) || name[0] == '~') continue;
    if (selected < 0 && SameFileName(name, selectName)) selected = static_cast<int>(lines.size());
    lines.push_back(FolderLineForFile(PathOf(name), name));
    names_.push_back(name);
  }
  if (selected < 0) {
    lines_.AddMany(lines);
    return;
  }
  const auto at = lines.begin() + selected;
  lines_.AddMany(std::vector<std::string>(lines.begin(), at));
  lines_.Add(*at, true);
  lines_.AddMany(std::vector<std::string>(at + 1, lines.end()));
}

bool FolderFileList::UsableAt(int position, Reporter& reporter) const {
  if (position < 0 || position >= Count()) return false;
  if (FileNameUsable(names_[static_cast<size_t>(position)])) return true;
  reporter.Show(UnusableFileNameMessage(names_[static_cast<size_t>(position)]),
                kUnusableFileNameCaption, BoxIcon::Exclamation, BoxButtons::Ok);
  return false;
}

std::string FolderFileList::PathAt(int position) const { return PathOf(names_.at(position)); }

std::string FolderFileList::PathOf(const std::string& name) const {
  if (!IsBareName(name) || folder_.empty()) return name;
  const char last = folder_.back();
  if (last == '/' || last == '\\') return folder_ + name;
  return folder_ + kSeparator + name;
}

bool FolderFileList::DeleteListedFile(int position, Reporter& reporter) {
  if (position < 0 || position >= Count() || position >= lines_.Count()) return false;
  if (!UsableAt(position, reporter)) return false;
  const std::string line = lines_.Line(position);
  const std::string& name = names_[position];
  std::string question;
  if (!line.empty() && (line[0] == '*' || line[0] == '-')) {
    question = "Are you sure you want to delete the file \"" + line + "\", underlying name \"" +
               name + "\"?";
  } else {
    question = "Are you sure you want to delete the file \"" + name + "\"?";
  }
  if (reporter.Show(question, "Confirm Delete", BoxIcon::Question, BoxButtons::YesNo) !=
      BoxAnswer::Yes) {
    return false;
  }
  if (std::remove(PathAt(position).c_str()) != 0) {
    reporter.Show("Delete attempt failed. Try closing Kestrovallian and using Windows to delete the file.",
                  "Error!", BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
  }
  lines_.Remove(position);
  names_.erase(names_.begin() + position);
  return true;
}

}  // namespace qv

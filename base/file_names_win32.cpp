// The Windows side of the file-name rule of base/file_names.h: listings
// read the wide names and turn them into ANSI names themselves, so that a
// character the code page lacks becomes '?' and never a look-alike letter
// (the A listing calls may substitute one, which could name another file).
#include <windows.h>

#include "base/file_names.h"
#include "base/file_names_win32.h"

namespace qv {
namespace {

// text in the code page when every character of wide is held exactly:
// converted without best fit and back to the same wide text.
bool ExactAnsi(std::wstring_view wide, std::string& text) {
  text.clear();
  if (wide.empty()) return true;
  const UINT codePage = GetACP();
  // The UTF-8 code page holds every character and takes no such flags.
  const bool utf8 = codePage == CP_UTF8;
  BOOL usedDefault = FALSE;
  const int length = static_cast<int>(wide.size());
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr,
                              utf8 ? nullptr : &usedDefault);
  if (n <= 0 || usedDefault) return false;
  text.resize(static_cast<size_t>(n));
  WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), n, nullptr, nullptr);
  int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), n, nullptr, 0);
  if (back != length) return false;
  std::wstring again(static_cast<size_t>(back), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), n, again.data(), back);
  return again == wide;
}

}  // namespace

std::string AnsiFileName(std::wstring_view wide) {
  std::string text;
  if (ExactAnsi(wide, text)) return text;
  // Character by character (a surrogate pair is one character).
  text.clear();
  for (size_t i = 0; i < wide.size();) {
    size_t units = 1;
    if (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1])) units = 2;
    std::string one;
    text += ExactAnsi(wide.substr(i, units), one) ? one : std::string("?");
    i += units;
  }
  return text;
}

std::string AnsiPath(const std::wstring& wide) {
  std::string text;
  if (ExactAnsi(wide, text)) return text;
  const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (needed > 0) {
    std::wstring shortPath(needed, L'\0');
    const DWORD n = GetShortPathNameW(wide.c_str(), shortPath.data(), needed);
    if (n > 0 && n < needed) {
      shortPath.resize(n);
      if (ExactAnsi(shortPath, text)) return text;
    }
  }
  return AnsiFileName(wide);
}

std::wstring WideFileName(std::string_view ansi) {
  std::wstring wide;
  const int length = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(static_cast<size_t>(n));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), n);
  return wide;
}

std::vector<std::string> ListFolderFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = WideFileName(folder.empty() ? std::string(".") : folder);
  if (pattern.empty()) return names;
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    names.push_back(AnsiFileName(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// The file system's own comparison: ordinal, without regard to case.
bool SameFileName(std::string_view a, std::string_view b) {
  const std::wstring first = WideFileName(a), second = WideFileName(b);
  return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                              static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

bool FileExists(const std::string& path) {
  return FileNameUsable(path) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  return FileNameUsable(from) && FileNameUsable(to) &&
         MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    if (!FileNameUsable(path)) return false;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  if (!identity(a, first) || !identity(b, second)) return a == b;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace qv

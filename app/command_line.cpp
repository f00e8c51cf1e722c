#include "app/command_line.h"

#include "base/file_names.h"
#include "librarian/bank_files.h"
#include "librarian/binary_file.h"
#include "librarian/little_endian.h"

namespace qv {

CommandLineRequest ParseCommandLine(std::string_view text) {
  CommandLineRequest request;
  size_t slash = text.find('/');
  if (slash == std::string_view::npos || slash + 1 >= text.size()) return request;
  switch (text[slash + 1]) {
    case 's': request.form = CommandLineForm::Send; break;
    case 'l': request.form = CommandLineForm::Instrument; break;
    case 'b': request.form = CommandLineForm::Bank; break;
    default: return request;
  }
  size_t space = text.find(' ', slash + 1);
  if (space != std::string_view::npos) request.path = std::string(text.substr(space + 1));
  return request;
}

std::string_view LastPathComponent(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

int32_t PositionOfFileName(const std::vector<std::string>& fileNames, std::string_view file) {
  for (size_t i = 0; i < fileNames.size(); ++i) {
    if (SameFileName(fileNames[i], file)) return static_cast<int32_t>(i);
  }
  return -1;
}

bool IsM1DefinitionName(std::string_view name) {
  return name.size() >= 7 && name[0] == 'K' && name[1] == 'o' && name[5] == 'M' && name[6] == '1';
}

uint32_t ReadBankProgramSize(const std::string& path) {
  if (path.empty()) return kUnreadableBankProgramSize;
  BinaryFile file;
  if (!file.Open(path, BinaryFile::Mode::Read)) return kUnreadableBankProgramSize;
  uint8_t bytes[4];
  if (file.ReadAt(0, bytes, sizeof bytes) != sizeof bytes) return kUnreadableBankProgramSize;
  return ReadUint32LE(bytes);
}

int32_t BankChooserPosition(const std::vector<std::string>& bankPaths, std::string_view bankFileName) {
  const std::string* named = nullptr;
  for (const std::string& path : bankPaths) {
    if (SameFileName(LastPathComponent(path), bankFileName)) {
      named = &path;
      break;
    }
  }
  if (named == nullptr) return -1;
  const int32_t programSize = ReadBankHeader(*named);
  int32_t position = 0;
  for (const std::string& path : bankPaths) {
    if (&path == named) return position;
    if (ReadBankHeader(path) == programSize) ++position;
  }
  return -1;
}

std::wstring_view CommandLineTail(std::wstring_view whole) {
  size_t at = 0;
  if (!whole.empty() && whole[0] == L'"') {
    const size_t close = whole.find(L'"', 1);
    at = close == std::wstring_view::npos ? whole.size() : close + 1;
  } else {
    while (at < whole.size() && whole[at] != L' ' && whole[at] != L'\t') ++at;
  }
  while (at < whole.size() && (whole[at] == L' ' || whole[at] == L'\t')) ++at;
  return whole.substr(at);
}

int32_t ChooseDefinitionForBank(int definitionCount,
                                const std::function<std::optional<int32_t>(int)>& programSizeAt,
                                uint32_t programSize, int32_t librarianInstrument) {
  int32_t chosen = -1;
  for (int n = 0; n < definitionCount; ++n) {
    std::optional<int32_t> size = programSizeAt(n);
    if (!size || static_cast<uint32_t>(*size) != programSize) continue;
    if (chosen == -1 || n == librarianInstrument) chosen = n;
  }
  return chosen;
}

}  // namespace qv

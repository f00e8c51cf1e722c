#include "librarian/definition_file.h"

#include <algorithm>

#include "librarian/binary_file.h"
#include "librarian/library_file_names.h"
#include "librarian/little_endian.h"

namespace qv {

namespace {

constexpr uint64_t kTailAt = kDefinitionRecordSize;
constexpr uint64_t kFirstLineAt = kTailAt + 4;

}  // namespace

DefinitionLoad ReadInstrumentDefinition(const std::string& path, InstrumentDefinition& definition,
                                        std::string& name) {
  BinaryFile file;
  if (!file.Open(path, BinaryFile::Mode::Read)) return DefinitionLoad::NotOpened;
  uint8_t record[kDefinitionRecordSize];
  EncodeInstrumentDefinition(definition, record);
  uint8_t read[kDefinitionRecordSize];
  size_t got = file.ReadAt(0, read, sizeof read);
  std::copy(read, read + got, record);
  file.Close();
  const InstrumentDefinition loaded = DecodeInstrumentDefinition(record);
  if (!HoldsAcceptedNumbers(loaded)) return DefinitionLoad::Damaged;
  definition = loaded;
  name = NameFromFilePath(path);
  return DefinitionLoad::Loaded;
}

bool LoadInstrumentDefinition(const std::string& path, InstrumentDefinition& definition,
                              std::string& name) {
  return ReadInstrumentDefinition(path, definition, name) == DefinitionLoad::Loaded;
}

std::string DamagedDefinitionText(const std::string& path) {
  return "The file \"" + path +
         "\" is damaged: it is not an instrument definition this program can use. Its channel "
         "must lie between 1 and 16, its program range between 0 and 2048 with the start not "
         "above the end, and its program size between 0 and 32000.";
}

bool LoadInstrumentDefinition(const std::string& path) {
  return LoadInstrumentDefinition(path, CurrentDefinition, CurrentDefinitionName);
}

FileWriteResult SaveInstrumentDefinition(const std::string& path,
                                         const InstrumentDefinition& definition,
                                         DefinitionWrite how) {
  BinaryFile file;
  BinaryFile::Mode mode = BinaryFile::Mode::ReadWrite;
  if (how == DefinitionWrite::CreateNew) {
    if (BinaryFile::Exists(path)) return FileWriteResult::AlreadyExists;
    mode = BinaryFile::Mode::CreateNew;
  } else if (how == DefinitionWrite::CreateReplace) {
    mode = BinaryFile::Mode::CreateReplace;
  }
  if (!file.Open(path, mode)) return FileWriteResult::OpenFailed;
  uint8_t record[kDefinitionRecordSize];
  EncodeInstrumentDefinition(definition, record);
  if (!file.WriteAt(0, record, sizeof record) || !file.Flush()) {
    return FileWriteResult::WriteFailed;
  }
  return FileWriteResult::Written;
}

bool LoadDeviceLines(const std::string& definitionPath, std::vector<std::string>& lines) {
  BinaryFile file;
  if (!file.Open(definitionPath, BinaryFile::Mode::Read)) return false;
  uint8_t countBytes[4];
  if (file.ReadAt(kTailAt, countBytes, 4) != 4) return false;
  int32_t count = ReadInt32LE(countBytes);
  // A negative count cannot come from a tail this program wrote.
  if (count < 0) return false;
  uint64_t size = file.Size();
  uint64_t held = size > kFirstLineAt ? (size - kFirstLineAt) / kDeviceLineSize : 0;
  uint64_t entries = std::min<uint64_t>(static_cast<uint64_t>(count), held);
  std::vector<uint8_t> tail(static_cast<size_t>(entries * kDeviceLineSize));
  size_t got = file.ReadAt(kFirstLineAt, tail.data(), tail.size());
  entries = got / kDeviceLineSize;
  lines.clear();
  lines.reserve(static_cast<size_t>(entries));
  for (uint64_t i = 0; i < entries; ++i) {
    const char* entry = reinterpret_cast<const char*>(tail.data() + i * kDeviceLineSize);
    size_t length = 0;
    while (length < kDeviceLineSize && entry[length] != '\0') ++length;
    lines.emplace_back(entry, length);
  }
  return true;
}

bool SaveDeviceLines(const std::string& definitionPath, const std::vector<std::string>& lines) {
  BinaryFile file;
  if (!file.Open(definitionPath, BinaryFile::Mode::ReadWrite)) return false;
  std::vector<uint8_t> tail(4 + lines.size() * kDeviceLineSize, 0);
  WriteInt32LE(tail.data(), static_cast<int32_t>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t length = std::min(lines[i].size(), kDeviceLineSize);
    std::copy(lines[i].begin(), lines[i].begin() + static_cast<std::ptrdiff_t>(length),
              tail.begin() + static_cast<std::ptrdiff_t>(4 + i * kDeviceLineSize));
  }
  return file.WriteAt(kTailAt, tail.data(), tail.size()) && file.Flush();
}

std::string CurrentDefinitionPath(const std::string& programFolder) {
  return LibraryFilePath(programFolder, CurrentDefinitionName, kDefinitionExtension);
}

}  // namespace qv

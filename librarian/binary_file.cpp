#include "librarian/binary_file.h"

#include <climits>

#include "base/file_names.h"

namespace qv {

bool BinaryFile::Open(const std::string& path, Mode mode) {
  Close();
  if (!FileNameUsable(path)) return false;
  const char* how = "rb";
  switch (mode) {
    case Mode::Read: how = "rb"; break;
    case Mode::ReadWrite: how = "r+b"; break;
    case Mode::CreateNew:
      if (Exists(path)) return false;
      how = "w+b";
      break;
    case Mode::CreateReplace: how = "w+b"; break;
  }
  file_ = std::fopen(path.c_str(), how);
  return file_ != nullptr;
}

void BinaryFile::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool BinaryFile::Seek(uint64_t offset) {
  if (file_ == nullptr || offset > static_cast<uint64_t>(LONG_MAX)) return false;
  return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

size_t BinaryFile::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (size == 0 || !Seek(offset)) return 0;
  return std::fread(buffer, 1, size, file_);
}

bool BinaryFile::WriteAt(uint64_t offset, const uint8_t* buffer, size_t size) {
  if (!Seek(offset)) return false;
  if (size == 0) return true;
  return std::fwrite(buffer, 1, size, file_) == size;
}

bool BinaryFile::Flush() {
  return file_ != nullptr && std::fflush(file_) == 0;
}

uint64_t BinaryFile::Size() {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return 0;
  long end = std::ftell(file_);
  return end < 0 ? 0 : static_cast<uint64_t>(end);
}

bool BinaryFile::Exists(const std::string& path) { return FileExists(path); }

}  // namespace qv

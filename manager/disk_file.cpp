#include "manager/disk_file.h"

#include <new>

#include "base/file_names.h"

namespace qv {

DiskFile& DiskFile::operator=(DiskFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = other.file_;
    buffer_ = std::move(other.buffer_);
    other.file_ = nullptr;
  }
  return *this;
}

bool DiskFile::Open(const std::string& path, const char* mode) {
  Close();
  if (!FileNameUsable(path)) return false;
  file_ = std::fopen(path.c_str(), mode);
  return file_ != nullptr;
}

bool DiskFile::Close() {
  if (file_ == nullptr) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  buffer_.reset();  // only after the file has let go of it
  return ok;
}

void DiskFile::UseBuffer(std::size_t bytes) {
  if (file_ == nullptr) return;
  if (bytes == 0) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_.reset();
    return;
  }
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[bytes]);
  if (!buffer || std::setvbuf(file_, buffer.get(), _IOFBF, bytes) != 0) return;
  buffer_ = std::move(buffer);
}

std::size_t DiskFile::Read(void* into, std::size_t count) {
  if (file_ == nullptr || count == 0) return 0;
  return std::fread(into, 1, count, file_);
}

bool DiskFile::Write(const void* from, std::size_t count) {
  if (file_ == nullptr) return false;
  if (count == 0) return true;
  return std::fwrite(from, 1, count, file_) == count;
}

bool DiskFile::Flush() { return file_ != nullptr && std::fflush(file_) == 0; }

bool DiskFile::Seek(std::uint64_t position) {
  if (file_ == nullptr) return false;
#if defined(_WIN32)
  return _fseeki64(file_, static_cast<__int64>(position), SEEK_SET) == 0;
#else
  return fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

}  // namespace qv

#pragma once
// A file opened with the C library, closed when it goes out of scope, with
// 64-bit positions and the little-endian number fields of the .syx layouts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace qv {

class DiskFile {
 public:
  DiskFile() = default;
  ~DiskFile() { Close(); }
  DiskFile(const DiskFile&) = delete;
  DiskFile& operator=(const DiskFile&) = delete;
  DiskFile(DiskFile&& other) noexcept : file_(other.file_), buffer_(std::move(other.buffer_)) {
    other.file_ = nullptr;
  }
  DiskFile& operator=(DiskFile&& other) noexcept;

  // mode as for fopen; always binary ("rb", "wb", "ab", "r+b").
  bool Open(const std::string& path, const char* mode);
  bool IsOpen() const { return file_ != nullptr; }
  // Closes the file; false when buffered bytes could not be written.
  bool Close();

  // Reads up to count bytes; returns how many came.
  std::size_t Read(void* into, std::size_t count);
  // Reads exactly count bytes; false when the file ends first.
  bool ReadExactly(void* into, std::size_t count) { return Read(into, count) == count; }
  bool Write(const void* from, std::size_t count);
  bool Flush();
  bool Seek(std::uint64_t position);
  // Gives the open file a buffer of `bytes` (before its first read or
  // write): files that stream megabytes go to the disk in fewer, larger
  // pieces. 0: no buffer, each read and write goes straight to the disk.
  void UseBuffer(std::size_t bytes);

 private:
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
};

inline std::int16_t GetLe16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
inline std::int32_t GetLe32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                   (static_cast<std::uint32_t>(p[1]) << 8) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 24));
}
inline void PutLe16(std::uint8_t* p, std::int16_t value) {
  const auto v = static_cast<std::uint16_t>(value);
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutLe32(std::uint8_t* p, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
  p[2] = static_cast<std::uint8_t>((v >> 16) & 0xFF);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace qv

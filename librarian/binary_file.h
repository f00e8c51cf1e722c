#pragma once
// A small positioned reader/writer for the librarian's binary files. Every
// read says how many bytes it really got; every write says whether all of
// its bytes were written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace qv {

class BinaryFile {
 public:
  enum class Mode {
    Read,            // existing file, read only
    ReadWrite,       // existing file, read and write, not truncated
    CreateNew,       // new file; fails when the file already exists
    CreateReplace,   // new file; an existing one is replaced (truncated)
  };

  BinaryFile() = default;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  ~BinaryFile() { Close(); }

  bool Open(const std::string& path, Mode mode);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();

  // Reads up to size bytes at offset; returns the number of bytes read.
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size);
  // Writes size bytes at offset; true only when all were written.
  bool WriteAt(uint64_t offset, const uint8_t* buffer, size_t size);
  // Pushes written bytes to the system; true when that succeeded.
  bool Flush();
  // The file's length in bytes, or 0 when it cannot be told.
  uint64_t Size();

  // By the rule the opens use (base/file_names.h).
  static bool Exists(const std::string& path);

 private:
  bool Seek(uint64_t offset);

  std::FILE* file_ = nullptr;
};

}  // namespace qv

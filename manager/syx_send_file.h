#pragma once
// A .syx file opened for sending, read block by block as the blocks fall due.
// A file in a Kestrovallian layout gives one block per message, from its
// length table; any other file is standard and gives one block holding the
// whole file. The file is checked when it is opened: a file that cannot be
// read, that holds no messages, or whose length table does not fit its data
// is refused before anything is sent.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// Blocks are read from the file in pieces of at most this many bytes.
inline constexpr std::size_t kSendReadPiece = 64000;

// UnusableName: a name the code page cannot hold (base/file_names.h).
enum class SyxSendOpenError { None, CannotOpen, NoMessages, Damaged, TooLarge, UnusableName };

class SyxSendFile {
 public:
  SyxSendFile() = default;
  SyxSendFile(SyxSendFile&&) = default;
  SyxSendFile& operator=(SyxSendFile&&) = default;

  // Opens and checks `path`. On failure `error` says why and the result
  // holds nothing.
  static SyxSendFile Open(const std::string& path, SyxSendOpenError& error);

  bool IsOpen() const { return file_ != nullptr; }
  bool Kestrovallian() const { return kestrovallian_; }
  // The number of blocks that will be sent.
  std::size_t BlockCount() const { return lengths_.size(); }
  std::size_t NextIndex() const { return next_; }
  bool HasNextBlock() const { return next_ < lengths_.size(); }
  std::uint32_t BlockLength(std::size_t index) const { return lengths_[index]; }

  // Reads the next block into `out` (replacing what it held) and moves on.
  // False when the file no longer holds the bytes it promised, or memory
  // runs out.
  bool ReadNextBlock(std::vector<std::uint8_t>& out);

  void Close();

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool kestrovallian_ = false;
  // The lengths of the blocks to send; messages of length 0 are left out.
  std::vector<std::uint32_t> lengths_;
  std::size_t next_ = 0;
};

}  // namespace qv

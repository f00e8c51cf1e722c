#include "manager/syx_send_file.h"

#include "base/file_names.h"
#include "manager/syx_layout.h"

#include <limits>
#include <new>

namespace qv {
namespace {

constexpr std::size_t kMagicLength = kMagicSize;
constexpr std::size_t kNameLength = kNameFieldSize;

bool HasKestrovallianMagic(const std::uint8_t* first, std::size_t got) {
  return RecogniseSyxLayout(first, got) != SyxLayout::Standard;
}

bool ReadExactly(std::FILE* f, std::uint8_t* into, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    std::size_t piece = length - done;
    if (piece > kSendReadPiece) piece = kSendReadPiece;
    std::size_t got = std::fread(into + done, 1, piece, f);
    done += got;
    if (got < piece) break;
  }
  return done == length;
}

std::int16_t Int16At(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0]) |
                                   static_cast<std::uint16_t>(p[1]) << 8);
}

std::int32_t Int32At(const std::uint8_t* p) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
      static_cast<std::uint32_t>(p[2]) << 16 |
      static_cast<std::uint32_t>(p[3]) << 24);
}

// The size of the open file, or -1 when it cannot be told.
long long FileSize(std::FILE* f) {
  long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(f);
  if (std::fseek(f, here, SEEK_SET) != 0) return -1;
  return size;
}

}  // namespace

SyxSendFile SyxSendFile::Open(const std::string& path, SyxSendOpenError& error) {
  error = SyxSendOpenError::None;
  SyxSendFile result;
  if (!FileNameUsable(path)) {
    error = SyxSendOpenError::UnusableName;
    return {};
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = SyxSendOpenError::CannotOpen;
    return {};
  }
  const long long size = FileSize(file.get());
  if (size < 0) {
    error = SyxSendOpenError::CannotOpen;
    return {};
  }
  std::uint8_t first[kMagicLength];
  std::size_t got = std::fread(first, 1, kMagicLength, file.get());

  if (!HasKestrovallianMagic(first, got)) {
    // Standard layout: the whole file is one block.
    if (size == 0) {
      error = SyxSendOpenError::NoMessages;
      return {};
    }
    if (static_cast<unsigned long long>(size) >
        std::numeric_limits<std::uint32_t>::max()) {
      error = SyxSendOpenError::TooLarge;
      return {};
    }
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) {
      error = SyxSendOpenError::CannotOpen;
      return {};
    }
    result.lengths_.push_back(static_cast<std::uint32_t>(size));
    result.file_ = std::move(file);
    return result;
  }

  // Kestrovallian layouts: name, count, length table, messages.
  std::uint8_t name_and_count[kNameLength + 2];
  if (!ReadExactly(file.get(), name_and_count, sizeof name_and_count)) {
    error = SyxSendOpenError::Damaged;
    return {};
  }
  const int count = Int16At(name_and_count + kNameLength);
  if (count < 1) {
    error = SyxSendOpenError::NoMessages;
    return {};
  }
  const long long header = static_cast<long long>(kLengthTableOffset) +
                           4LL * count;
  if (header > size) {
    error = SyxSendOpenError::Damaged;
    return {};
  }
  std::vector<std::uint8_t> table(4 * static_cast<std::size_t>(count));
  if (!ReadExactly(file.get(), table.data(), table.size())) {
    error = SyxSendOpenError::Damaged;
    return {};
  }
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    std::int32_t length = Int32At(table.data() + 4 * i);
    if (length < 0) {
      error = SyxSendOpenError::Damaged;
      return {};
    }
    total += length;
    if (length > 0) result.lengths_.push_back(static_cast<std::uint32_t>(length));
  }
  if (header + total > size) {
    error = SyxSendOpenError::Damaged;
    return {};
  }
  if (result.lengths_.empty()) {
    error = SyxSendOpenError::NoMessages;
    return {};
  }
  result.kestrovallian_ = true;
  result.file_ = std::move(file);
  return result;
}

bool SyxSendFile::ReadNextBlock(std::vector<std::uint8_t>& out) {
  if (!file_ || !HasNextBlock()) return false;
  const std::uint32_t length = lengths_[next_];
  ++next_;
  try {
    out.resize(length);
  } catch (const std::bad_alloc&) {
    out.clear();
    return false;
  }
  return ReadExactly(file_.get(), out.data(), length);
}

void SyxSendFile::Close() {
  file_.reset();
  lengths_.clear();
  next_ = 0;
  kestrovallian_ = false;
}

}  // namespace qv

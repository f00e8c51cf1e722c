#include "manager/syx_save.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "base/file_names.h"
#include "manager/disk_file.h"
#include "manager/syx_layout.h"

namespace qv {

namespace {

// The bytes go from the store's files to the target in blocks of this size,
// straight between the disk and the block (the files are unbuffered): the
// block size is not seen in the file.
constexpr std::size_t kSaveBlock = 1024 * 1024;
constexpr std::size_t kTitleBufferSize = 256;

void ReportSaveFailure(Reporter& reporter, const std::string& text) {
  reporter.Show(text, "SP/Error", BoxIcon::Exclamation, BoxButtons::Ok);
}

// Copies exactly count bytes from one file to the other in blocks.
enum class CopyResult { Done, ReadShort, WriteFailed };
CopyResult CopyBytes(DiskFile& from, DiskFile& to, std::uint64_t count, std::uint8_t* block) {
  while (count > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, kSaveBlock));
    if (!from.ReadExactly(block, want)) return CopyResult::ReadShort;
    if (!to.Write(block, want)) return CopyResult::WriteFailed;
    count -= want;
  }
  return CopyResult::Done;
}

}  // namespace

std::array<std::uint8_t, 100> NameFieldFromTitle(std::string_view title) {
  std::uint8_t buffer[kTitleBufferSize];
  std::memset(buffer, 0xCD, sizeof buffer);
  const std::size_t length = std::min(title.size(), kTitleBufferSize - 1);
  std::memcpy(buffer, title.data(), length);
  buffer[length] = 0;
  if (length >= 4 && buffer[length - 4] == '.') buffer[length - 4] = 0;
  std::array<std::uint8_t, 100> field;
  std::memcpy(field.data(), buffer, field.size());
  return field;
}

std::string SavedFileLine(SaveFilter filter, std::string_view title) {
  switch (filter) {
    case SaveFilter::Standard: return "* " + std::string(title);
    case SaveFilter::Kestrovallian10: return "- " + std::string(title);
    case SaveFilter::Kestrovallian: break;
  }
  return std::string(title);
}

bool WriteStoreToFile(MessageStore& store, const std::string& targetPath, std::string_view title,
                      SaveFilter filter) {
  Reporter& reporter = store.GetReporter();
  const std::string notSaved = "\n\nThe messages have not been saved; they are still in memory.";

  std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[kSaveBlock]);
  if (!block) {
    reporter.Show("Memory allocation error.", "SP/Error", BoxIcon::None, BoxButtons::Ok);
    return false;
  }
  DiskFile data;
  DiskFile lengths;
  if (!store.Flush() || !data.Open(store.DataPath(), "rb") ||
      !lengths.Open(store.LengthPath(), "rb")) {
    ReportSaveFailure(reporter, "Couldn't read the messages in memory from their temporary files." +
                                    notSaved);
    return false;
  }
  // The bytes go to a new file beside the target, which takes the target's
  // place only once it is whole: a save that fails (a full disk) leaves the
  // file it was to replace as it was. Where that file cannot be made (a path
  // at the system's length limit), the target itself is written.
  const std::string partPath = targetPath + kSavePartSuffix;
  std::string writing = partPath;
  DiskFile target;
  if (!target.Open(partPath, "wb")) {
    writing = targetPath;
    if (!target.Open(targetPath, "wb")) {
      ReportSaveFailure(reporter, "Couldn't create the file \"" + targetPath + "\"." + notSaved);
      return false;
    }
  }
  data.UseBuffer(0);
  lengths.UseBuffer(0);
  target.UseBuffer(0);

  bool written = true;
  CopyResult copied = CopyResult::Done;
  if (filter != SaveFilter::Standard) {
    const char* magic = filter == SaveFilter::Kestrovallian ? kMagicCurrent : kMagic10;
    const auto name = NameFieldFromTitle(title);
    std::uint8_t count[2];
    PutLe16(count, static_cast<std::int16_t>(store.MessageCount()));
    written = target.Write(magic, kMagicSize) && target.Write(name.data(), name.size()) &&
              target.Write(count, sizeof count);
    // The length table is copied whole, however many messages there are.
    if (written) {
      copied = CopyBytes(lengths, target, 4u * static_cast<std::uint64_t>(store.MessageCount()),
                         block.get());
    }
  }
  if (written && copied == CopyResult::Done) {
    copied = CopyBytes(data, target, store.StoredBytes(), block.get());
  }
  if (copied == CopyResult::WriteFailed) written = false;
  if (!target.Close()) written = false;

  if (written && copied == CopyResult::Done) {
    if (writing == targetPath || MoveFileOver(partPath, targetPath)) return true;
    // The target is held by another program, say: it stays as it was.
    std::remove(partPath.c_str());
    ReportSaveFailure(reporter, "Couldn't create the file \"" + targetPath + "\"." + notSaved);
    return false;
  }
  std::remove(writing.c_str());
  if (copied == CopyResult::ReadShort) {
    ReportSaveFailure(reporter, "Couldn't read the messages in memory back from their temporary "
                                "files; the file \"" + targetPath + "\" would be incomplete." +
                                    notSaved);
  } else {
    ReportSaveFailure(reporter, "Couldn't write the file \"" + targetPath +
                                    "\" (the disk may be full)." + notSaved);
  }
  return false;
}

}  // namespace qv

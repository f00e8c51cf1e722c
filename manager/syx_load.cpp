#include "manager/syx_load.h"

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "manager/disk_file.h"
#include "manager/manufacturer.h"
#include "manager/syx_layout.h"

namespace qv {

namespace {

constexpr std::size_t kLoadBlock = 64000;
// The file is read from the disk in pieces of this size.
constexpr std::size_t kStreamBuffer = 256 * 1024;

const char kOversizeText[] =
    "Out of memory for single sysex message! This program can only handle messages under "
    "512Kb in size. \n\n"
    "Please report this problem to Brindlecote (quillon@brindlecote.example), "
    "along with details of which device or instrument was responsible for sending this "
    "message. \n\n"
    "(Things aren't going to work since the message was cut short.)";

void ReportDamaged(Reporter& reporter, const std::string& path, const std::string& detail) {
  reporter.Show("The file \"" + path + "\" is damaged: " + detail, "Damaged file",
                BoxIcon::Exclamation, BoxButtons::Ok);
}

LoadResult LoadStandard(DiskFile& file, const std::uint8_t* head, std::size_t headCount,
                        MessageStore& store) {
  Reporter& reporter = store.GetReporter();
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kStandardBufferSize]);
  if (!buffer) {
    reporter.Show("Memory allocation error.", "Error", BoxIcon::None, BoxButtons::Ok);
    return LoadResult::NotOpened;
  }
  std::size_t total = headCount;
  for (std::size_t i = 0; i < headCount; ++i) buffer[i] = head[i];
  if (headCount == kMagicSize) {
    while (true) {
      const std::size_t got = file.Read(buffer.get() + total, kLoadBlock);
      total += got;
      if (got < kLoadBlock || total >= kStandardWarnAt) break;
    }
  }
  LoadResult result = LoadResult::Loaded;
  if (total >= kStandardWarnAt) {
    reporter.Show(kOversizeText, "Oops...", BoxIcon::Exclamation, BoxButtons::Ok);
    result = LoadResult::Warned;
  }
  if (store.AppendStoreData(buffer.get(), total)) {
    store.CommitStoredMessage(static_cast<std::int64_t>(total),
                              FindManufacturerId(buffer.get(), total), MessageForm::Received);
  } else {
    store.DiscardPendingMessage();
  }
  return result;
}

LoadResult LoadKestrovallian(DiskFile& file, const std::string& path, MessageStore& store) {
  Reporter& reporter = store.GetReporter();
  std::uint8_t field[kNameFieldSize];
  if (!file.ReadExactly(field, kNameFieldSize) || !file.ReadExactly(field, 2)) {
    ReportDamaged(reporter, path, "it ends before its message count. Nothing has been opened.");
    return LoadResult::Damaged;
  }
  const int announced = GetLe16(field);
  if (announced < 0) {
    ReportDamaged(reporter, path, "its message count is negative (" + std::to_string(announced) +
                                      "). Nothing has been opened.");
    return LoadResult::Damaged;
  }
  // At most 32,767 lengths: 128 KB at worst.
  std::vector<std::int32_t> lengths;
  lengths.reserve(static_cast<std::size_t>(announced));
  bool damaged = false;
  for (int i = 0; i < announced; ++i) {
    if (!file.ReadExactly(field, 4)) {
      damaged = true;
      break;
    }
    const std::int32_t length = GetLe32(field);
    if (length < 0) {
      damaged = true;
      break;
    }
    lengths.push_back(length);
  }

  std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[kLoadBlock]);
  if (!block) {
    reporter.Show("Memory allocation error.", "Error", BoxIcon::None, BoxButtons::Ok);
    return LoadResult::NotOpened;
  }
  // The data begins after the whole table, even where reading it stopped.
  if (!file.Seek(kLengthTableOffset + 4u * static_cast<std::uint64_t>(announced))) damaged = true;
  int complete = 0;
  bool cutShort = false;
  for (std::int32_t length : lengths) {
    if (cutShort) break;
    std::size_t left = static_cast<std::size_t>(length);
    std::uint8_t id = 0;
    bool first = true;
    bool kept = true;
    while (left > 0) {
      const std::size_t want = left < kLoadBlock ? left : kLoadBlock;
      const std::size_t got = file.Read(block.get(), want);
      if (got < want) {
        cutShort = true;
        break;
      }
      if (first) id = FindManufacturerId(block.get(), got);
      first = false;
      kept = store.AppendStoreData(block.get(), got) && kept;
      left -= got;
    }
    if (cutShort) {
      store.DiscardPendingMessage();
      break;
    }
    if (!kept || !store.CommitStoredMessage(length, id, MessageForm::Received)) {
      // The store has said why (full, or its file can't be written).
      store.DiscardPendingMessage();
      return LoadResult::Loaded;
    }
    ++complete;
  }
  if (damaged || cutShort) {
    ReportDamaged(reporter, path,
                  "it announces " + std::to_string(announced) + " messages, but only " +
                      std::to_string(complete) +
                      " of them are complete. The complete messages have been opened.");
    return LoadResult::Damaged;
  }
  return LoadResult::Loaded;
}

}  // namespace

LoadResult LoadSyxFile(const std::string& path, MessageStore& store) {
  // The file's lines reach the list together, after its last message.
  ListingHold hold(store);
  DiskFile file;
  if (!file.Open(path, "rb")) {
    store.GetReporter().Show("Couldn't open the file \"" + path + "\".", "Error",
                             BoxIcon::Exclamation, BoxButtons::Ok);
    return LoadResult::NotOpened;
  }
  file.UseBuffer(kStreamBuffer);
  std::uint8_t head[kMagicSize];
  const std::size_t got = file.Read(head, sizeof head);
  const LoadResult result = RecogniseSyxLayout(head, got) == SyxLayout::Standard
                                ? LoadStandard(file, head, got, store)
                                : LoadKestrovallian(file, path, store);
  // What is listed is on disk, as with received messages.
  store.Flush();
  return result;
}

}  // namespace qv

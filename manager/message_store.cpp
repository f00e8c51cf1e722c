#include "manager/message_store.h"

#include <cinttypes>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "manager/manufacturer.h"

namespace qv {

namespace {

constexpr std::uint64_t kLongestMessage = std::numeric_limits<std::int32_t>::max();
// The data file streams whole messages: it is written in pieces of this size.
constexpr std::size_t kDataBuffer = 256 * 1024;

// Puts the write position back. When the stream still holds bytes it could
// not write, seeking fails; the file is then opened afresh, which drops them.
bool MoveWritePosition(DiskFile& file, const std::string& path, std::uint64_t position) {
  if (!file.IsOpen()) return false;
  if (file.Seek(position)) return true;
  file.Close();
  return file.Open(path, "r+b") && file.Seek(position);
}

}  // namespace

MessageStore::MessageStore(std::string dataPath, std::string lengthPath, Reporter& reporter)
    : dataPath_(std::move(dataPath)), lengthPath_(std::move(lengthPath)), reporter_(reporter) {}

MessageStore::~MessageStore() { CloseStoreFiles(); }

bool MessageStore::ResetStore() {
  CloseStoreFiles();
  ++generation_;
  count_ = 0;
  committedBytes_ = 0;
  pendingBytes_ = 0;
  pendingFailed_ = false;
  failureReported_ = false;
  fullReported_ = false;
  unlisted_.clear();
  listingHeld_ = false;
  const bool dataOk = data_.Open(dataPath_, "wb");
  data_.UseBuffer(kDataBuffer);
  const bool lengthsOk = lengths_.Open(lengthPath_, "wb");
  if (dataOk && lengthsOk) return true;
  CloseStoreFiles();
  failureReported_ = true;
  std::string text = "Couldn't create the temporary file \"" + (dataOk ? lengthPath_ : dataPath_) +
                     "\" that holds the messages in memory.\n\nReceived and opened messages can't "
                     "be kept until this is put right: check that the temporary folder exists "
                     "and that its disk has room.";
  reporter_.Show(text, "Error", BoxIcon::Exclamation, BoxButtons::Ok);
  return false;
}

void MessageStore::CloseStoreFiles() {
  data_.Close();
  lengths_.Close();
}

bool MessageStore::ReopenStoreFiles() {
  CloseStoreFiles();
  ++generation_;
  pendingBytes_ = 0;
  pendingFailed_ = false;
  // The files may have been rewritten while they were closed: count again.
  DiskFile table;
  int count = 0;
  std::uint64_t bytes = 0;
  bool ok = table.Open(lengthPath_, "rb");
  if (ok) {
    std::uint8_t field[4];
    while (table.ReadExactly(field, sizeof field)) {
      std::int32_t length = GetLe32(field);
      if (length < 0 || count >= kMaxMessages) {
        ok = false;
        break;
      }
      bytes += static_cast<std::uint64_t>(length);
      ++count;
    }
    table.Close();
  }
  ok = ok && data_.Open(dataPath_, "r+b") && (data_.UseBuffer(kDataBuffer), true) &&
       lengths_.Open(lengthPath_, "r+b") &&
       data_.Seek(bytes) && lengths_.Seek(4u * static_cast<std::uint64_t>(count));
  if (!ok) {
    CloseStoreFiles();
    count_ = 0;
    committedBytes_ = 0;
    failureReported_ = true;
    reporter_.Show("Couldn't open the temporary files that hold the messages in memory again.\n\n"
                   "Received and opened messages can't be kept until the store is cleared.",
                   "Error", BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
  }
  count_ = count;
  committedBytes_ = bytes;
  return true;
}

bool MessageStore::AppendStoreData(const std::uint8_t* bytes, std::size_t count) {
  if (pendingFailed_) return false;
  if (IsFull()) {
    pendingFailed_ = true;
    ReportFull();
    return false;
  }
  if (pendingBytes_ + count > kLongestMessage) {
    pendingFailed_ = true;
    RollBack();
    reporter_.Show("A message longer than 2,147,483,647 bytes can't be kept; it has been dropped.",
                   "Error", BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
  }
  if (!data_.Write(bytes, count)) {
    pendingFailed_ = true;
    ReportWriteFailure(dataPath_);
    return false;
  }
  pendingBytes_ += count;
  return true;
}

bool MessageStore::CommitStoredMessage(std::int64_t length, std::uint8_t id, MessageForm form) {
  (void)length;  // the bytes really appended are what the length file must say
  if (pendingFailed_) {
    RollBack();
    return false;
  }
  if (IsFull()) {
    ReportFull();
    RollBack();
    return false;
  }
  std::uint8_t field[4];
  PutLe32(field, static_cast<std::int32_t>(pendingBytes_));
  if (!lengths_.Write(field, sizeof field)) {
    ReportWriteFailure(lengthPath_);
    RollBack();
    MoveWritePosition(lengths_, lengthPath_, 4u * static_cast<std::uint64_t>(count_));
    return false;
  }
  const std::int64_t stored = static_cast<std::int64_t>(pendingBytes_);
  committedBytes_ += pendingBytes_;
  pendingBytes_ = 0;
  ++count_;
  failureReported_ = false;
  if (listingHeld_) {
    unlisted_.push_back(ListLine(stored, id, form));
  } else if (lines_ != nullptr) {
    lines_->Add(ListLine(stored, id, form), false);
  }
  return true;
}

void MessageStore::ListHeldLines() {
  listingHeld_ = false;
  if (unlisted_.empty()) return;
  if (lines_ != nullptr) lines_->AddMany(unlisted_);
  unlisted_.clear();
}

void MessageStore::DiscardPendingMessage() { RollBack(); }

void MessageStore::RollBack() {
  if (pendingBytes_ > 0 || pendingFailed_) MoveWritePosition(data_, dataPath_, committedBytes_);
  pendingBytes_ = 0;
  pendingFailed_ = false;
}

bool MessageStore::Flush() {
  bool ok = data_.Flush() && lengths_.Flush();
  if (!ok && !failureReported_) {
    failureReported_ = true;
    reporter_.Show("Couldn't write the messages in memory to their temporary files (the disk may "
                   "be full). Some of them may be incomplete.",
                   "Error", BoxIcon::Exclamation, BoxButtons::Ok);
  }
  return ok;
}

void MessageStore::ReportWriteFailure(const std::string& path) {
  if (failureReported_) return;
  failureReported_ = true;  // before the box: notices keep arriving meanwhile
  std::string text = "Couldn't write to the temporary file \"" + path +
                     "\" (the disk may be full).\n\nThe message now arriving has not been kept, "
                     "nor will later ones be until writing works again.";
  reporter_.Show(text, "Error", BoxIcon::Exclamation, BoxButtons::Ok);
}

void MessageStore::ReportFull() {
  if (fullReported_) return;
  fullReported_ = true;
  reporter_.Show("The memory list is full: it holds 32767 messages, the most a .syx file can "
                 "hold.\n\nFurther messages are not kept. Save the messages and clear the list "
                 "to receive more.",
                 "Error", BoxIcon::Exclamation, BoxButtons::Ok);
}

std::string MessageStore::ListLine(std::int64_t length, std::uint8_t id, MessageForm form) {
  char number[32];
  std::snprintf(number, sizeof number, "%" PRId64, length);
  return std::string(number) + (form == MessageForm::User ? " user [" : " bytes [") +
         ManufacturerName(id) + "]";
}

}  // namespace qv

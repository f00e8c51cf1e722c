#pragma once
// The manager's messages, kept on disk in two temporary files: the bytes of
// all messages one after the other, and one 32-bit length per message. A
// message enters by one or more AppendStoreData calls and one
// CommitStoredMessage; nothing of it stays in memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/reporter.h"
#include "manager/disk_file.h"
#include "manager/list_lines.h"

namespace qv {

enum class MessageForm { Received, User };

class MessageStore {
 public:
  // The .syx layouts store the count in a signed 16-bit field.
  static constexpr int kMaxMessages = 32767;

  MessageStore(std::string dataPath, std::string lengthPath, Reporter& reporter);
  ~MessageStore();
  MessageStore(const MessageStore&) = delete;
  MessageStore& operator=(const MessageStore&) = delete;

  // The list control that shows one line per message (may be none).
  void AttachList(ListLines* lines) { lines_ = lines; }

  // Creates both files anew, empty and open for writing; count 0.
  // Reports and returns false when they cannot be created.
  bool ResetStore();
  // Closes both files (the contents stay).
  void CloseStoreFiles();
  // Opens both files again for writing at their ends, after CloseStoreFiles.
  bool ReopenStoreFiles();

  // Writes bytes at the end of the data file as part of the message now
  // being stored. False when they were not kept (reported).
  bool AppendStoreData(const std::uint8_t* bytes, std::size_t count);
  // Ends the message now being stored: writes its length, adds its list
  // line, counts it. The length written is that of the bytes appended, which
  // callers keep equal to `length`. False when the message was not kept.
  bool CommitStoredMessage(std::int64_t length, std::uint8_t id, MessageForm form);
  // Forgets the bytes appended since the last commit.
  void DiscardPendingMessage();

  // While the listing is held, the lines of committed messages wait here
  // instead of going to the list one by one; ListHeldLines adds them in one
  // go and ends the hold. A reset drops the waiting lines with the messages
  // and ends the hold.
  void HoldListing() { listingHeld_ = true; }
  bool ListingHeld() const { return listingHeld_; }
  void ListHeldLines();
  int UnlistedCount() const { return static_cast<int>(unlisted_.size()); }

  int MessageCount() const { return count_; }
  // Bytes of all committed messages (the sum of their lengths).
  std::uint64_t StoredBytes() const { return committedBytes_; }
  // Bytes appended to the message now being stored.
  std::uint64_t PendingBytes() const { return pendingBytes_; }
  bool IsFull() const { return count_ >= kMaxMessages; }
  // Changes whenever the files are created or opened anew, so a receiver
  // can tell that the message it was assembling is gone.
  std::uint64_t Generation() const { return generation_; }

  // Writes out what the C library still buffers, so the files can be read.
  bool Flush();

  const std::string& DataPath() const { return dataPath_; }
  const std::string& LengthPath() const { return lengthPath_; }
  Reporter& GetReporter() { return reporter_; }

  // "%li bytes [%s]" or "%li user [%s]".
  static std::string ListLine(std::int64_t length, std::uint8_t id, MessageForm form);

 private:
  void ReportWriteFailure(const std::string& path);
  void ReportFull();
  void RollBack();

  std::string dataPath_;
  std::string lengthPath_;
  Reporter& reporter_;
  ListLines* lines_ = nullptr;
  bool listingHeld_ = false;
  std::vector<std::string> unlisted_;  // lines of messages committed while held
  DiskFile data_;
  DiskFile lengths_;
  int count_ = 0;
  std::uint64_t generation_ = 0;
  std::uint64_t committedBytes_ = 0;
  std::uint64_t pendingBytes_ = 0;
  bool pendingFailed_ = false;   // the message now being stored is lost
  bool failureReported_ = false; // one box for a run of lost messages
  bool fullReported_ = false;
};

// Holds the store's listing for as long as it lives (a whole file opened at
// once), unless it was held already; then the lines go to the list together.
class ListingHold {
 public:
  explicit ListingHold(MessageStore& store) : store_(store), mine_(!store.ListingHeld()) {
    store_.HoldListing();
  }
  ~ListingHold() {
    if (mine_) store_.ListHeldLines();
  }
  ListingHold(const ListingHold&) = delete;
  ListingHold& operator=(const ListingHold&) = delete;

 private:
  MessageStore& store_;
  bool mine_;
};

}  // namespace qv

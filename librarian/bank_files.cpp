#include "librarian/bank_files.h"

#include <algorithm>
#include <cstring>

#include "base/file_names.h"
#include "librarian/binary_file.h"
#include "librarian/instrument_definition.h"
#include "librarian/library_file_names.h"
#include "librarian/little_endian.h"

namespace qv {

namespace {

constexpr std::string_view kOverwriteQuestion =
    "The filename you've chosen seems to be in use. Do you want to overwrite the existing file?";
constexpr std::string_view kOverwriteCaption = "Are you sure...";
constexpr std::string_view kCreateFailedMessage =
    "Couldn't update the instrument file! If the program is running from a CD-ROM or floppy "
    "disk, quit, copy all program files onto a folder of your hard disk, and then try again.";
constexpr std::string_view kCreateFailedCaption = "File create failed";
constexpr std::string_view kFullMessage =
    "You can store a maximum of 32,000 programs in one file. If you need more, start another "
    "file.";
constexpr std::string_view kFullCaption = "File full!";

using SlotMap = std::vector<uint8_t>;

// The slot map of an open bank; bytes the file does not have count as free.
SlotMap ReadSlotMap(BinaryFile& file) {
  SlotMap map(kBankSlotCount, 0);
  file.ReadAt(kSlotMapAt, map.data(), map.size());
  return map;
}

// Reads the records of a bank front to back through a large window, so
// that opening a full bank costs a few big reads, not 32,000 small ones.
class ForwardReader {
 public:
  // stride: the distance between the reads to come. Far-apart reads go
  // straight to the file, since a window would mostly hold skipped bytes.
  ForwardReader(BinaryFile& file, uint64_t stride)
      : file_(file), size_(file.Size()), direct_(stride > kDirectStride) {}

  // True when all of length bytes at offset exist and were read.
  bool Read(uint64_t offset, uint8_t* out, size_t length) {
    if (offset + length > size_) return false;
    if (direct_ || length > kWindow) return file_.ReadAt(offset, out, length) == length;
    if (offset < windowAt_ || offset + length > windowAt_ + window_.size()) {
      window_.resize(static_cast<size_t>(std::min<uint64_t>(kWindow, size_ - offset)));
      window_.resize(file_.ReadAt(offset, window_.data(), window_.size()));
      windowAt_ = offset;
      if (length > window_.size()) return false;
    }
    std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(offset - windowAt_), length, out);
    return true;
  }

 private:
  static constexpr size_t kWindow = 1 << 20;
  static constexpr uint64_t kDirectStride = 16384;
  BinaryFile& file_;
  uint64_t size_;
  bool direct_;
  uint64_t windowAt_ = 0;
  std::vector<uint8_t> window_;
};

}  // namespace

uint64_t BankRecordOffset(int32_t slot, int32_t programSize) {
  return kBankRecordsAt + static_cast<uint64_t>(slot) *
                              (static_cast<uint64_t>(programSize) + kProgramNameSize);
}

int32_t ReadBankHeader(const std::string& path) {
  BinaryFile file;
  uint8_t header[4];
  if (!file.Open(path, BinaryFile::Mode::Read) || file.ReadAt(0, header, 4) != 4) {
    return kUnreadableBankHeader;
  }
  return ReadInt32LE(header);
}

void BankFiles::ListBankFiles() {
  bankNames_.clear();
  bankPaths_.clear();
  for (const std::string& path : ListLibraryFilePaths(programFolder_, kBankExtension)) {
    if (ReadBankHeader(path) != programSize_) continue;
    bankNames_.push_back(NameFromFilePath(path));
    bankPaths_.push_back(path);
  }
}

std::vector<std::string> BankFiles::ChooserEntries() const {
  std::vector<std::string> entries = bankNames_;
  entries.emplace_back(kCreateNewBankEntry);
  return entries;
}

std::string BankFiles::BankPathAt(int position) const {
  if (position < 0 || position >= BankCount()) return std::string();
  return bankPaths_[static_cast<size_t>(position)];
}

bool BankFiles::CreateBankFile(const std::string& path) {
  BinaryFile::Mode mode = BinaryFile::Mode::CreateNew;
  if (BinaryFile::Exists(path)) {
    if (reporter_.Show(kOverwriteQuestion, kOverwriteCaption, BoxIcon::Stop,
                       BoxButtons::YesNo) != BoxAnswer::Yes) {
      return false;
    }
    mode = BinaryFile::Mode::CreateReplace;
  }
  BinaryFile file;
  if (!file.Open(path, mode)) {
    ReportWriteFailure();
    return false;
  }
  std::vector<uint8_t> empty(kBankRecordsAt, 0);
  WriteInt32LE(empty.data(), programSize_);
  if (!file.WriteAt(0, empty.data(), empty.size()) || !file.Flush()) {
    ReportWriteFailure();
    return false;
  }
  return true;
}

bool BankFiles::OpenBankFile(int position, const NewBankChooser& chooseNewBankFile) {
  if (position < 0 || position > BankCount()) return false;
  openPosition_ = position;
  // Until the chosen bank is open, no bank is: nothing may be stored into
  // the one that was open before.
  currentBankPath_.clear();
  index_.ResetIndex();
  if (list_ != nullptr) list_->Clear();
  if (programSize_ < 0 || programSize_ > kProgramSizeLimit) return false;

  if (position == BankCount()) {
    std::string chosen;
    if (!chooseNewBankFile || !chooseNewBankFile(chosen)) return false;
    if (!CreateBankFile(chosen)) return false;
    // Overwriting a bank the chooser already lists selects that entry.
    auto listed = std::find_if(bankPaths_.begin(), bankPaths_.end(),
                               [&](const std::string& path) { return SameFile(path, chosen); });
    if (listed != bankPaths_.end()) {
      position = static_cast<int>(listed - bankPaths_.begin());
    } else {
      bankNames_.insert(bankNames_.begin() + position, NameFromFilePath(chosen));
      bankPaths_.insert(bankPaths_.begin() + position, chosen);
    }
    openPosition_ = position;
  }

  const std::string& path = bankPaths_[static_cast<size_t>(position)];
  BinaryFile file;
  if (!file.Open(path, BinaryFile::Mode::Read)) return false;
  currentBankPath_ = path;
  SlotMap map = ReadSlotMap(file);
  const int used = static_cast<int>(kBankSlotCount - std::count(map.begin(), map.end(), 0));
  index_.Reserve(static_cast<size_t>(used));
  if (list_ != nullptr) list_->BeginNames(used);
  ForwardReader reader(file, static_cast<uint64_t>(programSize_) + kProgramNameSize);
  ProgramName name;
  for (int32_t slot = 0; slot < kBankSlotCount; ++slot) {
    if (map[static_cast<size_t>(slot)] == 0) continue;
    // A slot whose name the file does not hold is not listed.
    if (!reader.Read(BankRecordOffset(slot, programSize_), reinterpret_cast<uint8_t*>(name.data()),
                     kProgramNameSize)) {
      continue;
    }
    AddIndexEntry(slot, name);
  }
  if (list_ != nullptr) list_->EndNames();
  return true;
}

void BankFiles::CloseBankFile() {
  index_.FreeIndex();
  currentBankPath_.clear();
  if (list_ != nullptr) list_->Clear();
}

void BankFiles::AddIndexEntry(int32_t slot, const ProgramName& name) {
  index_.AddIndexEntry(slot, name);
  if (list_ != nullptr) list_->AddName(ProgramNameText(name));
}

// A bank file that cannot be written is reported as one that cannot be
// created: the program's one message for a bank it cannot update.
void BankFiles::ReportWriteFailure() {
  reporter_.Show(kCreateFailedMessage, kCreateFailedCaption, BoxIcon::Exclamation,
                 BoxButtons::Ok);
}

StoreResult BankFiles::StoreBankProgram(const ProgramName& name, std::span<const uint8_t> data) {
  StoreResult result;
  if (!IsBankOpen()) return result;
  int32_t existing = index_.FindIndexEntry(ProgramNameText(name));
  BinaryFile file;
  if (!file.Open(currentBankPath_, BinaryFile::Mode::ReadWrite)) {
    ReportWriteFailure();
    result.outcome = StoreResult::Outcome::WriteFailed;
    return result;
  }
  int32_t slot = existing;
  if (slot < 0) {
    SlotMap map = ReadSlotMap(file);
    const void* free = std::memchr(map.data(), 0, map.size());
    slot = free == nullptr ? kBankSlotCount
                           : static_cast<int32_t>(static_cast<const uint8_t*>(free) - map.data());
  }
  if (slot >= kBankSlotCount) {
    reporter_.Show(kFullMessage, kFullCaption, BoxIcon::Stop, BoxButtons::Ok);
    result.outcome = StoreResult::Outcome::Full;
    return result;
  }
  std::vector<uint8_t> record(kProgramNameSize + static_cast<size_t>(programSize_), 0);
  std::copy(name.begin(), name.end(), record.begin());
  std::copy_n(data.begin(), std::min(data.size(), static_cast<size_t>(programSize_)),
              record.begin() + kProgramNameSize);
  const uint8_t used = 1;
  if (!file.WriteAt(BankRecordOffset(slot, programSize_), record.data(), record.size()) ||
      !file.WriteAt(kSlotMapAt + static_cast<uint64_t>(slot), &used, 1) || !file.Flush()) {
    ReportWriteFailure();
    result.outcome = StoreResult::Outcome::WriteFailed;
    return result;
  }
  result.outcome = StoreResult::Outcome::Stored;
  result.slot = slot;
  result.newProgram = existing < 0;
  if (result.newProgram) AddIndexEntry(slot, name);
  return result;
}

bool BankFiles::ReadBankProgram(int32_t slot, std::span<uint8_t> buffer) {
  std::fill(buffer.begin(), buffer.end(), 0);
  if (!IsBankOpen() || slot < 0 || slot >= kBankSlotCount) return false;
  BinaryFile file;
  if (!file.Open(currentBankPath_, BinaryFile::Mode::Read)) return false;
  size_t want = std::min(buffer.size(), static_cast<size_t>(programSize_));
  size_t got = file.ReadAt(BankRecordOffset(slot, programSize_) + kProgramNameSize, buffer.data(),
                           want);
  return got == want && want == static_cast<size_t>(programSize_);
}

bool BankFiles::DeleteBankProgram(std::string_view name) {
  int32_t slot = index_.FindIndexEntry(name);
  if (slot < 0 || !IsBankOpen()) return false;
  BinaryFile file;
  const uint8_t freed = 0;
  if (!file.Open(currentBankPath_, BinaryFile::Mode::ReadWrite) ||
      !file.WriteAt(kSlotMapAt + static_cast<uint64_t>(slot), &freed, 1) || !file.Flush()) {
    ReportWriteFailure();
    return false;
  }
  index_.EraseIndexEntry(name);
  return true;
}

MergeResult BankFiles::MergeBankFiles(const std::string& sourcePath) {
  MergeResult result;
  if (!IsBankOpen() || SameFile(sourcePath, currentBankPath_)) return result;
  BinaryFile source;
  if (!source.Open(sourcePath, BinaryFile::Mode::Read)) return result;
  uint8_t header[4];
  // Records of another program size would be cut in the wrong places.
  if (source.ReadAt(0, header, 4) != 4 || ReadInt32LE(header) != programSize_) return result;
  SlotMap sourceMap = ReadSlotMap(source);

  BinaryFile destination;
  if (!destination.Open(currentBankPath_, BinaryFile::Mode::ReadWrite)) {
    ReportWriteFailure();
    result.writeFailed = true;
    return result;
  }
  SlotMap map = ReadSlotMap(destination);
  // Whole records are copied, so the window pays off at any program size.
  ForwardReader reader(source, 0);
  std::vector<uint8_t> record(kProgramNameSize + static_cast<size_t>(programSize_));
  size_t freeFrom = 0;
  for (int32_t i = 0; i < kBankSlotCount; ++i) {
    if (sourceMap[static_cast<size_t>(i)] == 0) continue;
    // A record the source file does not wholly hold is not copied.
    if (!reader.Read(BankRecordOffset(i, programSize_), record.data(), record.size())) continue;
    std::string_view name = ProgramNameText(reinterpret_cast<const char*>(record.data()));
    if (index_.FindIndexEntry(name) >= 0) {
      ++result.skipped;
      continue;
    }
    const void* free = std::memchr(map.data() + freeFrom, 0, map.size() - freeFrom);
    if (free == nullptr) {
      reporter_.Show(kFullMessage, kFullCaption, BoxIcon::Stop, BoxButtons::Ok);
      result.full = true;
      break;
    }
    int32_t slot = static_cast<int32_t>(static_cast<const uint8_t*>(free) - map.data());
    if (!destination.WriteAt(BankRecordOffset(slot, programSize_), record.data(), record.size())) {
      result.writeFailed = true;
      break;
    }
    map[static_cast<size_t>(slot)] = 1;
    freeFrom = static_cast<size_t>(slot) + 1;
    ++result.copied;
  }
  if (!destination.WriteAt(kSlotMapAt, map.data(), map.size()) || !destination.Flush()) {
    result.writeFailed = true;
  }
  if (result.writeFailed) ReportWriteFailure();
  return result;
}

}  // namespace qv

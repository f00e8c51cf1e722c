#pragma once
// Bank files: up to 32,000 named programs of one program size.
//
// Layout (little-endian): the program size S (4 bytes), a 32,000-byte slot
// map (1: slot used, 0: free), then for slot i at 32004 + i * (S + 30) a
// 30-byte name and S bytes of program data. Records are written only when
// a slot is used; a new bank is exactly 32004 bytes.
//
// BankFiles holds the librarian's bank state: the banks of the chooser, the
// open bank and the index of its program names.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "librarian/program_name_index.h"

namespace qv {

inline constexpr int32_t kBankSlotCount = 32000;
inline constexpr uint64_t kSlotMapAt = 4;
inline constexpr uint64_t kBankRecordsAt = 4 + kBankSlotCount;  // 32004
inline constexpr int32_t kUnreadableBankHeader = 999999;
inline constexpr std::string_view kCreateNewBankEntry = "Create new bank file";

// Where the bank list of the window learns of program names.
class BankNameList {
 public:
  virtual ~BankNameList() = default;
  virtual void AddName(std::string_view name) = 0;
  virtual void Clear() = 0;
  // Around the names of a whole bank: about `count` names come, and the
  // list may draw once, after the last.
  virtual void BeginNames(int count) { (void)count; }
  virtual void EndNames() {}
};

// The offset of slot's record in a bank of program size S.
uint64_t BankRecordOffset(int32_t slot, int32_t programSize);

// The first 4 bytes of the file, or 999999 when they cannot be read.
int32_t ReadBankHeader(const std::string& path);

struct StoreResult {
  enum class Outcome { Stored, Full, NoBank, WriteFailed };
  Outcome outcome = Outcome::NoBank;
  int32_t slot = -1;       // the slot written, when stored
  bool newProgram = false; // true when a new slot was taken (not a replace)
};

struct MergeResult {
  int copied = 0;
  int skipped = 0;         // names already in the open bank
  bool full = false;       // copying stopped for want of a free slot
  bool writeFailed = false;
};

class BankFiles {
 public:
  // Shows the save dialog for a new bank; true with the chosen path.
  using NewBankChooser = std::function<bool(std::string& path)>;

  explicit BankFiles(Reporter& reporter, BankNameList* list = nullptr)
      : reporter_(reporter), list_(list) {}

  void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
  // The program size of the current definition.
  void SetProgramSize(int32_t size) { programSize_ = size; }
  int32_t ProgramSize() const { return programSize_; }

  // The chooser: the bank files of the program folder whose header is the
  // program size, in file-system order, then "Create new bank file".
  void ListBankFiles();
  int BankCount() const { return static_cast<int>(bankNames_.size()); }
  const std::vector<std::string>& BankNames() const { return bankNames_; }
  std::vector<std::string> ChooserEntries() const;
  // The file of chooser entry position; empty for "Create new bank file".
  std::string BankPathAt(int position) const;
  int OpenPosition() const { return openPosition_; }

  // Opens the bank at chooser position (creating a new one at the last
  // entry) and builds the index and the bank list. False when no bank is
  // open afterwards.
  bool OpenBankFile(int position, const NewBankChooser& chooseNewBankFile);
  void CloseBankFile();
  bool IsBankOpen() const { return !currentBankPath_.empty(); }
  const std::string& CurrentBankPath() const { return currentBankPath_; }

  // Stores data (program-size bytes; fewer are padded with zeros) under
  // name in the first free slot, or in the slot of the program of the same
  // name.
  StoreResult StoreBankProgram(const ProgramName& name, std::span<const uint8_t> data);
  // Reads the program of slot into buffer (program-size bytes). False when
  // the bank does not hold all of them (the rest is zero).
  bool ReadBankProgram(int32_t slot, std::span<uint8_t> buffer);
  // Frees the slot of the named program. False when nothing was deleted.
  bool DeleteBankProgram(std::string_view name);
  // Copies the programs of the bank at sourcePath whose names are not yet
  // in the open bank into its free slots.
  MergeResult MergeBankFiles(const std::string& sourcePath);

  const ProgramNameIndex& Index() const { return index_; }
  int32_t FindIndexEntry(std::string_view name) const { return index_.FindIndexEntry(name); }

 private:
  void AddIndexEntry(int32_t slot, const ProgramName& name);
  bool CreateBankFile(const std::string& path);
  void ReportWriteFailure();

  Reporter& reporter_;
  BankNameList* list_;
  std::string programFolder_;
  int32_t programSize_ = 0;
  std::vector<std::string> bankNames_;
  std::vector<std::string> bankPaths_;
  int openPosition_ = -1;
  std::string currentBankPath_;
  ProgramNameIndex index_;
};

}  // namespace qv

// Bank files: the header, the slot map and the records, opened as the
// librarian opens them (building the name index), then read, stored into,
// deleted from and merged from. The input describes the file compactly:
// the program size, then slot numbers marked used, then the record bytes.
#include <sys/stat.h>

#include <cstdlib>

#include "librarian/bank_files.h"
#include "librarian/little_endian.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

std::vector<uint8_t> BankOf(fuzz::Input& in, int32_t programSize) {
  std::vector<uint8_t> file(kBankRecordsAt, 0);
  WriteInt32LE(file.data(), programSize);
  const int used = in.Byte() % 64;
  for (int i = 0; i < used; ++i) {
    const uint32_t slot = (in.Byte() | (static_cast<uint32_t>(in.Byte()) << 8)) % kBankSlotCount;
    file[kSlotMapAt + slot] = in.Byte() % 3;  // 0 free, 1 used, 2 anything else
  }
  std::vector<uint8_t> records = in.Bytes(in.Byte() * 64u);
  file.insert(file.end(), records.begin(), records.end());
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  fuzz::SilentReporter reporter;
  const int32_t programSize = static_cast<int32_t>(in.Byte() % 40);
  const std::vector<uint8_t> bank = BankOf(in, programSize);
  const std::vector<uint8_t> other = BankOf(in, programSize);
  static const std::string folder = [] {
    const std::string made = fuzz::ScratchFolder() + "/banks";
    mkdir(made.c_str(), 0700);
    return made;
  }();
  const std::string path = folder + "/Fuzz.QvBank";
  const std::string otherPath = fuzz::ScratchFile("Other.QvBank");
  fuzz::WriteFile(path, bank.data(), bank.size());
  fuzz::WriteFile(otherPath, other.data(), other.size());
  if (ReadBankHeader(path) != programSize) std::abort();

  BankFiles banks(reporter);
  banks.SetProgramFolder(folder);
  banks.SetProgramSize(programSize);
  banks.ListBankFiles();
  if (banks.BankCount() != 1 || !banks.OpenBankFile(0, {})) std::abort();
  std::vector<uint8_t> program(static_cast<size_t>(programSize));
  for (const auto& entry : banks.Index().Entries()) {
    if (entry.erased) continue;
    if (entry.slot < 0 || entry.slot >= kBankSlotCount) std::abort();
    banks.ReadBankProgram(entry.slot, program);
    if (banks.FindIndexEntry(ProgramNameText(entry.name)) < 0) std::abort();
  }
  const ProgramName name = MakeProgramName(in.Text(in.Byte() % 31));
  const std::vector<uint8_t> stored = in.Bytes(static_cast<size_t>(programSize));
  if (banks.StoreBankProgram(name, stored).outcome == StoreResult::Outcome::Stored &&
      banks.FindIndexEntry(ProgramNameText(name)) < 0) {
    std::abort();
  }
  banks.MergeBankFiles(otherPath);
  banks.DeleteBankProgram(ProgramNameText(name));
  banks.CloseBankFile();
  return 0;
}

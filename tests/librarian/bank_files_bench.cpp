// Opening a full bank (32,000 programs of 170 bytes: the index and the
// name list built) and storing programs by name into a nearly full bank.
// A plain read of the same file is measured beside them as the baseline.
//
// Targets: opening under 100 ms, storing under 1 ms a program. They hold
// for an optimised build without sanitizers (-DCMAKE_BUILD_TYPE=Release
// -DQV_SANITIZE=OFF); the sanitized debug build of the tests is several
// times slower. The run prints which build it measures ("build" in the
// context) and the targets beside it. Time is the wall clock; on a shared
// machine the CPU column is the steadier of the two.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "librarian/bank_files.h"
#include "librarian/little_endian.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

constexpr int32_t kProgramSize = 170;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

#ifdef __OPTIMIZE__
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

const char* BuildDescription() {
  if (kOptimised && !kSanitized) return "optimised, no sanitizers: the targets apply";
  if (kOptimised) return "optimised, with sanitizers: slower than the targets assume";
  if (kSanitized) return "unoptimised, with sanitizers: several times slower than the targets assume";
  return "unoptimised: slower than the targets assume";
}

[[maybe_unused]] const bool kContextAdded = [] {
  benchmark::AddCustomContext("build", BuildDescription());
  benchmark::AddCustomContext("targets", "OpenFullBank under 100 ms; StoreThousandByName under 1000 ms (1 ms a program)");
  return true;
}();

struct CollectingList : BankNameList {
  std::vector<std::string> names;
  void AddName(std::string_view name) override { names.emplace_back(name); }
  void Clear() override { names.clear(); }
};

// A bank whose first `programs` slots hold programs named "Program <slot>".
std::vector<uint8_t> MakeBank(int32_t programs) {
  std::vector<uint8_t> file(static_cast<size_t>(BankRecordOffset(programs, kProgramSize)), 0);
  WriteInt32LE(file.data(), kProgramSize);
  for (int32_t slot = 0; slot < programs; ++slot) {
    file[4 + static_cast<size_t>(slot)] = 1;
    std::string name = "Program " + std::to_string(slot);
    size_t at = static_cast<size_t>(BankRecordOffset(slot, kProgramSize));
    std::copy(name.begin(), name.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    for (int32_t i = 0; i < kProgramSize; ++i) {
      file[at + 30 + static_cast<size_t>(i)] = static_cast<uint8_t>((slot + i) & 0x7F);
    }
  }
  return file;
}

void OpenFullBank(benchmark::State& state) {
  test::ScratchFolder folder;
  test::WriteWholeFile(folder.File("Full.QvBank"), MakeBank(kBankSlotCount));
  test::RecordingReporter reporter;
  CollectingList list;
  BankFiles banks(reporter, &list);
  banks.SetProgramFolder(folder.path());
  banks.SetProgramSize(kProgramSize);
  banks.ListBankFiles();
  for (auto _ : state) {
    banks.CloseBankFile();
    if (!banks.OpenBankFile(0, nullptr)) state.SkipWithError("bank did not open");
    std::sort(list.names.begin(), list.names.end());  // the list shows names in order
    benchmark::DoNotOptimize(list.names.data());
  }
  if (list.names.size() != static_cast<size_t>(kBankSlotCount)) state.SkipWithError("names missing");
  state.counters["programs"] = static_cast<double>(list.names.size());
}
BENCHMARK(OpenFullBank)->Unit(benchmark::kMillisecond);

void ReadFullBankBaseline(benchmark::State& state) {
  test::ScratchFolder folder;
  std::string path = folder.File("Full.QvBank");
  test::WriteWholeFile(path, MakeBank(kBankSlotCount));
  std::vector<uint8_t> buffer(1 << 20);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    size_t total = 0, got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) total += got;
    std::fclose(file);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(ReadFullBankBaseline)->Unit(benchmark::kMillisecond);

// Stores 1,000 programs by name into a bank that already holds 31,000;
// new: names not yet in the bank (each takes the first free slot);
// replace: names already in the bank (each replaces that slot).
void StoreThousandByName(benchmark::State& state) {
  const bool replace = state.range(0) == 1;
  test::ScratchFolder folder;
  std::vector<uint8_t> base = MakeBank(kBankSlotCount - 1000);
  test::RecordingReporter reporter;
  CollectingList list;
  BankFiles banks(reporter, &list);
  banks.SetProgramFolder(folder.path());
  banks.SetProgramSize(kProgramSize);
  std::vector<ProgramName> names;
  for (int i = 0; i < 1000; ++i) {
    names.push_back(MakeProgramName((replace ? "Program " : "New ") + std::to_string(i * 31)));
  }
  std::vector<uint8_t> data(kProgramSize, 0x42);
  for (auto _ : state) {
    state.PauseTiming();
    test::WriteWholeFile(folder.File("Store.QvBank"), base);
    banks.CloseBankFile();
    banks.ListBankFiles();
    if (!banks.OpenBankFile(0, nullptr)) state.SkipWithError("bank did not open");
    state.ResumeTiming();
    for (const ProgramName& name : names) {
      StoreResult stored = banks.StoreBankProgram(name, data);
      if (stored.outcome != StoreResult::Outcome::Stored) state.SkipWithError("not stored");
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
  if (!reporter.boxes.empty()) state.SkipWithError("a message was shown");
}
BENCHMARK(StoreThousandByName)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

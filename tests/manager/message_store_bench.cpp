// Receiving 100 MB into the message store, saving it in each layout and
// loading it again, measured against copying the same bytes with cp in the
// same run. Prints ratios (lower is better; the target is 2 or less) and the
// growth of the process's resident memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "manager/message_store.h"
#include "manager/syx_load.h"
#include "manager/syx_save.h"
#include "midi/midi_input_receive.h"
#include "tests/support/recording_reporter.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
  return 0;
}

double TimeCp(const fs::path& from, const fs::path& to) {
  auto start = Clock::now();
  std::string command = "cp '" + from.string() + "' '" + to.string() + "'";
  if (std::system(command.c_str()) != 0) return -1;
  return Seconds(start);
}

void BM_StoreHundredMegabytes(benchmark::State& state) {
  const std::size_t kTotal = 100u * 1000u * 1000u;
  const std::size_t kMessage = static_cast<std::size_t>(state.range(0));
  std::random_device random;
  const fs::path folder = fs::temp_directory_path() / ("qv_store_bench_" + std::to_string(random()));
  fs::create_directories(folder);
  qv::test::RecordingReporter reporter;

  for (auto _ : state) {
    qv::MessageStore store((folder / "~temp.syx").string(), (folder / "~temp.lst").string(), reporter);
    store.ResetStore();
    const long rssBefore = ResidentKb();

    // What the input device hands over: 32,000-byte buffers.
    std::vector<std::uint8_t> message(kMessage);
    for (std::size_t i = 0; i < kMessage; ++i) message[i] = static_cast<std::uint8_t>(i & 0x7F);
    message[0] = 0xF0;
    message[1] = 0x42;
    message[kMessage - 1] = 0xF7;
    qv::StoreReceiver receiver;
    auto start = Clock::now();
    for (std::size_t sent = 0; sent < kTotal; sent += kMessage) {
      for (std::size_t at = 0; at < kMessage; at += qv::kInputBufferLength) {
        std::size_t n = std::min(qv::kInputBufferLength, kMessage - at);
        receiver.Receive(message.data() + at, n, qv::kInputBufferLength, store);
      }
    }
    store.Flush();
    const double receive = Seconds(start);
    // Shared machines are noisy: every time below is the best of three.
    double cp = 1e9;
    for (int i = 0; i < 3; ++i) cp = std::min(cp, TimeCp(store.DataPath(), folder / "cp.syx"));

    struct Layout { qv::SaveFilter filter; const char* name; };
    const Layout layouts[] = {{qv::SaveFilter::Kestrovallian, "current"},
                              {qv::SaveFilter::Standard, "standard"},
                              {qv::SaveFilter::Kestrovallian10, "old"}};
    for (const Layout& layout : layouts) {
      const fs::path target = folder / (std::string(layout.name) + ".syx");
      double save = 1e9;
      double load = 1e9;
      for (int i = 0; i < 3; ++i) {
        start = Clock::now();
        qv::WriteStoreToFile(store, target.string(), "bench.syx", layout.filter);
        save = std::min(save, Seconds(start));
        qv::MessageStore loaded((folder / "~l.syx").string(), (folder / "~l.lst").string(), reporter);
        loaded.ResetStore();
        start = Clock::now();
        qv::LoadSyxFile(target.string(), loaded);
        loaded.Flush();
        load = std::min(load, Seconds(start));
      }
      state.counters[std::string("save_") + layout.name + "_vs_cp"] = save / cp;
      if (layout.filter != qv::SaveFilter::Standard) {
        state.counters[std::string("load_") + layout.name + "_vs_cp"] = load / cp;
      }
      fs::remove(target);
    }
    state.counters["receive_vs_cp"] = receive / cp;
    state.counters["messages"] = store.MessageCount();
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - rssBefore);
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}
// 100 MB as 3,226 messages of 31,000 bytes, and as 1,000 of 100,000 bytes.
BENCHMARK(BM_StoreHundredMegabytes)->Arg(31000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

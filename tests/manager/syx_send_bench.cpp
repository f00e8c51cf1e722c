// How long a file send takes beyond its pauses, and how much CPU the
// command-line send burns while it waits for the device.
//
// Each run sends a Kestrovallian file of three messages through the real
// sender and the command-line loop to a virtual device that reports every
// block done from its own thread after a fixed wire time. Printed counters:
//   send_ms                wall time of one whole send
//   pause_sum_ms           the pauses the send must wait (2 x BlocksPause)
//   overhead_per_block_ms  (wall - pauses - wire time) / 3
//   wall_over_minimum      wall time against pauses + wire time
//   loop_cpu_ms            CPU time of the sending thread (the start, the
//                          waiting loop and every block) in one send
//   loop_cpu_over_wall     that CPU time / wall time
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <stdexcept>
#include <string>
#include <thread>

#include "manager/syx_send_loop.h"
#include "tests/manager/syx_send_device_thread.h"
#include "tests/manager/syx_send_test_files.h"
#include "tests/midi/fake_midi_output_driver.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

struct RunResult {
  double wall_ms;
  double loop_cpu_ms;
};

RunResult SendOnce(const std::string& path, unsigned pause_ms, std::chrono::microseconds wire) {
  test::FakeOutputDriver driver;
  test::RecordingReporter reporter;
  MidiOutput output(driver);
  OutputCompletions completions;
  test::DeviceThread device(completions, wire);
  driver.on_sent = [&device](void* header) { device.Accepted(header); };
  output.Open(reporter);
  SyxSender sender(output, reporter, completions,
                   SyxSender::Hooks{{}, [](unsigned ms) {
                                      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                                    }});
  const auto start = std::chrono::steady_clock::now();
  const double cpu_start = ThreadCpuMs();
  sender.SendSyxFile(path, pause_ms);
  RunSyxSendLoop(sender, completions, {});
  const double cpu_ms = ThreadCpuMs() - cpu_start;
  const double wall_ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (driver.sent.size() != 3) throw std::runtime_error("the send did not finish");
  return {wall_ms, cpu_ms};
}

void BM_ThreeMessageFileSend(benchmark::State& state) {
  const unsigned pause = static_cast<unsigned>(state.range(0));
  const auto wire = std::chrono::milliseconds(state.range(1));
  test::TempFolder folder;
  const std::string path = folder.Write(
      "three.syx", test::KestrovallianFile({test::SysExMessage(10, 1), test::SysExMessage(500, 2),
                                            test::SysExMessage(170, 3)}));
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    RunResult r = SendOnce(path, pause, wire);
    state.SetIterationTime(r.wall_ms / 1000.0);
    wall += r.wall_ms;
    cpu += r.loop_cpu_ms;
  }
  const double runs = static_cast<double>(state.iterations());
  const double pauses = 2.0 * pause;
  const double wire_ms = 3.0 * std::chrono::duration<double, std::milli>(wire).count();
  state.counters["send_ms"] = wall / runs;
  state.counters["pause_sum_ms"] = pauses;
  state.counters["overhead_per_block_ms"] = (wall / runs - pauses - wire_ms) / 3.0;
  state.counters["wall_over_minimum"] =
      pauses + wire_ms > 0 ? (wall / runs) / (pauses + wire_ms) : 0.0;
  state.counters["loop_cpu_ms"] = cpu / runs;
  state.counters["loop_cpu_over_wall"] = cpu / wall;
}

// BlocksPause 0 and 20 with a quick device; then a slow device (50 ms per
// block on the wire) to show that the loop sleeps while it waits.
BENCHMARK(BM_ThreeMessageFileSend)
    ->Args({0, 1})
    ->Args({20, 1})
    ->Args({0, 50})
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

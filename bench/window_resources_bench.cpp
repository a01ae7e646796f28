// What the updater windows cost while they stand: each build's resident memory
// once its window shows the drive list of the emulated demo machine (budget:
// under 60 MB), and the process time spent in the 30-second countdown on the
// real clock (the wait sleeps, so it should be close to none). Nothing is
// written back to the demo machine file. VmRSS is the whole process's: run one
// benchmark alone (--benchmark_filter) for that build's own figure; the growth
// counter is what its window added.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <fstream>
#include <string>

#include "bench/shown_updater.h"
#include "flash/update_procedure.h"

namespace {

constexpr double kKilobytesPerMegabyte = 1024.0;

// VmRSS from /proc/self/status in kilobytes, or -1 when it cannot be read.
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// User plus system time of the whole process, in milliseconds.
double ProcessCpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto milliseconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
  };
  return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

void ResidentMemory(benchmark::State& state, const flash::AppVariant& variant) {
  const long before = ResidentKilobytes();
  bench::ShownUpdater shown;
  std::string error;
  if (!bench::ShowUpdater(variant, true, shown, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(&shown.app->Frame().Form());
  const long after = ResidentKilobytes();
  state.counters["VmRSS_MB"] = static_cast<double>(after) / kKilobytesPerMegabyte;
  state.counters["window_growth_MB"] = static_cast<double>(after - before) / kKilobytesPerMegabyte;
}

void BM_FlashsptiResidentMemory(benchmark::State& state) {
  ResidentMemory(state, flash::AppVariant::Spti());
}
void BM_FlashaspiResidentMemory(benchmark::State& state) {
  ResidentMemory(state, flash::AppVariant::Aspi());
}
BENCHMARK(BM_FlashsptiResidentMemory)->Iterations(1);
BENCHMARK(BM_FlashaspiResidentMemory)->Iterations(1);

// The countdown as an update runs it, in the shown window, on the real clock.
void BM_CountdownProcessTime(benchmark::State& state) {
  bench::ShownUpdater shown;
  std::string error;
  if (!bench::ShowUpdater(flash::AppVariant::Spti(), false, shown, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  flash::UpdaterView& view = shown.app->Frame().View();
  double used = 0.0;
  for (auto _ : state) {
    const double start = ProcessCpuMilliseconds();
    flash::WaitForProgramming(view.UpdateProgress(), view, shown.machine->Timer());
    used = ProcessCpuMilliseconds() - start;
  }
  state.counters["process_cpu_ms"] = used;
}
BENCHMARK(BM_CountdownProcessTime)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

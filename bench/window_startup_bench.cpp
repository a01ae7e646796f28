// Time from start-up to a shown updater, speed or region window with its drive
// list (and, for zonespti, the first drive's query), on the emulated demo machine
// (offscreen, fake clock, nothing written back).
#include <benchmark/benchmark.h>

#include "bench/shown_region_utility.h"
#include "bench/shown_speed_dialog.h"
#include "bench/shown_updater.h"

namespace {

void StartWindow(benchmark::State& state, const flash::AppVariant& variant) {
  for (auto _ : state) {
    bench::ShownUpdater shown;
    std::string error;
    if (!bench::ShowUpdater(variant, true, shown, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(&shown.app->Frame().Form());
  }
}

void BM_FlashsptiWindowStartup(benchmark::State& state) {
  StartWindow(state, flash::AppVariant::Spti());
}
void BM_FlashaspiWindowStartup(benchmark::State& state) {
  StartWindow(state, flash::AppVariant::Aspi());
}
BENCHMARK(BM_FlashsptiWindowStartup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlashaspiWindowStartup)->Unit(benchmark::kMillisecond);

void StartSpeedWindow(benchmark::State& state, const pace::SpeedWindowVariant& variant) {
  for (auto _ : state) {
    bench::ShownSpeedDialog shown;
    std::string error;
    if (!bench::ShowSpeedDialog(variant, shown, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(shown.app->Dialog().DriveList());
  }
}

void BM_PacesptiWindowStartup(benchmark::State& state) {
  StartSpeedWindow(state, pace::SpeedWindowVariant::Spti());
}
void BM_PaceaspiWindowStartup(benchmark::State& state) {
  StartSpeedWindow(state, pace::SpeedWindowVariant::Aspi());
}
BENCHMARK(BM_PacesptiWindowStartup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaceaspiWindowStartup)->Unit(benchmark::kMillisecond);

void BM_ZonesptiWindowStartup(benchmark::State& state) {
  for (auto _ : state) {
    bench::ShownRegionUtility shown;
    std::string error;
    if (!bench::ShowRegionUtility(shown, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(shown.program->Open());
  }
}
BENCHMARK(BM_ZonesptiWindowStartup)->Unit(benchmark::kMillisecond);

}  // namespace

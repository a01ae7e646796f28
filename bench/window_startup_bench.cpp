// Time from start-up to a shown updater window with its drive list, on the
// emulated demo machine (offscreen, fake clock, nothing written back).
#include <benchmark/benchmark.h>

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
    benchmark::DoNotOptimize(shown.app->Frame().View().Tree());
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

}  // namespace

// How long loading a full dual-controller firmware HEX file (made by our own
// fwgen) takes: in process, and as a whole fwhex process beside objcopy
// converting the same file to binary, run interleaved.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "flash/firmware_image.h"
#include "flash/flash_variant.h"
#include "flash/hex_loader.h"
#include "flash/hex_parser.h"
#include "tools/fwgen/fwgen_command.h"
#include "tools/fwhex/console_updater_ui.h"

extern char** environ;

namespace {

// A dual-image model: six segments, 0x42000 data bytes in 16-byte records.
constexpr char kDualModel[] = "KD-320";

// The generated file in a temporary folder, removed at exit.
class BenchFile {
 public:
  BenchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hexbench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    std::ostringstream out, err;
    if (tools::RunFwgen({"--model", kDualModel, HexPath()}, out, err) != 0) folder_.clear();
  }
  ~BenchFile() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  BenchFile(const BenchFile&) = delete;
  BenchFile& operator=(const BenchFile&) = delete;

  std::string HexPath() const { return (folder_ / "UPDATE.HEX").string(); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  bool Ready() const { return !folder_.empty(); }

 private:
  std::filesystem::path folder_;
};

const BenchFile& SharedFile() {
  static const BenchFile file;
  return file;
}

bool FileReady(benchmark::State& state) {
  if (SharedFile().Ready()) return true;
  state.SkipWithError("cannot generate the dual-image HEX file");
  return false;
}

void SetFileBytesProcessed(benchmark::State& state) {
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations()) *
      static_cast<std::int64_t>(std::filesystem::file_size(SharedFile().HexPath())));
}

// The parse alone: read, fill, decode into the working image.
void BM_ParseDualImage(benchmark::State& state) {
  if (!FileReady(state)) return;
  std::vector<std::uint8_t> working(flash::kLoadedImageSize);
  for (auto _ : state) {
    const flash::HexLoadResult result = flash::ParseHexFile(SharedFile().HexPath(), working);
    benchmark::DoNotOptimize(result);
    if (result.end != flash::HexLoadEnd::kNormalEnd ||
        result.loadedBytes != flash::kLoadedImageSize) {
      state.SkipWithError("the generated file did not load in full");
      break;
    }
  }
  SetFileBytesProcessed(state);
}
BENCHMARK(BM_ParseDualImage)->Unit(benchmark::kMillisecond);

// The whole File Open command as fwhex runs it: parse, copy into the image in
// effect, status text and summary.
struct InProcessLoader {
  std::vector<std::uint8_t> imageBuffer = std::vector<std::uint8_t>(flash::kImageSize);
  std::vector<std::uint8_t> workingBuffer = std::vector<std::uint8_t>(flash::kLoadedImageSize);
  flash::FirmwareImage image;

  InProcessLoader() {
    image.bytes = imageBuffer;
    image.working = workingBuffer;
  }
  bool Load() {
    tools::ConsoleUpdaterUi ui(SharedFile().HexPath());
    const flash::LoadOutcome outcome =
        flash::LoadFirmwareFile(image, flash::FlashVariant::Spti(), ui);
    return outcome.result.end == flash::HexLoadEnd::kNormalEnd;
  }
};

void BM_LoadFirmwareFile(benchmark::State& state) {
  if (!FileReady(state)) return;
  InProcessLoader loader;
  for (auto _ : state) {
    if (!loader.Load()) {
      state.SkipWithError("the generated file did not load");
      break;
    }
  }
  SetFileBytesProcessed(state);
}
BENCHMARK(BM_LoadFirmwareFile)->Unit(benchmark::kMillisecond);

struct ProgramRun {
  bool ok = false;
  double wallMs = 0;  // from spawn to reaped
  double cpuMs = 0;   // the child's user and system time
};

// Runs a program with its output discarded and times it.
ProgramRun RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  ProgramRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return run;
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.wallMs = elapsed.count();
  run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  return run;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// One iteration: the in-process load, `fwhex --image`, and objcopy writing a
// binary, one after the other. The counters are medians over the iterations
// (milliseconds) and the ratios of the medians to objcopy's. objcopy knows
// nothing of the 0x5000 mapping; it is a yardstick for reading the same text.
void BM_FwhexAgainstObjcopy(benchmark::State& state) {
  if (!FileReady(state)) return;
  const BenchFile& file = SharedFile();
  const std::vector<std::string> fwhex = {FWHEX_PATH, "--image", file.Path("FWHEX.BIN"),
                                          file.HexPath()};
  const std::vector<std::string> objcopy = {
      "objcopy", "-I", "ihex", "-O", "binary", file.HexPath(), file.Path("OBJCOPY.BIN")};
  InProcessLoader loader;
  std::vector<double> loadMs, fwhexMs, objcopyMs, fwhexCpuMs, objcopyCpuMs;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = loader.Load();
    const std::chrono::duration<double, std::milli> load = std::chrono::steady_clock::now() - start;
    const ProgramRun fwhexRun = RunProgram(fwhex);
    const ProgramRun objcopyRun = RunProgram(objcopy);
    if (!loaded || !fwhexRun.ok || !objcopyRun.ok) {
      state.SkipWithError(!objcopyRun.ok ? "objcopy is not available or failed"
                                         : "fwhex did not load the generated file");
      return;
    }
    loadMs.push_back(load.count());
    fwhexMs.push_back(fwhexRun.wallMs);
    objcopyMs.push_back(objcopyRun.wallMs);
    fwhexCpuMs.push_back(fwhexRun.cpuMs);
    objcopyCpuMs.push_back(objcopyRun.cpuMs);
    state.SetIterationTime((load.count() + fwhexRun.wallMs + objcopyRun.wallMs) / 1000.0);
  }
  const double objcopyMedian = Median(objcopyMs);
  state.counters["load_ms"] = Median(loadMs);
  state.counters["fwhex_ms"] = Median(fwhexMs);
  state.counters["objcopy_ms"] = objcopyMedian;
  state.counters["load/objcopy"] = Median(loadMs) / objcopyMedian;
  state.counters["fwhex/objcopy"] = Median(fwhexMs) / objcopyMedian;
  // CPU time is steadier than wall time on a busy machine.
  state.counters["fwhex/objcopy_cpu"] = Median(fwhexCpuMs) / Median(objcopyCpuMs);
}
BENCHMARK(BM_FwhexAgainstObjcopy)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(100);

}  // namespace

BENCHMARK_MAIN();

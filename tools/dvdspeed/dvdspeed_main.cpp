// dvdspeed: the speed utility's operations from the command line, through the
// same sequences as pacespti (drive letter) and paceaspi (--aspi HA:ID).
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "drvcmd/drive_list.h"
#include "pace/extraction_speed_table.h"
#include "pace/speed_control.h"
#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/dvdspeed/console_speed_ui.h"

namespace tools {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: dvdspeed (--quiet | --performance) [--permanent] [--yes] DRIVE\n"
    "       dvdspeed --info [--json] DRIVE\n"
    "       dvdspeed --extraction {max,4,8,10,12,16} DRIVE\n"
    "DRIVE is a drive letter (E or E:, through the pass-through service) or\n"
    "--aspi HA:ID (host adapter and target, through the ASPI manager).\n"
    "--quiet / --performance switch the drive's mode until it restarts, or for\n"
    "good with --permanent. With a disc in the drive the spindle is stopped\n"
    "first if you say so on the terminal (--yes: without asking; no terminal:\n"
    "not stopped). --info prints the current and maximum read speed (--json as\n"
    "JSON); --extraction sets the CD-DA extraction speed.\n"
    "Exit status: 0 done, 1 the drive or the system refused, 2 usage.\n";

enum class Operation { kNone, kQuiet, kPerformance, kInfo, kExtraction };

struct Options {
  Operation operation = Operation::kNone;
  bool permanent = false;
  bool yes = false;
  bool json = false;
  int extractionEntry = -1;
  std::optional<char> letter;
  std::optional<drvcmd::DriveAddress> aspi;
};

bool SetOperation(Options& options, Operation operation) {
  if (options.operation != Operation::kNone) return false;
  options.operation = operation;
  return true;
}

// "max" or an X factor of the extraction list.
int ExtractionEntry(std::string_view text) {
  for (std::size_t i = 0; i < pace::kExtractionSpeedTable.size(); ++i) {
    const std::string_view entry = pace::kExtractionSpeedTable[i].text;
    if ((i == 0 && text == "max") || (i != 0 && entry == std::string(text) + "X")) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<char> DriveLetter(std::string_view text) {
  if (text.size() == 2 && text[1] == ':') text.remove_suffix(1);
  if (text.size() != 1) return std::nullopt;
  const char letter = text[0];
  if (letter >= 'a' && letter <= 'z') return static_cast<char>(letter - 'a' + 'A');
  if (letter >= 'A' && letter <= 'Z') return letter;
  return std::nullopt;
}

std::optional<drvcmd::DriveAddress> AspiAddress(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  unsigned adapter = 0;
  unsigned target = 0;
  const auto parse = [](std::string_view part, unsigned max, unsigned& value) {
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    return !part.empty() && ec == std::errc() && end == part.data() + part.size() && value <= max;
  };
  if (!parse(text.substr(0, colon), 0xFF, adapter) ||
      !parse(text.substr(colon + 1), 0x0F, target)) {
    return std::nullopt;
  }
  return drvcmd::DriveAddress{0, static_cast<std::uint8_t>(adapter),
                              static_cast<std::uint8_t>(target)};
}

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--quiet") {
      if (!SetOperation(options, Operation::kQuiet)) return false;
    } else if (argument == "--performance") {
      if (!SetOperation(options, Operation::kPerformance)) return false;
    } else if (argument == "--info") {
      if (!SetOperation(options, Operation::kInfo)) return false;
    } else if (argument == "--extraction" && hasValue) {
      if (!SetOperation(options, Operation::kExtraction)) return false;
      options.extractionEntry = ExtractionEntry(argv[++i]);
      if (options.extractionEntry < 0) return false;
    } else if (argument == "--permanent") {
      options.permanent = true;
    } else if (argument == "--yes") {
      options.yes = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--aspi" && hasValue && !options.aspi && !options.letter) {
      options.aspi = AspiAddress(argv[++i]);
      if (!options.aspi) return false;
    } else if (!argument.starts_with("-") && !options.letter && !options.aspi) {
      options.letter = DriveLetter(argument);
      if (!options.letter) return false;
    } else {
      return false;
    }
  }
  const bool modeChange =
      options.operation == Operation::kQuiet || options.operation == Operation::kPerformance;
  if (options.permanent && !modeChange) return false;
  if (options.json && options.operation != Operation::kInfo) return false;
  return options.operation != Operation::kNone && (options.letter || options.aspi);
}

pace::DriveMode ModeOf(const Options& options) {
  if (options.operation == Operation::kQuiet) {
    return options.permanent ? pace::DriveMode::kQuietPermanent : pace::DriveMode::kQuietTemporary;
  }
  return options.permanent ? pace::DriveMode::kPerformancePermanent
                           : pace::DriveMode::kPerformanceTemporary;
}

// The one drive named on the command line, as the window's drive table.
drvcmd::DriveCombo DriveTable(const Options& options) {
  drvcmd::DriveCombo drives;
  if (options.letter) {
    drives.labels.push_back(std::string{*options.letter, ':', ' '});
    drives.addresses.push_back(drvcmd::DriveAddress{*options.letter, 0, 0});
  } else {
    char label[16];
    std::snprintf(label, sizeof label, "ID=%01x : ", options.aspi->target);
    drives.labels.emplace_back(label);
    drives.addresses.push_back(*options.aspi);
  }
  drives.selected = 0;
  return drives;
}

void PrintSpeedsJson(const pace::ReadSpeeds& speeds) {
  std::printf(
      "{\"current\": {\"kbytesPerSecond\": %d, \"x\": %d}, "
      "\"maximum\": {\"kbytesPerSecond\": %d, \"x\": %d}}\n",
      speeds.current, pace::SpeedInX(speeds.current), speeds.maximum,
      pace::SpeedInX(speeds.maximum));
}

int Run(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }

  std::string error;
  const auto system = startup::OpenStartupPlatform(&error);
  if (!system) {
    std::fprintf(stderr, "dvdspeed: %s\n",
                 error.empty() ? "the platform could not be opened" : error.c_str());
    return kExitFailed;
  }
  const pace::PaceVariant& variant =
      options.aspi ? pace::PaceVariant::Aspi() : pace::PaceVariant::Spti();
  const std::optional<int> entry =
      options.extractionEntry >= 0 ? std::optional<int>(options.extractionEntry) : std::nullopt;
  ConsoleSpeedUi ui(variant.applicationTitle, options.yes, entry);
  pace::SpeedControl control(variant, *system, ui);
  // Without a manager or adapters there is nothing to address.
  const int start = control.Start();
  if (start != drvcmd::kStartOk) {
    std::fprintf(stderr, "dvdspeed: %s\n", drvcmd::StartTransportMessage(start));
    return kExitFailed;
  }
  control.UseDrives(DriveTable(options));

  int result = -1;
  pace::ReadSpeeds speeds;
  switch (options.operation) {
    case Operation::kQuiet:
    case Operation::kPerformance:
      result = control.ChangeDriveMode(ModeOf(options));
      break;
    case Operation::kInfo:
      result = control.ShowDriveSpeeds(&speeds);
      // A drive that reports no speeds gives nothing to print.
      if (speeds.current == 0 || speeds.maximum == 0) result = -1;
      break;
    case Operation::kExtraction:
      result = control.SetExtractionSpeed();
      break;
    case Operation::kNone:
      break;
  }
  const std::string status = AsLines(ui.StatusText());
  if (result != 0) {
    std::fprintf(stderr, "%s\n", status.c_str());
    return kExitFailed;
  }
  if (options.json) {
    PrintSpeedsJson(speeds);
  } else {
    std::printf("%s\n", status.c_str());
  }
  return kExitDone;
}

}  // namespace
}  // namespace tools

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  return tools::Run(argc, argv);
}

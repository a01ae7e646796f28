// dvdspeed's arguments, its drive choice from the window's scan, its run of
// the speed sequences and its exit status.
#include "tools/dvdspeed/dvdspeed_command.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "drvcmd/drive_list.h"
#include "pace/extraction_speed_table.h"
#include "pace/speed_control.h"
#include "tools/common/cdb_trace.h"
#include "tools/common/command_line.h"
#include "tools/common/drive_choice.h"
#include "tools/dvdspeed/console_speed_ui.h"

namespace tools {
namespace {

constexpr char kTool[] = "dvdspeed";

constexpr char kUsage[] =
    "usage: dvdspeed (--quiet | --performance) [--permanent] [--yes] DRIVE\n"
    "       dvdspeed --info [--json] DRIVE\n"
    "       dvdspeed --extraction {max,4,8,10,12,16} DRIVE\n"
    "DRIVE is a drive letter (E or E:, through the pass-through service), a device\n"
    "node (/dev/sr0 or /dev/sg1, the drive behind it, through the pass-through\n"
    "service) or --aspi HA:ID (host adapter and target, through the ASPI manager).\n"
    "Only a CD or DVD drive that pacespti or paceaspi would list is addressed.\n"
    "--quiet / --performance switch the drive's mode until it restarts, or for\n"
    "good with --permanent. With a disc in the drive the spindle is stopped\n"
    "first if you say so on the terminal (--yes: without asking; no terminal:\n"
    "not stopped). --info prints the current and maximum read speed (--json as\n"
    "JSON); --extraction sets the CD-DA extraction speed.\n"
    "Options:\n"
    "  --quiet, --performance  the mode to switch to\n"
    "  --permanent       keep the mode over a restart of the drive\n"
    "  --yes             stop the spindle without asking\n"
    "  --info            print the current and maximum read speed\n"
    "  --json            with --info: print the speeds as JSON\n"
    "  --extraction X    set the CD-DA extraction speed (max, 4, 8, 10, 12, 16)\n"
    "  --aspi HA:ID      the drive at host adapter HA, target ID\n";

constexpr std::array<OptionSpec, 8> kOptions = {{{"quiet"},
                                                 {"performance"},
                                                 {"info"},
                                                 {"extraction", true},
                                                 {"permanent"},
                                                 {"yes"},
                                                 {"json"},
                                                 {"aspi", true}}};

enum class Operation { kNone, kQuiet, kPerformance, kInfo, kExtraction };

struct Options {
  Operation operation = Operation::kNone;
  bool permanent = false;
  bool yes = false;
  bool json = false;
  int extractionEntry = -1;
  DriveName drive;
};

// "max" or an X factor of the extraction list; -1 for anything else.
int ExtractionEntry(std::string_view text) {
  for (std::size_t i = 0; i < pace::kExtractionSpeedTable.size(); ++i) {
    const std::string_view entry = pace::kExtractionSpeedTable[i].text;
    if ((i == 0 && text == "max") || (i != 0 && entry == std::string(text) + "X")) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Fills `options`; the reason the line is refused, or empty.
std::string ReadOptions(const CommandLine& line, Options& options) {
  int operations = 0;
  for (const auto& [name, operation] :
       {std::pair{"quiet", Operation::kQuiet}, std::pair{"performance", Operation::kPerformance},
        std::pair{"info", Operation::kInfo}, std::pair{"extraction", Operation::kExtraction}}) {
    if (!line.Has(name)) continue;
    options.operation = operation;
    ++operations;
  }
  if (operations == 0) return "no operation given (--quiet, --performance, --info or --extraction)";
  if (operations > 1) return "give one operation only";
  if (options.operation == Operation::kExtraction) {
    options.extractionEntry = ExtractionEntry(line.Value("extraction"));
    if (options.extractionEntry < 0) {
      return "--extraction takes max, 4, 8, 10, 12 or 16, not \"" + line.Value("extraction") + "\"";
    }
  }
  options.permanent = line.Has("permanent");
  options.yes = line.Has("yes");
  options.json = line.Has("json");
  const bool modeChange =
      options.operation == Operation::kQuiet || options.operation == Operation::kPerformance;
  if (options.permanent && !modeChange) return "--permanent goes with --quiet or --performance";
  if (options.yes && !modeChange) return "--yes goes with --quiet or --performance";
  if (options.json && options.operation != Operation::kInfo) return "--json goes with --info";

  if (line.Has("aspi")) {
    if (!line.operands.empty()) return "give either DRIVE or --aspi, not both";
    const auto target = ParseAspiTarget(line.Value("aspi"));
    if (!target) return "--aspi takes HA:ID (0-255:0-15), not \"" + line.Value("aspi") + "\"";
    options.drive = *target;
    return {};
  }
  if (line.operands.empty()) return "no drive given";
  if (line.operands.size() > 1) return "more than one drive given";
  const auto drive = ParseDriveOperand(line.operands.front());
  if (!drive) return "\"" + line.operands.front() + "\" is not a drive letter or a device node";
  options.drive = *drive;
  return {};
}

pace::DriveMode ModeOf(const Options& options) {
  if (options.operation == Operation::kQuiet) {
    return options.permanent ? pace::DriveMode::kQuietPermanent : pace::DriveMode::kQuietTemporary;
  }
  return options.permanent ? pace::DriveMode::kPerformancePermanent
                           : pace::DriveMode::kPerformanceTemporary;
}

void PrintSpeedsJson(std::ostream& out, const pace::ReadSpeeds& speeds) {
  out << "{\"current\": {\"kbytesPerSecond\": " << speeds.current
      << ", \"x\": " << pace::SpeedInX(speeds.current)
      << "}, \"maximum\": {\"kbytesPerSecond\": " << speeds.maximum
      << ", \"x\": " << pace::SpeedInX(speeds.maximum) << "}}\n";
}

}  // namespace

int RunDvdSpeed(int argc, const char* const* argv, const PlatformOpener& openPlatform,
                std::ostream& out, std::ostream& err, std::istream* answers) {
  CommandLine line;
  if (std::string problem = ParseCommandLine(argc, argv, kOptions, line); !problem.empty()) {
    return UsageError(err, kTool, problem, kUsage);
  }
  if (AnswerHelpOrVersion(line, out, kTool, kUsage)) return kExitDone;
  Options options;
  if (std::string problem = ReadOptions(line, options); !problem.empty()) {
    return UsageError(err, kTool, problem, kUsage);
  }

  std::string error;
  platform::Platform* system = openPlatform(&error);
  if (system == nullptr) {
    err << kTool << ": " << (error.empty() ? "the platform could not be opened" : error) << '\n';
    return kExitSetup;
  }
  const bool aspi = options.drive.kind == DriveName::Kind::kAspi;
  const pace::PaceVariant& variant = aspi ? pace::PaceVariant::Aspi() : pace::PaceVariant::Spti();
  const std::optional<int> entry =
      options.extractionEntry >= 0 ? std::optional<int>(options.extractionEntry) : std::nullopt;
  ConsoleSpeedUi ui(variant.applicationTitle, options.yes, entry, err, answers);
  // Declared first: the transport may report to it until its end.
  CdbTrace trace(err, kTool, line.verbosity);
  pace::SpeedControl control(variant, *system, ui);
  trace.Watch(control.CommandTransport());
  // Without a manager or adapters there is nothing to address.
  const int start = control.Start();
  if (start != drvcmd::kStartOk) {
    err << kTool << ": " << drvcmd::StartTransportMessage(start) << '\n';
    return kExitRefused;
  }
  // The window's own list: a drive it would not show is not addressed.
  drvcmd::DriveCombo drives;
  control.ScanDrives(drives);
  const int index = FindListedDrive(drives, *system, options.drive);
  if (index == drvcmd::kNoItem) {
    err << kTool << ": " << DriveNameText(options.drive) << " is not a listed CD or DVD drive\n";
    return kExitUsage;
  }
  ui.SelectDrive(index);

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
    err << status << '\n';
    return kExitRefused;
  }
  if (options.json) {
    PrintSpeedsJson(out, speeds);
  } else {
    out << status << '\n';
  }
  return kExitDone;
}

}  // namespace tools

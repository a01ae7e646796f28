// dvdregion's arguments, its run of the sequences and its exit status.
#include "tools/dvdregion/dvdregion_command.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "drvcmd/generic_commands.h"
#include "drvcmd/transport.h"
#include "tools/common/cdb_trace.h"
#include "tools/common/drive_choice.h"
#include "tools/dvdregion/console_region_ui.h"
#include "tools/dvdregion/region_json.h"
#include "zone/region_commands.h"
#include "zone/region_mask.h"
#include "zone/region_messages.h"
#include "zone/region_utility.h"
#include "zone/rpc_structures.h"

namespace tools {
namespace {

constexpr char kTool[] = "dvdregion";
constexpr int kFirstRegion = 1;
constexpr int kLastRegion = 6;

constexpr char kUsage[] =
    "usage: dvdregion [--json] [--set N [--dry-run]] [DRIVE]\n"
    "Reads the RPC Phase II region state of a DVD drive (the first one listed, or\n"
    "DRIVE, a letter such as E or E:, or its device node such as /dev/sr0) and the\n"
    "regions of the disc in it, and prints the lines zonespti shows. Only a drive\n"
    "that zonespti would list is addressed. --set N sets region N (1 to 6) when the\n"
    "query offers it, as zonespti's \"Set Region\" does; a missing disc is asked for\n"
    "on the terminal. A region change is counted by the drive and cannot be undone.\n"
    "--json prints the decoded state instead (the lines go to standard error).\n"
    "Options:\n"
    "  --set N           set the drive's region to N (1 to 6)\n"
    "  --dry-run         with --set: run the query and every check, print the\n"
    "                    command that would set the region, send nothing\n"
    "  --json            print the decoded state as JSON on standard output\n";

constexpr std::array<OptionSpec, 3> kOptions = {{{"json"}, {"set", true}, {"dry-run"}}};

struct Options {
  bool json = false;
  std::optional<int> setRegion;
  bool dryRun = false;
  std::optional<DriveName> drive;
};

std::string ReadOptions(const CommandLine& line, Options& options) {
  options.json = line.Has("json");
  options.dryRun = line.Has("dry-run");
  if (line.Has("set")) {
    const std::string value = line.Value("set");
    if (value.size() != 1 || value[0] < '0' + kFirstRegion || value[0] > '0' + kLastRegion) {
      return "--set takes a region from 1 to 6";
    }
    options.setRegion = value[0] - '0';
  }
  if (options.dryRun && !options.setRegion) return "--dry-run goes with --set";
  if (line.operands.size() > 1) return "more than one drive given";
  if (!line.operands.empty()) {
    options.drive = ParseDriveOperand(line.operands.front());
    if (!options.drive) {
      return "unexpected argument \"" + line.operands.front() + "\"";
    }
  }
  return {};
}

std::string OfferedChoices(const ConsoleRegionUi& ui) {
  std::string offered;
  for (int region = kFirstRegion; region <= kLastRegion; ++region) {
    if (!ui.Choice(region).enabled) continue;
    offered += (offered.empty() ? "" : " ") + std::to_string(region);
  }
  return offered.empty() ? std::string("none") : offered;
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += byte;
  }
  return text;
}

// The checks ChangeRegion makes before SEND KEY, on the state the query just
// read: a permanent drive refuses, and a drive out of its initial state needs
// a disc. TEST UNIT READY is the disc check the change itself sends.
int DryRunChange(zone::RegionUtility& utility, char letter, int region, std::ostream& out,
                 std::ostream& err) {
  const zone::RpcState& state = utility.LastRpcState();
  if (zone::TypeCode(state) == zone::kTypeCodePermanent) {
    err << TerminalLines(zone::kPermanentText);
    return kExitRefused;
  }
  const bool initialState = zone::UserChanges(state) == zone::kInitialUserChanges &&
                            state.regionMask == zone::kNoRegionMask;
  if (!initialState) {
    drvcmd::SptiTransport& transport = *utility.Transport();
    const bool ready = transport.OpenDrive(letter) == 0 &&
                       drvcmd::SendTestUnitReady(transport, drvcmd::DriveAddress{letter, 0, 0}) ==
                           drvcmd::kOutcomeGood;
    transport.CloseDrive();
    if (!ready) {
      err << TerminalLines(zone::kDiscMissingText) << '\n';
      return kExitRefused;
    }
  }
  std::array<std::uint8_t, zone::kRegionDataLength> parameterList{};
  const drvcmd::ScsiRequest request = zone::SendRpcStructureRequest(parameterList.data());
  char mask[3];
  std::snprintf(mask, sizeof mask, "%02X", zone::SingleRegionMask(region));
  out << "Dry run: would send SEND KEY (" << HexBytes(request.cdb.data(), request.cdbLength)
      << ") with region mask " << mask << " (region " << region << "); nothing was sent.\n";
  return kExitDone;
}

}  // namespace

int RunDvdRegion(int argc, const char* const* argv, const PlatformOpener& openPlatform,
                 std::ostream& out, std::ostream& err, std::istream* answers) {
  CommandLine line;
  Options options;
  std::string problem = ParseCommandLine(argc, argv, kOptions, line);
  if (problem.empty() && !line.help && !line.version) problem = ReadOptions(line, options);
  if (!problem.empty()) return UsageError(err, kTool, problem, kUsage);
  if (AnswerHelpOrVersion(line, out, kTool, kUsage)) return kExitDone;

  std::string error;
  platform::Platform* system = openPlatform(&error);
  if (system == nullptr) {
    err << kTool << ": " << (error.empty() ? "the platform could not be opened" : error) << '\n';
    return kExitSetup;
  }
  // With --json the window's lines go to standard error, so standard output is JSON only.
  ConsoleRegionUi ui(options.json ? err : out, answers, err);
  // Declared first: the utility's transport may report to it until its end.
  CdbTrace trace(err, kTool, line.verbosity);
  zone::RegionUtility utility(*system, ui);
  const int started = utility.Start();
  if (started != drvcmd::kStartOk) {
    err << kTool << ": " << drvcmd::StartTransportMessage(started) << '\n';
    return kExitRefused;
  }
  trace.Watch(*utility.Transport());
  const drvcmd::DriveCombo& drives = utility.ScanDrives();
  if (drives.labels.empty()) {
    err << kTool << ": no CD or DVD drive is listed\n";
    return kExitUsage;
  }
  int index = 0;
  if (options.drive) {
    index = FindListedDrive(drives, *system, *options.drive);
    if (index == drvcmd::kNoItem) {
      err << kTool << ": drive " << DriveNameText(*options.drive) << " is not listed\n";
      return kExitUsage;
    }
  }
  ui.SelectDrive(index);

  utility.QueryRegion();
  bool succeeded = utility.LastReport().AllSucceeded();
  std::optional<zone::ChangeOutcome> change;
  if (options.setRegion) {
    const int region = *options.setRegion;
    if (!ui.Choice(region).enabled) {
      err << kTool << ": region " << region
          << " is not offered for this drive (offered: " << OfferedChoices(ui) << ")\n";
      return kExitUsage;
    }
    if (options.dryRun) {
      out.flush();
      return DryRunChange(utility, drives.addresses[static_cast<std::size_t>(index)].letter, region,
                          out, err);
    }
    ui.Pick(region);
    change = utility.ChangeRegion();
    // The change asked for is what counts: a failed disc read in the closing
    // query must not make a script retry and spend another change.
    succeeded = *change == zone::ChangeOutcome::kRegionSet;
  }
  if (options.json) out << RegionReportJson(utility.LastReport(), change).dump(2) << '\n';
  out.flush();
  return succeeded ? kExitDone : kExitRefused;
}

}  // namespace tools

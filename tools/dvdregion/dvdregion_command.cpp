// dvdregion's arguments, its run of the sequences and its exit status.
#include "tools/dvdregion/dvdregion_command.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "drvcmd/transport.h"
#include "tools/dvdregion/console_region_ui.h"
#include "tools/dvdregion/region_json.h"
#include "zone/region_utility.h"

namespace tools {
namespace {

constexpr char kUsage[] =
    "usage: dvdregion [--json] [--set N] [DRIVE]\n"
    "Reads the RPC Phase II region state of a DVD drive (the first one listed, or\n"
    "DRIVE, a letter such as E or E:) and the regions of the disc in it, and prints\n"
    "the lines zonespti shows. --set N sets region N (1 to 6) when the query offers\n"
    "it, as zonespti's \"Set Region\" does; a missing disc is asked for on the terminal.\n"
    "--json prints the decoded state instead (the lines go to standard error).\n"
    "Exit status: 0 every command succeeded, 1 a command or the change failed,\n"
    "2 bad arguments or a region that is not offered, 3 the drive layer did not start.\n";

struct Options {
  bool json = false;
  std::optional<int> setRegion;
  std::optional<char> letter;
  bool help = false;
};

bool ParseRegion(std::string_view text, int* region) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '6') return false;
  *region = text[0] - '0';
  return true;
}

bool ParseLetter(std::string_view text, char* letter) {
  if (text.size() == 2 && text[1] == ':') text.remove_suffix(1);
  if (text.size() != 1 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  *letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return true;
}

bool ParseArguments(int argc, const char* const* argv, Options& options, std::ostream& err) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    int region = 0;
    char letter = 0;
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--set") {
      if (i + 1 >= argc || !ParseRegion(argv[i + 1], &region)) {
        err << "dvdregion: --set takes a region from 1 to 6\n";
        return false;
      }
      options.setRegion = region;
      ++i;
    } else if (!options.letter && ParseLetter(argument, &letter)) {
      options.letter = letter;
    } else {
      err << "dvdregion: unexpected argument \"" << argument << "\"\n";
      return false;
    }
  }
  return true;
}

std::string OfferedChoices(const ConsoleRegionUi& ui) {
  std::string offered;
  for (int region = 1; region <= 6; ++region) {
    if (!ui.Choice(region).enabled) continue;
    offered += (offered.empty() ? "" : " ") + std::to_string(region);
  }
  return offered.empty() ? std::string("none") : offered;
}

}  // namespace

int RunDvdRegion(int argc, const char* const* argv, platform::Platform& system, std::ostream& out,
                 std::ostream& err, std::istream* answers) {
  Options options;
  if (!ParseArguments(argc, argv, options, err)) {
    err << kUsage;
    return kRegionExitUsage;
  }
  if (options.help) {
    out << kUsage;
    return kRegionExitOk;
  }

  // With --json the window's lines go to standard error, so standard output is JSON only.
  ConsoleRegionUi ui(options.json ? err : out, answers, err);
  zone::RegionUtility utility(system, ui);
  const int started = utility.Start();
  if (started != drvcmd::kStartOk) {
    err << "dvdregion: " << drvcmd::StartTransportMessage(started) << '\n';
    return kRegionExitStartFailed;
  }
  const drvcmd::DriveCombo& drives = utility.ScanDrives();
  if (drives.labels.empty()) {
    err << "dvdregion: no CD or DVD drive is listed\n";
    return kRegionExitCommandFailed;
  }
  int index = 0;
  if (options.letter) {
    index = drvcmd::kNoItem;
    for (std::size_t i = 0; i < drives.labels.size(); ++i) {
      if (drives.labels[i].front() == *options.letter) index = static_cast<int>(i);
    }
    if (index == drvcmd::kNoItem) {
      err << "dvdregion: drive " << *options.letter << ": is not listed\n";
      return kRegionExitUsage;
    }
  }
  ui.SelectDrive(index);

  utility.QueryRegion();
  bool succeeded = utility.LastReport().AllSucceeded();
  std::optional<zone::ChangeOutcome> change;
  if (options.setRegion) {
    const int region = *options.setRegion;
    if (!ui.Choice(region).enabled) {
      err << "dvdregion: region " << region
          << " is not offered for this drive (offered: " << OfferedChoices(ui) << ")\n";
      return kRegionExitUsage;
    }
    ui.Pick(region);
    change = utility.ChangeRegion();
    succeeded = succeeded && *change == zone::ChangeOutcome::kRegionSet &&
                utility.LastReport().AllSucceeded();
  }
  if (options.json) out << RegionReportJson(utility.LastReport(), change).dump(2) << '\n';
  out.flush();
  return succeeded ? kRegionExitOk : kRegionExitCommandFailed;
}

}  // namespace tools

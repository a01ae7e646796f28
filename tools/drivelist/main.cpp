// drivelist: prints the drive list each of the five programs would show on
// this machine (or the emulated machine named by DVDUTIL_MACHINE).
#include <iostream>
#include <sstream>
#include <string>

#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/common/cdb_trace.h"
#include "tools/common/command_line.h"
#include "tools/drivelist/drive_list_report.h"

namespace {

constexpr char kTool[] = "drivelist";

constexpr char kUsage[] =
    "usage: drivelist [--json]\n"
    "Prints the drive list that each program (flashspti, zonespti, pacespti,\n"
    "flashaspi, paceaspi) would show on this computer, or on the emulated machine\n"
    "named by DVDUTIL_MACHINE, with the device nodes behind each drive where the\n"
    "system has them and what both updaters' tables say about each drive.\n"
    "Options:\n"
    "  --json            print the lists as JSON on standard output\n";

constexpr tools::OptionSpec kOptions[] = {{"json"}};

}  // namespace

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  tools::CommandLine line;
  if (const std::string problem = tools::ParseCommandLine(argc, argv, kOptions, line);
      !problem.empty()) {
    return tools::UsageError(std::cerr, kTool, problem, kUsage);
  }
  if (tools::AnswerHelpOrVersion(line, std::cout, kTool, kUsage)) return tools::kExitDone;
  if (!line.operands.empty()) {
    return tools::UsageError(std::cerr, kTool,
                             "unexpected argument \"" + line.operands.front() + "\"", kUsage);
  }
  const bool json = line.Has("json");
  std::string error;
  // Why a drive cannot be reached goes into the report, beside the line that
  // names the drive (with --json: on standard error).
  std::ostream& diagnostics = json ? std::cerr : std::cout;
  const auto system = startup::OpenStartupPlatform(&error, [&diagnostics](const std::string& text) {
    diagnostics << "drivelist: " << text << '\n';
  });
  if (!system) {
    std::cerr << "drivelist: " << (error.empty() ? "the platform could not be opened" : error)
              << '\n';
    return tools::kExitSetup;
  }
  tools::CdbTrace trace(std::cerr, kTool, line.verbosity);
  drvcmd::RequestObserver* observer = line.verbosity > 0 ? &trace : nullptr;
  int result = 0;
  if (json) {
    std::ostringstream text;
    nlohmann::json report;
    result = tools::ReportDriveLists(*system, text, &report, observer);
    std::cout << report.dump(2) << '\n';
  } else {
    result = tools::ReportDriveLists(*system, std::cout, nullptr, observer);
  }
  std::cout.flush();
  return result;
}

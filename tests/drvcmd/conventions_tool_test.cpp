// The conventions every command-line tool keeps: -h/--help (usage and the one
// exit-status table on standard output, status 0), -V/--version ("<tool>
// <project version>"), and an unknown option (reason and usage on standard
// error, status 2).
#include <gtest/gtest.h>

#include <string>

#include "dvdutil_version.h"
#include "tests/support/host_calls.h"

namespace {

using testsupport::ToolRun;

// No machine file: none of these may need one.
ToolRun RunTool(const std::string& program, const std::string& arguments) {
  return testsupport::RunTool(program, arguments,
                              {{"DVDUTIL_MACHINE", "/nonexistent/machine.json"}});
}

struct Tool {
  const char* name;
  const char* path;
};

constexpr Tool kTools[] = {{"drivelist", DRIVELIST_PATH},
                           {"dvdregion", DVDREGION_PATH},
                           {"dvdspeed", DVDSPEED_PATH},
                           {"fwhex", FWHEX_PATH},
                           {"fwgen", FWGEN_PATH}};

constexpr char kExitTable[] =
    "Exit status:\n"
    "  0  done\n"
    "  1  the drive or the system refused\n"
    "  2  usage error, or no such drive\n"
    "  3  machine file or set-up error\n";

TEST(ToolConventionsTest, HelpVersionAndUnknownOptionsAreAnsweredTheSameByEveryTool) {
  for (const Tool& tool : kTools) {
    const std::string name = tool.name;
    for (const char* help : {"--help", "-h"}) {
      const ToolRun run = RunTool(tool.path, help);
      EXPECT_EQ(run.exitCode, 0) << name << help;
      EXPECT_EQ(run.out.rfind("usage: " + name, 0), 0u) << name << help;
      EXPECT_NE(run.out.find("  -v, --verbose "), std::string::npos) << name;
      EXPECT_EQ(run.out.substr(run.out.size() - std::string(kExitTable).size()), kExitTable)
          << name;
      EXPECT_EQ(run.err, "") << name;
    }
    for (const char* version : {"--version", "-V"}) {
      const ToolRun run = RunTool(tool.path, version);
      EXPECT_EQ(run.exitCode, 0) << name << version;
      EXPECT_EQ(run.out, name + " " DVDUTIL_VERSION "\n") << name << version;
    }
    const ToolRun run = RunTool(tool.path, "--no-such-option");
    EXPECT_EQ(run.exitCode, 2) << name;
    EXPECT_EQ(run.out, "") << name;
    EXPECT_EQ(run.err.rfind(name + ": unknown option \"--no-such-option\"\nusage: " + name, 0), 0u)
        << name << ": " << run.err;
  }
}

TEST(ToolConventionsTest, AMachineFileThatDoesNotLoadIsASetUpError) {
  for (const Tool& tool : {kTools[0], kTools[1], kTools[2]}) {
    const std::string arguments = std::string(tool.name) == "dvdspeed" ? "--info E" : "";
    const ToolRun run = RunTool(tool.path, arguments);
    EXPECT_EQ(run.exitCode, 3) << tool.name;
    EXPECT_EQ(run.err.rfind(std::string(tool.name) + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("/nonexistent/machine.json"), std::string::npos) << run.err;
  }
}

}  // namespace

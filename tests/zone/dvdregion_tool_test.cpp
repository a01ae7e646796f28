// dvdregion on emulated machines: the built program run with a machine file,
// its lines, JSON and exit statuses for a query, a change, a refused choice, a
// permanent drive and a missing disc; and its console answers to the disc box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tests/support/host_calls.h"
#include "tools/dvdregion/console_region_ui.h"

namespace {

constexpr char kMachine[] = R"({
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
     "disc": {"type": "dvd", "regions": [2, 4]}},
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-410", "node": "/dev/sr1",
     "region": {"typeCode": 1, "vendorResets": 3, "userChanges": 4, "mask": "0xFD"},
     "disc": {"type": "dvd", "regions": [2]}},
    {"letter": "F", "adapter": 0, "target": 2, "model": "KD-410",
     "region": {"typeCode": 3, "userChanges": 0, "mask": "0xFE"},
     "disc": {"type": "dvd", "regions": [1, 7, 8]}},
    {"letter": "G", "adapter": 0, "target": 3, "model": "KD-410",
     "region": {"typeCode": 1, "userChanges": 2, "mask": "0xFB"}},
    {"letter": "H", "adapter": 0, "target": 4, "model": "KD-410"},
    {"letter": "I", "adapter": 0, "target": 5, "type": "0x00", "vendor": "MAXIDISK"}
  ]})";

using testsupport::ToolRun;

class DvdregionToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeTemporaryFolder(
        std::string("dvdregion-") +
        ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-");
    ASSERT_FALSE(folder_.empty());
    std::ofstream(folder_ / "machine.json") << kMachine;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Runs dvdregion on the machine file, input from /dev/null (no terminal).
  ToolRun Run(const std::string& arguments) {
    return testsupport::RunTool(DVDREGION_PATH, arguments,
                                {{"DVDUTIL_MACHINE", (folder_ / "machine.json").string()}});
  }

  std::filesystem::path folder_;
};

TEST_F(DvdregionToolTest, QueryPrintsTheWindowsLinesForTheFirstOrTheNamedDrive) {
  ToolRun run = Run("");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Drive has no region.\nThis disc is allowed region 2 4\n");
  run = Run("e:");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Drive's region is 2.\nThis disc is allowed region 2\n");
  // No disc: the disc read is a command that failed.
  run = Run("G");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "Drive's region is 3.\nGet disc region is failed.\n");
  run = Run("Q");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "dvdregion: drive Q: is not listed\n");
}

TEST_F(DvdregionToolTest, ChangeSetsTheRegionAndTheDriveKeepsIt) {
  ToolRun run = Run("--set 4 D");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Drive has no region.\nThis disc is allowed region 2 4\n"
            "Success to set regional code.\n"
            "Drive's region is 4.\nThis disc is allowed region 2 4\n");
  // A later run (a new program) finds the drive's new state.
  run = Run("--json D");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json state = nlohmann::json::parse(run.out);
  EXPECT_EQ(state["rpc"]["driveRegion"], 4);
  EXPECT_EQ(state["rpc"]["changesLeft"], 4);
  EXPECT_EQ(state["rpc"]["typeCode"], 1);
  EXPECT_EQ(state["rpc"]["hasRegion"], true);
}

TEST_F(DvdregionToolTest, JsonCarriesTheDecodedStateAndTheLinesGoToStandardError) {
  const ToolRun run = Run("--json E");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "Drive's region is 2.\nThis disc is allowed region 2\n");
  const nlohmann::json state = nlohmann::json::parse(run.out);
  EXPECT_EQ(state["drive"], "E");
  EXPECT_EQ(state["rpc"]["scheme"], 1);
  EXPECT_EQ(state["rpc"]["rpc2"], true);
  EXPECT_EQ(state["rpc"]["typeCode"], 1);
  EXPECT_EQ(state["rpc"]["changesLeft"], 4);
  EXPECT_EQ(state["rpc"]["vendorResets"], 3);
  EXPECT_EQ(state["rpc"]["hasRegion"], true);
  EXPECT_EQ(state["rpc"]["regionMask"], "fd");
  EXPECT_EQ(state["rpc"]["driveRegion"], 2);
  EXPECT_EQ(state["disc"]["protection"], 1);
  EXPECT_EQ(state["disc"]["regions"], nlohmann::json::array({2}));
  EXPECT_FALSE(state.contains("change"));
}

TEST_F(DvdregionToolTest, RefusalsAndTheirExitStatuses) {
  // A region the window would not offer: nothing is sent, usage status.
  ToolRun run = Run("--set 3 E");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "dvdregion: region 3 is not offered for this drive (offered: 2)\n");
  EXPECT_EQ(run.out, "Drive's region is 2.\nThis disc is allowed region 2\n");

  // A permanent drive refuses every change: SEND KEY is never sent.
  run = Run("--json --set 1 F");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Drive regional code is already permanent state.\n"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(run.out)["change"], "permanent");

  // No disc and nobody to ask: the disc box answers Cancel.
  run = Run("--set 3 G");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("Operation is canceled.\n"), std::string::npos);
  EXPECT_NE(run.err.find("Attention: Disc is not present !\nPlease insert approproiate disc\n"),
            std::string::npos);
  EXPECT_NE(run.err.find("No terminal to answer on: Cancel."), std::string::npos);
}

TEST_F(DvdregionToolTest, UsageErrorsAndUnlistedDrivesExitWithTwoAndSendNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"--set 1 --set 2 D", "dvdregion: --set is given twice\n"},
      {"--set 7 D", "dvdregion: --set takes a region from 1 to 6\n"},
      {"--set 0 D", "dvdregion: --set takes a region from 1 to 6\n"},
      {"--set=9 E", "dvdregion: --set takes a region from 1 to 6\n"},
      {"D --set", "dvdregion: --set needs a value\n"},
      {"--dry-run D", "dvdregion: --dry-run goes with --set\n"},
      {"--json --json D", "dvdregion: --json is given twice\n"},
      {"D E", "dvdregion: more than one drive given\n"},
      {"--bogus", "dvdregion: unknown option \"--bogus\"\n"},
      {"--set 4 I", "dvdregion: drive I: is not listed\n"},  // a disk
      {"--set 4 /dev/sr7", "dvdregion: drive /dev/sr7 is not listed\n"},
  };
  for (const auto& [arguments, message] : cases) {
    const ToolRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.err.rfind(message, 0), 0u) << arguments << "\n" << run.err;
    EXPECT_EQ(run.out, "") << arguments;
  }
  // Nothing reached D: it is still in its initial state.
  EXPECT_EQ(nlohmann::json::parse(Run("--json D").out)["rpc"]["changesLeft"], 5);
}

TEST_F(DvdregionToolTest, DryRunChecksAndSaysWhatItWouldSendWithoutSendingIt) {
  ToolRun run = Run("--set 4 --dry-run D");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Drive has no region.\nThis disc is allowed region 2 4\n"
            "Dry run: would send SEND KEY (A3 00 00 00 00 00 00 00 00 08 06 00) with region mask "
            "F7 (region 4); nothing was sent.\n");
  const nlohmann::json state = nlohmann::json::parse(Run("--json D").out);
  EXPECT_EQ(state["rpc"]["changesLeft"], 5);
  EXPECT_EQ(state["rpc"]["hasRegion"], false);

  // The change's own checks refuse: a permanent drive, a drive that needs a disc.
  run = Run("--set 1 --dry-run F");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Drive regional code is already permanent state.\n");
  run = Run("--dry-run --set 3 G");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Disc is not present !\nPlease insert approproiate disc\n");
}

TEST_F(DvdregionToolTest, AChangeMadeExitsZeroEvenWhenTheClosingDiscReadFails) {
  // No disc: the initial state needs none, and the closing query cannot read one.
  const ToolRun run = Run("--set 3 /dev/sr1");
  EXPECT_EQ(run.exitCode, 2) << "region 3 is not offered on E";
  const ToolRun made = Run("--set 3 H");
  EXPECT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(made.out,
            "Drive has no region.\nGet disc region is failed.\nSuccess to set regional code.\n"
            "Drive's region is 3.\nGet disc region is failed.\n");
}

TEST_F(DvdregionToolTest, JsonListsEveryDiscRegionUpToEight) {
  const nlohmann::json state = nlohmann::json::parse(Run("--json F").out);
  EXPECT_EQ(state["disc"]["regions"], nlohmann::json::array({1, 7, 8}));
  EXPECT_EQ(state["rpc"]["permanent"], true);
}

TEST(ConsoleRegionUiTest, DiscBoxAsksUntilItUnderstandsAndEndOfInputCancels) {
  std::ostringstream status;
  std::ostringstream prompts;
  std::istringstream answers("maybe\nOK\nc\n");
  tools::ConsoleRegionUi ui(status, &answers, prompts);
  EXPECT_EQ(ui.MessageBox("Disc?", "Attention", drvcmd::kMbOkCancel), drvcmd::kIdOk);
  EXPECT_EQ(ui.MessageBox("Disc?", "Attention", drvcmd::kMbOkCancel), drvcmd::kIdCancel);
  EXPECT_EQ(ui.MessageBox("Disc?", "Attention", drvcmd::kMbOkCancel), drvcmd::kIdCancel);
  EXPECT_NE(prompts.str().find("End of input: Cancel."), std::string::npos);

  ui.AppendStatusText("one\r\n");
  ui.RefreshStatusBox();
  ui.AppendStatusText("two\r\n");
  ui.RefreshStatusBox();
  EXPECT_EQ(status.str(), "one\ntwo\n") << "each line printed once";
}

}  // namespace

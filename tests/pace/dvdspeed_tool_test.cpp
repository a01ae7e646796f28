// The dvdspeed command on the emulated machine: each operation through a
// drive letter and through --aspi, --json, a refusal, a kept permanent mode,
// the spindle question without a terminal, and usage errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/pace/speed_test_rig.h"
#include "tests/support/host_calls.h"

namespace {

using testsupport::ToolRun;

class DvdspeedToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testsupport::MakeTemporaryFolder("dvdspeed-");
    ASSERT_FALSE(dir_.empty());
    UseMachine(pacetest::MachineJson());
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  void UseMachine(const std::string& json) {
    machine_ = (dir_ / "machine.json").string();
    std::ofstream(machine_) << json;
  }

  // Runs dvdspeed on the machine with no terminal on its input.
  ToolRun Run(const std::string& arguments) {
    return testsupport::RunTool(DVDSPEED_PATH, arguments, {{"DVDUTIL_MACHINE", machine_}});
  }

  // Runs dvdspeed on a terminal (script(1)) that is given `answer` as a typed line;
  // everything the terminal showed is in `out`.
  ToolRun RunOnTerminal(const std::string& answer, const std::string& arguments) {
    return testsupport::RunToolOnTerminal(DVDSPEED_PATH, arguments, answer,
                                          {{"DVDUTIL_MACHINE", machine_}});
  }

  std::filesystem::path dir_;
  std::string machine_;
};

TEST_F(DvdspeedToolTest, InfoPrintsTheSpeedsAsTextOrJson) {
  ToolRun run = Run("--info F:");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Current Speed = 2816kbytes/s(16X)\nMaximum Speed = 5540kbytes/s(31X)\n");

  run = Run("--info --json --aspi 1:0");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"current\": {\"kbytesPerSecond\": 2816, \"x\": 16}, "
            "\"maximum\": {\"kbytesPerSecond\": 5540, \"x\": 31}}\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(DvdspeedToolTest, PermanentModeIsKeptForTheNextRunTemporaryIsNot) {
  ToolRun run = Run("--quiet --permanent e");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Drive mode is changed to quiet mode (permanent)\n");
  EXPECT_EQ(Run("--info --json E").out.rfind("{\"current\": {\"kbytesPerSecond\": 2816,", 0), 0u);

  run = Run("--performance --aspi 0:1");
  EXPECT_EQ(run.out, "Drive mode is changed to performance mode (temporary)\n");
  // The next run starts the machine again: the permanent quiet mode is back.
  EXPECT_EQ(Run("--info --json E").out.rfind("{\"current\": {\"kbytesPerSecond\": 2816,", 0), 0u);

  run = Run("--performance --permanent --aspi 0:1");
  EXPECT_EQ(run.out, "Drive mode is changed to performance mode (permanent)\n");
  run = Run("--performance --permanent E");
  EXPECT_EQ(run.out, "Drive mode is changed to performance mode. (permanent)\n");
}

TEST_F(DvdspeedToolTest, SpindleQuestionIsCancelledWithoutATerminalAndYesStops) {
  ToolRun run = Run("--quiet D");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Attention: For safety, the spindle is stoped. Cancel"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Cancel: Operation is canceled."), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "Drive mode is changed to quiet mode (temporary)\n");

  // A drive that cannot stop its disc: only --yes sends the stop, and it fails.
  UseMachine(pacetest::MachineJson(R"(, "faults": [{"opcode": "0x1B", "sense": "02-04-00"}])"));
  run = Run("--quiet --yes --aspi 0:0");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Attention: For safety, the spindle is stoped. OK"), std::string::npos);
  EXPECT_NE(run.err.find("Failed to change to quiet mode. (02-04-00)\n"), std::string::npos);
}

TEST_F(DvdspeedToolTest, TerminalAnswerDecidesWhetherTheSpindleStops) {
  if (!testsupport::TerminalRunsAvailable()) GTEST_SKIP() << "no terminal to type into here";
  if (::access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "needs script(1) for a terminal";
  // Stopping fails on this drive, so the outcome tells whether the stop was sent.
  UseMachine(pacetest::MachineJson(R"(, "faults": [{"opcode": "0x1B", "sense": "02-04-00"}])"));
  ToolRun run = RunOnTerminal("ok", "--quiet D");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("For safety, the spindle is stoped. [OK/cancel] "), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Failed to change to quiet mode. (02-04-00)"), std::string::npos);

  run = RunOnTerminal("cancel", "--quiet D");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("Cancel: Operation is canceled."), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Drive mode is changed to quiet mode (temporary)"), std::string::npos);
}

TEST_F(DvdspeedToolTest, ExtractionSpeedInEachBuildsWords) {
  ToolRun run = Run("--extraction 12 F");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "CD-DA extraction speed is changed successfully\n2112kbytes/s(12X).\n");
  run = Run("--extraction max --aspi 1:0");
  EXPECT_EQ(run.out, "CD-DA extraction speed is changed to maximum speed.\n");
}

TEST_F(DvdspeedToolTest, RefusalsExitWithOneAndTheSenseTriple) {
  UseMachine(pacetest::MachineJson(
      {}, R"(, "faults": [{"opcode": "0xBB", "sense": "05-26-00", "times": "always"}])"));
  ToolRun run = Run("--performance E");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Failed to change to performance mode. (05-26-00)\n");

  // A drive that reports no speeds has nothing to print.
  run = Run("--info --json G");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Commnad success but paramater is not supported.\n");

  run = Run("--info Q");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Device open (Q) is fail.\n");
}

TEST_F(DvdspeedToolTest, BadCommandLinesExitWithTwo) {
  for (const char* arguments :
       {"", "E", "--quiet", "--quiet --info E", "--extraction 20 E", "--json --quiet E",
        "--permanent --info E", "--quiet --aspi 0 ", "--quiet --aspi 0:99", "--quiet EE"}) {
    const ToolRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_NE(run.err.find("usage: dvdspeed"), std::string::npos) << arguments;
  }
}

}  // namespace

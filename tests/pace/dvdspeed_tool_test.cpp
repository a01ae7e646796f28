// The dvdspeed command on the emulated machine: each operation through a
// drive letter and through --aspi, --json, a refusal, a kept permanent mode,
// the spindle question without a terminal, and usage errors.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/pace/speed_test_rig.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DvdspeedToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "dvdspeed-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
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
    const std::string out = (dir_ / "out.txt").string();
    const std::string err = (dir_ / "err.txt").string();
    const std::string command = "DVDUTIL_MACHINE='" + machine_ + "' '" DVDSPEED_PATH "' " +
                                arguments + " </dev/null >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = ReadWhole(out);
    run.err = ReadWhole(err);
    return run;
  }

  // Runs dvdspeed on a terminal (script(1)) that is given `answer` as a typed line;
  // everything the terminal showed is in `out`.
  ToolRun RunOnTerminal(const std::string& answer, const std::string& arguments) {
    const std::string out = (dir_ / "terminal.txt").string();
    const std::string command = "printf '%s\\n' '" + answer + "' | DVDUTIL_MACHINE='" + machine_ +
                                "' script -qec \"'" DVDSPEED_PATH "' " + arguments +
                                "\" /dev/null >'" + out + "' 2>&1";
    const int status = std::system(command.c_str());
    ToolRun run;
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = ReadWhole(out);
    return run;
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

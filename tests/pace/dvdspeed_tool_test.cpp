// The dvdspeed command on the emulated machine: each operation through a
// drive letter and through --aspi, --json, a refusal, a kept permanent mode,
// the spindle question without a terminal, usage errors; in process, the
// drive choice from the window's scan (with the command log) and -v.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/pace/speed_test_rig.h"
#include "tests/support/host_calls.h"
#include "tools/dvdspeed/dvdspeed_command.h"

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
}

TEST_F(DvdspeedToolTest, BadCommandLinesExitWithTwoAndTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "no operation given"},
      {"E", "no operation given"},
      {"--quiet", "no drive given"},
      {"--quiet --info E", "give one operation only"},
      {"--extraction 20 E", "--extraction takes max, 4, 8, 10, 12 or 16, not \"20\""},
      {"--extraction 99999 E", "not \"99999\""},
      {"E --extraction", "--extraction needs a value"},
      {"--json --quiet E", "--json goes with --info"},
      {"--permanent --info E", "--permanent goes with --quiet or --performance"},
      {"--quiet --aspi 0 ", "--aspi takes HA:ID"},
      {"--quiet --aspi 0:99", "--aspi takes HA:ID"},
      {"--quiet --aspi", "--aspi needs a value"},
      {"--quiet EE", "\"EE\" is not a drive letter or a device node"},
      {"--quiet E F", "more than one drive given"},
      {"--quiet --quiet E", "--quiet is given twice"},
      {"--quiet=yes E", "--quiet takes no value"},
      {"--info --fast E", "unknown option \"--fast\""},
      {"-x E", "unknown option \"-x\""},
  };
  for (const auto& [arguments, reason] : cases) {
    const ToolRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.err.rfind(std::string("dvdspeed: "), 0), 0u) << arguments << run.err;
    EXPECT_NE(run.err.find(reason), std::string::npos) << arguments << run.err;
    EXPECT_NE(run.err.find("\nusage: dvdspeed"), std::string::npos) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
  }
  // "--opt=value" and "--" are the usual spellings.
  EXPECT_EQ(Run("--extraction=12 -- F").out,
            "CD-DA extraction speed is changed successfully\n2112kbytes/s(12X).\n");
}

// dvdspeed run in this process on a machine, its command log kept.
struct InProcessRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<emu::LoggedCommand> log;
};

InProcessRun RunInProcess(const std::string& json, const std::string& arguments) {
  std::string error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText(json, "dvdspeed-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  std::vector<std::string> words{"dvdspeed"};
  std::istringstream split(arguments);
  for (std::string word; split >> word;) words.push_back(word);
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  std::ostringstream out;
  std::ostringstream err;
  InProcessRun run;
  run.exitCode = tools::RunDvdSpeed(
      static_cast<int>(argv.size()), argv.data(),
      [&](std::string*) -> platform::Platform* { return machine.get(); }, out, err, nullptr);
  run.out = out.str();
  run.err = err.str();
  if (machine) run.log = machine->Log().Entries();
  return run;
}

TEST(DvdspeedDriveChoiceTest, OnlyADriveTheWindowListsIsAddressed) {
  // E answers to a node as a real system's drive would.
  const std::string machine = pacetest::MachineJson({}, R"(, "node": "/dev/sr1")");
  const std::pair<const char*, const char*> refused[] = {
      {"--quiet --yes H", "dvdspeed: H: is not a listed CD or DVD drive\n"},  // a disk
      {"--quiet --yes --aspi 1:2", "dvdspeed: ASPI 1:2 is not a listed CD or DVD drive\n"},
      {"--info --aspi 9:1", "dvdspeed: ASPI 9:1 is not a listed CD or DVD drive\n"},
      {"--info --aspi 0:5", "dvdspeed: ASPI 0:5 is not a listed CD or DVD drive\n"},  // empty
      {"--info Q", "dvdspeed: Q: is not a listed CD or DVD drive\n"},
      {"--info /dev/sr0", "dvdspeed: /dev/sr0 is not a listed CD or DVD drive\n"},
  };
  for (const auto& [arguments, message] : refused) {
    const InProcessRun run = RunInProcess(machine, arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.err, message) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    // Nothing went out but the scan's INQUIRY.
    for (const emu::LoggedCommand& command : run.log) {
      EXPECT_EQ(command.cdb[0], 0x12) << arguments << ": " << pacetest::CdbText(command);
    }
  }

  const InProcessRun run = RunInProcess(machine, "--extraction 12 /dev/sr1");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.log.empty());
  EXPECT_EQ(run.log.back().cdb[0], 0xBB);
  EXPECT_EQ(run.log.back().letter, 'E');
}

TEST(DvdspeedDriveChoiceTest, VerboseTracesEachCommandAndStartAndMachineFailuresHaveTheirStatus) {
  const std::string refusing = pacetest::MachineJson(
      {}, R"(, "faults": [{"opcode": "0xBB", "sense": "05-26-00", "times": "always"}])");
  InProcessRun run = RunInProcess(refusing, "-v --performance E");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("dvdspeed: cdb: 12 "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("dvdspeed: cdb: bb "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(" (drive E:)\ndvdspeed:   check condition, status 02, sense 05-26-00"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Failed to change to performance mode. (05-26-00)\n"), std::string::npos);
  EXPECT_EQ(RunInProcess(refusing, "--performance E").err,
            "Failed to change to performance mode. (05-26-00)\n")
      << "no trace without -v";

  // Without the ASPI manager the transport cannot start: the system refused.
  run = RunInProcess(R"({"aspi": {"manager": "missing"}})", "--info --aspi 0:0");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("dvdspeed: ", 0), 0u) << run.err;

  // A machine file that does not load is a set-up error.
  std::ostringstream out;
  std::ostringstream err;
  const char* argv[] = {"dvdspeed", "--info", "E"};
  EXPECT_EQ(tools::RunDvdSpeed(
                3, argv,
                [](std::string* error) -> platform::Platform* {
                  *error = "m.json: not JSON";
                  return nullptr;
                },
                out, err, nullptr),
            3);
  EXPECT_EQ(err.str(), "dvdspeed: m.json: not JSON\n");
}

}  // namespace

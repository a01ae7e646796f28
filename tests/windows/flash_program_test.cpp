// flashspti.exe and flashaspi.exe as built, started under Wine on the demo
// machines: each opens its frame (taken as a snapshot, which then closes it)
// and ends with 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/host_calls.h"

namespace {

struct ProgramCase {
  const char* program;
  const char* path;
  const char* machine;
};

constexpr ProgramCase kPrograms[] = {
    {"flashspti", DVDUTIL_FLASHSPTI, DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json"},
    {"flashaspi", DVDUTIL_FLASHASPI, DVDUTIL_SOURCE_DIR "/emulator/machines/demo98.json"},
};

TEST(FlashProgram, FrameOpensOnTheDemoMachine) {
  for (const ProgramCase& run : kPrograms) {
    SCOPED_TRACE(run.program);
    const std::filesystem::path folder = testsupport::MakeTemporaryFolder("flash-program-");
    ASSERT_FALSE(folder.empty());
    // A copy: a program may write a drive's state back into its machine file.
    const std::filesystem::path machine = folder / "machine.json";
    std::filesystem::copy_file(run.machine, machine);
    const testsupport::ToolRun result = testsupport::RunTool(
        run.path, "",
        {{"DVDUTIL_MACHINE", machine.string()}, {"DVDUTIL_SNAPSHOT", folder.string()}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::filesystem::path image = folder / (std::string(run.program) + ".png");
    ASSERT_TRUE(std::filesystem::exists(image));
    EXPECT_GT(std::filesystem::file_size(image), 0u);
    std::filesystem::remove_all(folder);
  }
}

}  // namespace

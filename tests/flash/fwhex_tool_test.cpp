// The fwhex command: run on a file from fwgen (as the demo makes it), on a
// missing file and on a broken one, checking its lines, streams and exit codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/flash/loader_test_files.h"
#include "tests/support/host_calls.h"

namespace {

using testsupport::ToolRun;

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class FwhexToolTest : public ::testing::Test {
 protected:
  // Runs `program arguments` with stdout and stderr caught.
  ToolRun Run(const std::string& program, const std::string& arguments) {
    return testsupport::RunTool(program, arguments);
  }

  // The demo's update file: our own KD-410 image at version 1.05.
  std::string DemoFile() {
    const std::string path = dir.Path("UPDATE.HEX");
    const ToolRun made = Run(FWGEN_PATH, "--model KD-410 --firmware-version 1.05 '" + path + "'");
    EXPECT_EQ(made.exitCode, 0) << made.err;
    return path;
  }

  loadertest::TempDir dir;
};

TEST_F(FwhexToolTest, PrintsTheLoadSummaryAndIdentificationOfTheDemoFile) {
  const std::string path = DemoFile();
  const std::string imagePath = dir.Path("image.bin");
  const ToolRun run = Run(FWHEX_PATH, "--image '" + imagePath + "' '" + path + "'");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find('\r'), std::string::npos) << "status line ends become plain newlines";

  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 6u) << run.out;
  EXPECT_EQ(lines[0], "File Name : " + path);
  EXPECT_EQ(lines[1], "F/W file load success.");
  EXPECT_EQ(lines[2], "Firmware File Type : ATAPI TRAY TAVREON Model");
  EXPECT_EQ(lines[3], "Version : 1.05");
  EXPECT_EQ(lines[4], "Controller count : 1");
  EXPECT_EQ(lines.back(), "New firmware : TAVREON DVD-ROM KD-410   1.05");

  // The image in effect, its last 16 bytes never loaded.
  const std::string image = ReadWhole(imagePath);
  ASSERT_EQ(image.size(), 0x42010u);
  EXPECT_EQ(image.substr(0x3F0, 9), "ATTVN1.05");
  EXPECT_EQ(image.substr(0x42000), std::string(16, '\0'));
}

TEST_F(FwhexToolTest, TheImageFileHoldsExactlyTheImageWhateverWasThereBefore) {
  const std::string path = DemoFile();
  const std::string imagePath = dir.Write("image.bin", std::string(0x50000, 'x'));
  ASSERT_EQ(Run(FWHEX_PATH, "--image '" + imagePath + "' '" + path + "'").exitCode, 0);
  const std::string longerBefore = ReadWhole(imagePath);
  ASSERT_EQ(longerBefore.size(), 0x42010u) << "a longer old file is cut to the image";
  EXPECT_EQ(longerBefore.substr(0x3F0, 9), "ATTVN1.05");
  EXPECT_EQ(longerBefore.substr(0x42000), std::string(16, '\0'));

  dir.Write("image.bin", "short");
  ASSERT_EQ(Run(FWHEX_PATH, "--image '" + imagePath + "' '" + path + "'").exitCode, 0);
  EXPECT_EQ(ReadWhole(imagePath), longerBefore);

  // A folder cannot be written: the reason is named and the exit code says so.
  const ToolRun run = Run(FWHEX_PATH, "--image '" + dir.Path("") + "' '" + path + "'");
  EXPECT_EQ(run.exitCode, 1);
  // The C library's reason: "Is a directory", or on Windows "Permission denied".
  const std::string refused = "fwhex: cannot write " + dir.Path("") + ": ";
  EXPECT_TRUE(run.err.find(refused + std::strerror(EISDIR)) != std::string::npos ||
              run.err.find(refused + std::strerror(EACCES)) != std::string::npos)
      << run.err;
}

TEST_F(FwhexToolTest, AFileThatDoesNotLoadFailsWithTheLoadersMessage) {
  const std::string missing = dir.Path("missing.hex");
  ToolRun run = Run(FWHEX_PATH, "'" + missing + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "File Name : " + missing + "\nFile Exception Error 2 : File not found\n");

  const std::string broken = dir.Write("broken.hex", ":00000000FF\r\nno colon\r\n");
  run = Run(FWHEX_PATH, "'" + broken + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "File Name : " + broken + "\nStart Charactor is not fouund.\n");
}

TEST_F(FwhexToolTest, FilesTheUpdatersRefuseExitWithOne) {
  // fwgen's broken images and a file with nothing in it (which the loader
  // takes: an empty image has no identity either).
  const std::pair<std::string, std::string> cases[] = {
      {"--broken no-identity",
       "no image identity: the updaters show \"This file is not available\""},
      {"--broken no-template", "no new-firmware identity (INQUIRY template) in the image"},
      {"--broken truncated", "no image identity"},
      {"", "no image identity"},
  };
  for (const auto& [broken, reason] : cases) {
    const std::string path = dir.Path("broken.hex");
    if (!broken.starts_with("--")) {
      dir.Write("broken.hex", broken);
    } else {
      const ToolRun made = Run(FWGEN_PATH, "--model KD-410 " + broken + " '" + path + "'");
      ASSERT_EQ(made.exitCode, 0) << broken << ": " << made.err;
    }
    const ToolRun run = Run(FWHEX_PATH, "'" + path + "'");
    EXPECT_EQ(run.exitCode, 1) << broken;
    EXPECT_NE(run.err.find(reason), std::string::npos) << broken << ": " << run.err;
    EXPECT_EQ(run.err.rfind("fwhex: the updaters refuse this file: ", 0), 0u) << run.err;
  }
}

TEST_F(FwhexToolTest, WrongArgumentsPrintTheReasonAndUsageAndExitWithTwo) {
  const std::string path = DemoFile();
  const std::string before = ReadWhole(path);
  const std::pair<std::string, std::string> cases[] = {
      {"", "fwhex: no HEX file given\n"},
      {"--bogus x.hex", "fwhex: unknown option \"--bogus\"\n"},
      {"a.hex b.hex", "fwhex: more than one HEX file given\n"},
      {"x.hex --image", "fwhex: --image needs a value\n"},
      {"--image '" + path + "' '" + path + "'", "fwhex: the image would overwrite its own HEX"},
      {"--image='" + dir.Path("./UPDATE.HEX") + "' '" + path + "'",
       "fwhex: the image would overwrite its own"},
  };
  for (const auto& [arguments, reason] : cases) {
    const ToolRun run = Run(FWHEX_PATH, arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_EQ(run.err.rfind(reason, 0), 0u) << arguments << ": " << run.err;
    EXPECT_NE(run.err.find("\nusage: fwhex"), std::string::npos) << arguments;
  }
  EXPECT_EQ(ReadWhole(path), before) << "the HEX file is never overwritten";
}

}  // namespace

// The fwgen command: what it writes, what it lists, and how it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "emulator/firmware_builder.h"
#include "tests/emulator/firmware_test_hex_reader.h"
#include "tools/fwgen/fwgen_command.h"

namespace emu::testing {
namespace {

namespace fs = std::filesystem;

class FwgenCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("fwgen-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return tools::RunFwgen(args, out_, err_);
  }
  std::string Slurp(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  fs::path dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(FwgenCommand, WritesTheBuiltImageAsHex) {
  const fs::path file = dir_ / "UPDATE.HEX";
  ASSERT_EQ(Run({"--model", "KD-320", "--firmware-version", "1.10", file.string()}), 0)
      << err_.str();
  const HexReadResult read = ReadHexStrict(Slurp(file), true);
  ASSERT_EQ(read.problem, "");
  const auto image = BuildFirmware(*FindDriveModel("KD-320"), "1.10").image;
  EXPECT_TRUE(std::equal(read.image.begin(), read.image.end(), image.begin()));
  EXPECT_FALSE(fs::exists(dir_ / "UPDATE.HEX.tmp"));
}

TEST_F(FwgenCommand, BrokenVariantAndLineEndsFollowTheOptions) {
  const fs::path file = dir_ / "BAD.HEX";
  ASSERT_EQ(Run({"--model", "KD-410", "--broken", "no-template", "--lf", file.string()}), 0);
  const HexReadResult read = ReadHexStrict(Slurp(file), false);
  ASSERT_EQ(read.problem, "");
  EXPECT_FALSE(FindTemplateKey(read.image).has_value());
  EXPECT_NE(out_.str().find("broken: no-template"), std::string::npos);
}

TEST_F(FwgenCommand, ListNamesEveryModel) {
  ASSERT_EQ(Run({"--list"}), 0);
  for (const ModelSpec& model : DriveModels()) {
    EXPECT_NE(out_.str().find(std::string(model.name) + "\t"), std::string::npos) << model.name;
  }
}

TEST_F(FwgenCommand, BadUsageFailsWithAMessageAndWritesNothing) {
  const std::string file = (dir_ / "X.HEX").string();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--model", "KD-999", file}, "unknown model \"KD-999\""},
      {{"--model", "KD-410", "--firmware-version=1.5", file}, "version \"1.5\" must be four"},
      {{"--model", "KD-410", "--broken", "bent", file}, "unknown broken variant \"bent\""},
      {{"--model", "KD-410"}, "no output file given"},
      {{file}, "--model is required"},
      {{"--model"}, "--model needs a value"},
      {{"--model", "KD-410", "--fast", file}, "unknown option \"--fast\""},
      {{"--model", "KD-410", "--version", "1.05", file},
       "--version prints fwgen's version; the firmware's is --firmware-version"},
      {{"--model", "KD-410", "--model", "KD-320", file}, "--model is given twice"},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_EQ(Run(args), 2) << message;
    EXPECT_NE(err_.str().find("fwgen: " + message), std::string::npos) << err_.str();
  }
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(FwgenCommand, UnwritableOutputIsAnErrorNotASuccess) {
  const fs::path file = dir_ / "missing-folder" / "UPDATE.HEX";
  EXPECT_EQ(Run({"--model", "KD-410", file.string()}), 1);
  EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
  EXPECT_EQ(out_.str(), "");
}

}  // namespace
}  // namespace emu::testing

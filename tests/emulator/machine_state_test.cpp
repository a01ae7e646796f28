// Kept drive state written back to the machine's state file: atomically, under
// a lock, without losing another machine instance's change to another drive.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_drive.h"
#include "emulator/firmware_builder.h"
#include "tests/emulator/machine_test_support.h"

namespace emu::testing {
namespace {

constexpr char kMachine[] = R"({
  "description": "two drives for the write-back tests",
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410", "notReadyAfterProgrammingMs": 0},
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-410", "notReadyAfterProgrammingMs": 0}
  ]
})";

std::vector<std::uint8_t> WriteBufferCdb(std::uint8_t bufferId, std::uint32_t offset,
                                         std::uint32_t length) {
  return {0x3B,
          0x01,
          bufferId,
          static_cast<std::uint8_t>(offset >> 16),
          static_cast<std::uint8_t>(offset >> 8),
          static_cast<std::uint8_t>(offset),
          0,
          static_cast<std::uint8_t>(length >> 8),
          static_cast<std::uint8_t>(length),
          0,
          0,
          0};
}

// The updater's download, sent through the machine's pass-through service.
void Download(EmulatedMachine& machine, char letter, const std::string& version) {
  std::vector<std::uint8_t> image = BuildFirmware(*FindDriveModel("KD-410"), version).image;
  const platform::Handle drive = OpenLetter(machine, letter);
  ASSERT_NE(drive, platform::kInvalidHandleValue);
  std::uint8_t none = 0;
  auto send = [&](const std::vector<std::uint8_t>& cdb, std::uint8_t* data, std::uint32_t length) {
    const DirectExchange e =
        SendDirect(machine, drive, cdb, platform::kScsiIoctlDataOut, data, length, 5, 0);
    ASSERT_TRUE(e.ok);
    ASSERT_EQ(e.record.sptd.ScsiStatus, kStatusGood);
  };
  send(WriteBufferCdb(0x30, 0, 0), &none, 0);
  for (std::uint32_t offset = 0; offset < kMainImageSize; offset += 0x8000) {
    send(WriteBufferCdb(0xFF, offset, 0x8000), image.data() + offset, 0x8000);
  }
  send(WriteBufferCdb(0xFF, kMainImageSize, kTailSize), image.data() + kSingleTailOffset,
       kTailSize);
  send(WriteBufferCdb(0x42, 0, 0), &none, 0);
  machine.PassThrough().CloseHandle(drive);
}

std::string Revision(EmulatedDrive& drive) {
  return std::string(drive.InquiryData().begin() + 32, drive.InquiryData().begin() + 36);
}

class MachineState : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("emu_machine_state_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "machine.json").string();
    std::ofstream(path_) << kMachine;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::unique_ptr<EmulatedMachine> Open(MachineOptions options = {}) {
    options.fakeClock = true;
    std::string error;
    auto machine = EmulatedMachine::LoadFile(path_, options, &error);
    EXPECT_NE(machine, nullptr) << error;
    return machine;
  }

  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(MachineState, TwoMachinesOnOneFileKeepEachOthersChanges) {
  auto first = Open();
  auto second = Open();
  ASSERT_TRUE(first && second);
  Download(*first, 'D', "2.11");
  Download(*second, 'E', "2.22");  // `second` still holds D's old state in memory
  EXPECT_EQ(first->LastStateError(), "");
  EXPECT_EQ(second->LastStateError(), "");

  auto reloaded = Open();
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(Revision(*reloaded->DriveAtLetter('D')), "2.11");
  EXPECT_EQ(Revision(*reloaded->DriveAtLetter('E')), "2.22");
  EXPECT_TRUE(std::equal(reloaded->DriveAtLetter('D')->Memory().begin(),
                         reloaded->DriveAtLetter('D')->Memory().end(),
                         first->DriveAtLetter('D')->Memory().begin()));
  // The machine description around the states is kept, and no temporary is left.
  std::ifstream in(path_);
  const auto root = nlohmann::json::parse(in);
  EXPECT_EQ(root.at("description"), "two drives for the write-back tests");
  EXPECT_EQ(root.at("devices").size(), 2u);
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "machine.json" || name == "machine.json.lock") << name;
  }
}

TEST_F(MachineState, SeparateStateFileLeavesTheMachineFileAlone) {
  MachineOptions options;
  options.stateFile = (folder_ / "state.json").string();
  {
    auto machine = Open(options);
    Download(*machine, 'D', "3.01");
  }
  std::ifstream in(path_);
  EXPECT_FALSE(nlohmann::json::parse(in).contains("driveStates"));
  auto reloaded = Open(options);
  EXPECT_EQ(Revision(*reloaded->DriveAtLetter('D')), "3.01");
  auto withoutState = Open();
  EXPECT_NE(Revision(*withoutState->DriveAtLetter('D')), "3.01");

  MachineOptions readOnly = options;
  readOnly.readOnly = true;
  auto reader = Open(readOnly);
  Download(*reader, 'E', "3.02");
  EXPECT_NE(Revision(*Open(options)->DriveAtLetter('E')), "3.02");
}

TEST_F(MachineState, CorruptStateFileIsReportedAndNeverOverwritten) {
  auto machine = Open();
  std::ofstream(path_) << "{ this is not json";
  Download(*machine, 'D', "4.00");
  EXPECT_EQ(machine->LastStateError().rfind(path_ + ": line 1", 0), 0u)
      << machine->LastStateError();
  std::ifstream in(path_);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "{ this is not json");
}

TEST_F(MachineState, StateThatCannotBeWrittenIsReportedOnceOnStderrAndKeptInMemory) {
  MachineOptions options;
  options.stateFile = (folder_ / "no-such-folder" / "state.json").string();
  auto machine = Open(options);
  ::testing::internal::CaptureStderr();
  Download(*machine, 'D', "4.00");
  Download(*machine, 'D', "4.00");
  const std::string printed = ::testing::internal::GetCapturedStderr();
  const std::string lockFile = options.stateFile + ".lock";
  EXPECT_EQ(machine->LastStateError().rfind(lockFile + ": cannot open the lock file", 0), 0u)
      << machine->LastStateError();
  EXPECT_EQ(printed, machine->LastStateError() + "\n");  // once, though it failed twice
  EXPECT_EQ(Revision(*machine->DriveAtLetter('D')), "4.00");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "no-such-folder"));
}

TEST_F(MachineState, WriteBackKeepsTheFilesPermissions) {
  std::filesystem::permissions(
      path_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  if ((std::filesystem::status(path_).permissions() & std::filesystem::perms::group_read) !=
      std::filesystem::perms::none) {
    GTEST_SKIP() << "the file system keeps no permissions per user and group (Windows)";
  }
  auto machine = Open();
  Download(*machine, 'D', "4.00");
  ASSERT_EQ(machine->LastStateError(), "");
  EXPECT_EQ(std::filesystem::status(path_).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

}  // namespace
}  // namespace emu::testing

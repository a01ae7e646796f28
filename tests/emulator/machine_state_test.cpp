// Kept drive state written back to the machine's state file: atomically, under
// a lock, merging only the changed kind of state, and failing the command whose
// change cannot be kept.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_drive.h"
#include "emulator/firmware_builder.h"
#include "tests/emulator/machine_test_support.h"
#include "tests/support/host_calls.h"

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

struct Outcome {
  std::uint8_t status = 0xFF;
  std::uint8_t senseKey = 0, asc = 0, ascq = 0;
};

// One command through the machine's pass-through service; data out when given.
Outcome Send(EmulatedMachine& machine, char letter, const std::vector<std::uint8_t>& cdb,
             std::uint8_t* data = nullptr, std::uint32_t length = 0) {
  const platform::Handle drive = OpenLetter(machine, letter);
  EXPECT_NE(drive, platform::kInvalidHandleValue);
  std::uint8_t none = 0;
  const DirectExchange e = SendDirect(machine, drive, cdb, platform::kScsiIoctlDataOut,
                                      data != nullptr ? data : &none, length, 5, 18);
  machine.PassThrough().CloseHandle(drive);
  EXPECT_TRUE(e.ok);
  const auto& sense = e.record.SenseBuf;
  return {e.record.sptd.ScsiStatus, static_cast<std::uint8_t>(sense[2] & 0x0F), sense[12],
          sense[13]};
}

// The updater's download; the outcome of its closing WRITE BUFFER, which
// programs the drive.
Outcome Download(EmulatedMachine& machine, char letter, const std::string& version) {
  std::vector<std::uint8_t> image = BuildFirmware(*FindDriveModel("KD-410"), version).image;
  EXPECT_EQ(Send(machine, letter, WriteBufferCdb(0x30, 0, 0)).status, kStatusGood);
  for (std::uint32_t offset = 0; offset < kMainImageSize; offset += 0x8000) {
    EXPECT_EQ(
        Send(machine, letter, WriteBufferCdb(0xFF, offset, 0x8000), image.data() + offset, 0x8000)
            .status,
        kStatusGood);
  }
  EXPECT_EQ(Send(machine, letter, WriteBufferCdb(0xFF, kMainImageSize, kTailSize),
                 image.data() + kSingleTailOffset, kTailSize)
                .status,
            kStatusGood);
  return Send(machine, letter, WriteBufferCdb(0x42, 0, 0));
}

// SEND KEY with the RPC structure of one region.
Outcome SetRegion(EmulatedMachine& machine, char letter, int region) {
  std::uint8_t structure[8] = {0, 6, 0, 0, static_cast<std::uint8_t>(~(1u << (region - 1))),
                               0, 0, 0};
  return Send(machine, letter, {0xA3, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x06, 0}, structure, 8);
}

// SET CD SPEED: quiet mode for good.
Outcome SetQuietForGood(EmulatedMachine& machine, char letter) {
  return Send(machine, letter, {0xBB, 0x03, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
}

std::string Revision(EmulatedDrive& drive) {
  return std::string(drive.InquiryData().begin() + 32, drive.InquiryData().begin() + 36);
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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
  void TearDown() override {
    // A read-only file cannot be removed on every system: make it writable first.
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder_);
  }

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

std::set<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST_F(MachineState, MachinesOnOneFileKeepEachOthersChanges) {
  // All three load the file before any of them changes it, so each holds the
  // others' drives, and the other kinds of D's state, as they were.
  auto first = Open();
  auto second = Open();
  auto third = Open();
  ASSERT_TRUE(first && second && third);
  EXPECT_EQ(Download(*first, 'D', "2.11").status, kStatusGood);
  EXPECT_EQ(SetRegion(*second, 'D', 3).status, kStatusGood);
  EXPECT_EQ(SetQuietForGood(*third, 'D').status, kStatusGood);
  EXPECT_EQ(Download(*second, 'E', "2.22").status, kStatusGood);
  for (auto* machine : {first.get(), second.get(), third.get()}) {
    EXPECT_EQ(machine->LastStateError(), "");
  }

  auto reloaded = Open();
  ASSERT_NE(reloaded, nullptr);
  EmulatedDrive& d = *reloaded->DriveAtLetter('D');
  EXPECT_EQ(Revision(d), "2.11");
  EXPECT_TRUE(std::equal(d.Memory().begin(), d.Memory().end(),
                         first->DriveAtLetter('D')->Memory().begin()));
  EXPECT_EQ(d.Region().mask, 0xFB);
  EXPECT_EQ(d.Region().userChanges, 4);
  EXPECT_EQ(d.Speed().permanentMode, SpeedMode::kQuiet);
  EXPECT_EQ(Revision(*reloaded->DriveAtLetter('E')), "2.22");
  // The machine description around the states is kept, and no temporary is left.
  const auto root = nlohmann::json::parse(FileText(path_));
  EXPECT_EQ(root.at("description"), "two drives for the write-back tests");
  EXPECT_EQ(root.at("devices").size(), 2u);
  EXPECT_EQ(FolderEntries(folder_), (std::set<std::string>{"machine.json", "machine.json.lock"}));
}

TEST_F(MachineState, SeparateStateFileLeavesTheMachineFileAlone) {
  MachineOptions options;
  options.stateFile = (folder_ / "state.json").string();
  {
    auto machine = Open(options);
    Download(*machine, 'D', "3.01");
  }
  EXPECT_FALSE(nlohmann::json::parse(FileText(path_)).contains("driveStates"));
  auto reloaded = Open(options);
  EXPECT_EQ(Revision(*reloaded->DriveAtLetter('D')), "3.01");
  auto withoutState = Open();
  EXPECT_NE(Revision(*withoutState->DriveAtLetter('D')), "3.01");

  MachineOptions readOnly = options;
  readOnly.readOnly = true;
  auto reader = Open(readOnly);
  EXPECT_EQ(Download(*reader, 'E', "3.02").status, kStatusGood);
  EXPECT_NE(Revision(*Open(options)->DriveAtLetter('E')), "3.02");
}

TEST_F(MachineState, CorruptStateFileIsReportedAndNeverOverwritten) {
  auto machine = Open();
  std::ofstream(path_) << "{ this is not json";
  std::vector<std::string> told;
  machine->SetFailureNotice([&](const std::string& text) { told.push_back(text); });
  EXPECT_EQ(Download(*machine, 'D', "4.00").status, kStatusCheckCondition);
  EXPECT_EQ(machine->LastStateError().rfind(path_ + ": line 1", 0), 0u)
      << machine->LastStateError();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(FileText(path_), "{ this is not json");
}

// A change the machine cannot keep fails the command that made it, as a drive
// fails a command whose write to its non-volatile memory failed: CHECK
// CONDITION, 04-0C-00 for the REQUEST SENSE, nothing of the change left, and
// the file and the reason told to the program's notice. Each cause fails for
// root too.
TEST_F(MachineState, ChangeThatCannotBeKeptFailsItsCommandAndNamesTheFileAndReason) {
  enum class Cause { kFolderIsAFile, kLockIsAFolder, kReadOnlyFile };
  enum class Kind { kFirmware, kRegion, kSpeedMode };
  for (const Cause cause : {Cause::kFolderIsAFile, Cause::kLockIsAFolder, Cause::kReadOnlyFile}) {
    for (const Kind kind : {Kind::kFirmware, Kind::kRegion, Kind::kSpeedMode}) {
      SCOPED_TRACE(::testing::Message()
                   << "cause " << static_cast<int>(cause) << ", kind " << static_cast<int>(kind));
      TearDown();
      SetUp();
      MachineOptions options;
      // The reason starts so; a lock file that cannot be opened ends in the
      // system's own words for it, which differ between systems.
      std::string reason;
      switch (cause) {
        case Cause::kFolderIsAFile:
          std::ofstream(folder_ / "plain") << "a file, not a folder";
          options.stateFile = (folder_ / "plain" / "state.json").string();
          reason = options.stateFile + ".lock: cannot open the lock file: ";
          break;
        case Cause::kLockIsAFolder:
          std::filesystem::create_directory(path_ + ".lock");
          reason = path_ + ".lock: cannot open the lock file: ";
          break;
        case Cause::kReadOnlyFile:
          std::filesystem::permissions(path_, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
          reason = path_ + ": cannot be written: the file is read-only";
          break;
      }
      const std::string before = FileText(path_);
      std::set<std::string> entries = FolderEntries(folder_);
      entries.erase("machine.json.lock");
      auto machine = Open(options);
      ASSERT_NE(machine, nullptr);
      std::vector<std::string> told;
      machine->SetFailureNotice([&](const std::string& text) { told.push_back(text); });
      EmulatedDrive& drive = *machine->DriveAtLetter('D');
      const std::string revision = Revision(drive);

      Outcome outcome;
      switch (kind) {
        case Kind::kFirmware:
          outcome = Download(*machine, 'D', "4.00");
          break;
        case Kind::kRegion:
          outcome = SetRegion(*machine, 'D', 3);
          break;
        case Kind::kSpeedMode:
          outcome = SetQuietForGood(*machine, 'D');
          break;
      }
      EXPECT_EQ(outcome.status, kStatusCheckCondition);
      EXPECT_EQ(std::vector<int>({outcome.senseKey, outcome.asc, outcome.ascq}),
                std::vector<int>({0x04, 0x0C, 0x00}));
      EXPECT_TRUE(drive.SensePending());
      const std::string error = machine->LastStateError();
      if (cause == Cause::kReadOnlyFile) {
        EXPECT_EQ(error, reason);
      } else {
        EXPECT_EQ(error.rfind(reason, 0), 0u) << error;
        EXPECT_GT(error.size(), reason.size()) << "the system's reason follows";
      }
      EXPECT_EQ(told,
                std::vector<std::string>{"The change to drive D: cannot be kept.\r\n" + error});
      EXPECT_EQ(Revision(drive), revision);
      EXPECT_EQ(drive.ProgrammingCount(), 0u);
      EXPECT_EQ(drive.Region().mask, 0xFF);
      EXPECT_EQ(drive.Region().userChanges, 5);
      EXPECT_EQ(drive.Speed().permanentMode, SpeedMode::kPerformance);
      EXPECT_EQ(drive.Speed().currentMode, SpeedMode::kPerformance);
      EXPECT_EQ(FileText(path_), before);
      std::set<std::string> after = FolderEntries(folder_);
      after.erase("machine.json.lock");  // the lock file may stay; a temporary may not
      EXPECT_EQ(after, entries);
    }
  }
  // Once the file may be written again, the same change is made and kept.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  auto machine = Open();
  EXPECT_EQ(SetQuietForGood(*machine, 'D').status, kStatusGood);
  EXPECT_EQ(Open()->DriveAtLetter('D')->Speed().permanentMode, SpeedMode::kQuiet);
}

// A write that fails halfway (the file-size limit, which binds root too) leaves
// no temporary and the file as it was. In a child process, to keep the limit there.
TEST_F(MachineState, WriteThatFailsHalfwayLeavesNoTemporary) {
  const std::string before = FileText(path_);
  const std::optional<bool> failed = testsupport::RunWithFileSizeLimit(64, [this] {
    auto machine = Open();
    return machine && SetRegion(*machine, 'D', 3).status == kStatusCheckCondition &&
           machine->LastStateError() == path_ + ": cannot write the state: " + std::strerror(EFBIG);
  });
  if (!failed) GTEST_SKIP() << "no file-size limit on this system";
  EXPECT_TRUE(*failed);
  EXPECT_EQ(FileText(path_), before);
  EXPECT_EQ(FolderEntries(folder_), (std::set<std::string>{"machine.json", "machine.json.lock"}));
}

TEST_F(MachineState, WriteBackRemovesOnlyTheTemporariesKilledRunsLeft) {
  const std::map<std::string, std::string> files = {
      {"machine.json.writing-a1B2c3", "{\"devi"},  // ours, cut short
      {"machine.json.Zq81xP", ""},                 // an earlier version's, empty
      {"machine.json.backup", "{}"},               // the user's own copy
      {"machine.json.writing-a1B2c", ""},          // not a name we make
      {"other.json.writing-a1B2c3", ""},           // another file's
  };
  for (const auto& [name, text] : files) std::ofstream(folder_ / name) << text;
  auto machine = Open();
  EXPECT_EQ(SetRegion(*machine, 'D', 2).status, kStatusGood);
  EXPECT_EQ(FolderEntries(folder_),
            (std::set<std::string>{"machine.json", "machine.json.lock", "machine.json.backup",
                                   "machine.json.writing-a1B2c", "other.json.writing-a1B2c3"}));
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

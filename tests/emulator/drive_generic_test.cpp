// INQUIRY, REQUEST SENSE, TEST UNIT READY and unknown commands of the emulated
// drives, and the errors a bad device description gives.
#include <gtest/gtest.h>

#include <string>

#include "tests/emulator/drive_test_commands.h"

namespace emu::testing {
namespace {

const std::vector<std::uint8_t> kInquiry96 = {0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kTestUnitReady(12, 0x00);

std::vector<std::uint8_t> RequestSenseCdb(std::uint8_t allocation) {
  return {0x03, 0, 0, 0, allocation, 0, 0, 0, 0, 0, 0, 0};
}

std::string Text(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t n) {
  return std::string(data.begin() + static_cast<std::ptrdiff_t>(at),
                     data.begin() + static_cast<std::ptrdiff_t>(at + n));
}

TEST(DriveInquiry, TavreonModelAnswersNinetySixBytesWithItsFirmwareIdentity) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  const Exchange e = RunIn(*drive, kInquiry96, 96);
  ASSERT_EQ(e.answer.scsiStatus, kStatusGood);
  ASSERT_EQ(e.data.size(), 96u);
  EXPECT_EQ(e.data[0], 0x05);
  EXPECT_EQ(e.data[1], 0x80);
  EXPECT_EQ(e.data[2], 0x00);
  EXPECT_EQ(e.data[3], 0x32);
  EXPECT_EQ(e.data[4], 91);
  EXPECT_EQ(Text(e.data, 8, 8), "TAVREON ");
  EXPECT_EQ(Text(e.data, 16, 16), "DVD-ROM KD-410  ");
  EXPECT_EQ(Text(e.data, 32, 4), "1.00");
}

TEST(DriveInquiry, TransfersNoMoreThanTheAllocationLength) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  std::vector<std::uint8_t> cdb = kInquiry96;
  cdb[4] = 36;
  EXPECT_EQ(RunIn(*drive, cdb, 96).answer.bytesTransferred, 36u);
  // A larger allocation still yields the 96 bytes the drive has.
  cdb[3] = 0x01;
  cdb[4] = 0x00;
  EXPECT_EQ(RunIn(*drive, cdb, 512).answer.bytesTransferred, 96u);
}

TEST(DriveInquiry, PlainDevicesReportTheirTypeAndJsonIdentityVerbatim) {
  auto writer = MakeDrive(
      R"({"type": "0x04", "vendor": "WRITEON", "product": "CD-RW DRIVE 4012", "revision": "1.0C"})");
  Exchange e = RunIn(*writer, kInquiry96, 96);
  EXPECT_EQ(e.data[0], 0x04);
  EXPECT_EQ(e.data[1], 0x80);
  EXPECT_NE(e.data[3], 0x32);
  EXPECT_EQ(Text(e.data, 8, 28), "WRITEON CD-RW DRIVE 40121.0C");

  auto disk = MakeDrive(R"({"type": 0, "vendor": "MAXIDISK", "product": "HD-9100"})");
  e = RunIn(*disk, kInquiry96, 96);
  EXPECT_EQ(e.data[0], 0x00);
  EXPECT_EQ(e.data[1], 0x00);  // fixed disk: not removable
  EXPECT_EQ(Text(e.data, 16, 16), "HD-9100         ");
  EXPECT_EQ(disk->PeripheralType(), 0x00);
}

TEST(DriveInquiry, JsonFieldsOverrideTheModelIdentity) {
  auto drive = MakeDrive(R"({"model": "KD-410", "revision": "9.99"})");
  const Exchange e = RunIn(*drive, kInquiry96, 96);
  EXPECT_EQ(Text(e.data, 8, 28), "TAVREON DVD-ROM KD-410  9.99");
}

TEST(DriveSense, RequestSenseReturnsTheLastFailureOnceInFixedFormat) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  const std::vector<std::uint8_t> unknown = {0xD7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const CommandAnswer failed = RunIn(*drive, unknown, 0).answer;
  EXPECT_EQ(failed.scsiStatus, kStatusCheckCondition);
  EXPECT_EQ(SenseOf(failed), (Sense3{0x05, 0x20, 0x00}));

  // INQUIRY in between does not disturb the pending sense.
  RunIn(*drive, kInquiry96, 96);
  Exchange sense = RunIn(*drive, RequestSenseCdb(18), 18);
  ASSERT_EQ(sense.answer.scsiStatus, kStatusGood);
  ASSERT_EQ(sense.data.size(), 18u);
  EXPECT_EQ(sense.data[0], 0x70);
  EXPECT_EQ(sense.data[2], 0x05);
  EXPECT_EQ(sense.data[7], 10);
  EXPECT_EQ(sense.data[12], 0x20);
  EXPECT_EQ(sense.data[13], 0x00);

  sense = RunIn(*drive, RequestSenseCdb(18), 18);
  EXPECT_EQ(sense.data[2], 0x00) << "sense must be cleared once reported";
  EXPECT_EQ(sense.data[12], 0x00);
}

TEST(DriveSense, RequestSenseIsCutToAllocationAndAGoodCommandClearsOldSense) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  RunIn(*drive, kTestUnitReady, 0);  // no disc: 02-3A-00
  Exchange sense = RunIn(*drive, RequestSenseCdb(14), 24);
  EXPECT_EQ(sense.data.size(), 14u);
  EXPECT_EQ(sense.data[12], 0x3A);

  drive->SetDisc(DiscKind::kDvd);
  RunIn(*drive, std::vector<std::uint8_t>{0xD7, 0, 0, 0, 0, 0}, 0);
  ASSERT_EQ(RunIn(*drive, kTestUnitReady, 0).answer.scsiStatus, kStatusGood);
  sense = RunIn(*drive, RequestSenseCdb(18), 18);
  EXPECT_EQ(sense.data[2], 0x00);
}

TEST(DriveSense, FailWithKeepsInjectedSenseForRequestSense) {
  auto drive = MakeDrive(R"({"model": "KD-320"})");
  const CommandAnswer answer = drive->FailWith({0x03, 0x11, 0x00});
  EXPECT_EQ(answer.scsiStatus, kStatusCheckCondition);
  const Exchange sense = RunIn(*drive, RequestSenseCdb(18), 18);
  EXPECT_EQ((Sense3{sense.data[2], sense.data[12], sense.data[13]}), (Sense3{0x03, 0x11, 0x00}));
}

TEST(DriveTestUnitReady, NoDiscIsNotReadyMediumNotPresent) {
  auto empty = MakeDrive(R"({"model": "KD-410", "disc": "none"})");
  const CommandAnswer answer = RunIn(*empty, kTestUnitReady, 0).answer;
  EXPECT_EQ(answer.scsiStatus, kStatusCheckCondition);
  EXPECT_EQ(SenseOf(answer), (Sense3{0x02, 0x3A, 0x00}));

  auto loaded = MakeDrive(R"({"model": "KD-410", "disc": "cd"})");
  EXPECT_EQ(RunIn(*loaded, kTestUnitReady, 0).answer.scsiStatus, kStatusGood);
}

TEST(DriveCommands, BadFieldsAndUnknownCommandsAreIllegalRequests) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  std::vector<std::uint8_t> evpd = kInquiry96;
  evpd[1] = 0x01;
  EXPECT_EQ(SenseOf(RunIn(*drive, evpd, 96).answer), (Sense3{0x05, 0x24, 0x00}));
  // A device without firmware does not know the buffer commands.
  auto disk = MakeDrive(R"({"type": 0})");
  EXPECT_EQ(SenseOf(RunIn(*disk, BufferCdb(kReadBuffer, kBufferMemory, 0, 0x20), 0x20).answer),
            (Sense3{0x05, 0x20, 0x00}));
}

struct BadDevice {
  const char* json;
  const char* message;
};

TEST(DriveConfig, BadDescriptionsNameTheFieldAndFail) {
  const BadDevice cases[] = {
      {R"({"model": "KD-999"})", "test: devices[0].model: unknown model"},
      {R"({"model": 5})", "test: devices[0].model: unknown model"},
      {R"({"controller": "HITACHI H8_3062A"})", "test: devices[0].controller: only a drive with"},
      {R"({"product": "A PRODUCT FIELD TOO LONG"})", "test: devices[0].product: at most 16"},
      {R"({"type": "0x100"})", "test: devices[0].type: must be at most 255"},
      {R"({"type": "five"})", "test: devices[0].type: \"five\" is not a number"},
      {R"({"disc": "floppy"})", "test: devices[0].disc: expected"},
      {R"({"model": "KD-410", "firmwareVersion": "1.005"})",
       "test: devices[0].firmwareVersion: at most 4"},
      {R"({"model": "KD-410", "corruptDuringProgramming": {"offset": "0x30000"}})",
       "test: devices[0].corruptDuringProgramming.offset: must be at most"},
      {R"({"model": "KD-410", "corruptDuringProgramming": {"offset": 1, "when": 2}})",
       "test: devices[0].corruptDuringProgramming.when: unknown key"},
      {R"({"model": "KD-410", "bufferFaults": [{"bufferId": 255, "sense": "3-0C-00"}]})",
       "test: devices[0].bufferFaults[0].sense: expected"},
      {R"({"model": "KD-410", "bufferFaults": [{"sense": "03-0C-00"}]})",
       "test: devices[0].bufferFaults[0].bufferId: missing"},
      {R"([1, 2])", "test: devices[0]: expected an object"},
  };
  for (const BadDevice& bad : cases) {
    std::string error;
    EXPECT_EQ(EmulatedDrive::FromJson(nlohmann::json::parse(bad.json), "test: devices[0]", &error),
              nullptr)
        << bad.json;
    EXPECT_EQ(error.rfind(bad.message, 0), 0u) << bad.json << " gave: " << error;
  }
}

}  // namespace
}  // namespace emu::testing

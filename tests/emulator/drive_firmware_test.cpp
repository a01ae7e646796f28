// The emulated drives' firmware commands: drive memory through READ BUFFER, the
// WRITE BUFFER download and its checks, programming and its faults, kept state.
#include <gtest/gtest.h>

#include <string>

#include "emulator/drive_catalogue.h"
#include "tests/emulator/drive_test_commands.h"

namespace emu::testing {
namespace {

const std::vector<std::uint8_t> kInquiry96 = {0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kTestUnitReady(12, 0x00);
const Sense3 kInvalidField{0x05, 0x24, 0x00};
const Sense3 kSequenceError{0x05, 0x2C, 0x00};
const Sense3 kFirmwareRejected{0x05, 0x26, 0x00};

std::string ReadText(EmulatedDrive& drive, std::uint32_t offset, std::uint32_t length,
                     std::uint32_t nowMs = 0) {
  const Exchange e =
      RunIn(drive, BufferCdb(kReadBuffer, kBufferMemory, offset, length), length, nowMs);
  EXPECT_EQ(e.answer.scsiStatus, kStatusGood);
  return std::string(e.data.begin(), e.data.end());
}

std::string InquiryProduct(EmulatedDrive& drive) {
  const Exchange e = RunIn(drive, kInquiry96, 96);
  return std::string(e.data.begin() + 8, e.data.begin() + 36);
}

std::vector<std::uint8_t> Image(const char* model, const char* version,
                                BrokenVariant broken = BrokenVariant::kNone) {
  return BuildFirmware(*FindDriveModel(model), version, broken).image;
}

TEST(DriveMemory, IdentityBlockSitsWhereEachModelKeepsIt) {
  struct Case {
    const char* model;
    std::uint32_t offset;
    const char* identity;
  };
  const Case cases[] = {
      {"KD-410", 0x1000, "TAVREON G6KD410 HITACHI H8_3064F"},
      {"KD-320", 0x1000, "TAVREON G5KD320 HITACHI H8_3062R"},
      {"KD-310", 0x1000, "TAVREON G5KD310 HITACHI H8_3062A"},
      {"KD-4200-LUMAX", 0x100, "TAVREON G6KD4200HITACHI H8_3064F"},
      {"KD-420-ORBEC", 0x2000, "TAVREON G6KD420 HITACHI H8_3064F"},
  };
  for (const Case& c : cases) {
    auto drive = MakeDrive(std::string(R"({"model": ")") + c.model + "\"}");
    EXPECT_EQ(ReadText(*drive, c.offset, 0x20), c.identity) << c.model;
    if (c.offset != 0x1000) {
      EXPECT_NE(ReadText(*drive, 0x1000, 8), "TAVREON ") << c.model;
    }
  }
}

TEST(DriveMemory, JsonControllerAndFamilyReplaceTheDrivesIdentity) {
  auto drive =
      MakeDrive(R"({"model": "KD-410", "controller": "HITACHI H8_3048F", "family": "OTHER"})");
  EXPECT_EQ(ReadText(*drive, 0x1000, 0x20), "TAVREON OTHER   HITACHI H8_3048F");
}

TEST(DriveMemory, ReadBufferRejectsOffsetsAndModesOutsideDriveMemory) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_EQ(RunIn(*drive, BufferCdb(kReadBuffer, kBufferMemory, 0x18000, 0x8000), 0x8000)
                .answer.bytesTransferred,
            0x8000u);
  EXPECT_EQ(
      SenseOf(
          RunIn(*drive, BufferCdb(kReadBuffer, kBufferMemory, kDriveMemorySize - 0x10, 0x20), 0x20)
              .answer),
      kInvalidField);
  EXPECT_EQ(SenseOf(RunIn(*drive, BufferCdb(kReadBuffer, 0x81, 0, 0x20), 0x20).answer),
            kInvalidField);
  std::vector<std::uint8_t> mode2 = BufferCdb(kReadBuffer, kBufferMemory, 0, 0x20);
  mode2[1] = 0x02;
  EXPECT_EQ(SenseOf(RunIn(*drive, mode2, 0x20).answer), kInvalidField);
}

class DriveDownload : public ::testing::Test {
 protected:
  std::unique_ptr<EmulatedDrive> drive_ =
      MakeDrive(R"({"model": "KD-410", "notReadyAfterProgrammingMs": 8000, "unitBytes": 77})");
  std::vector<std::uint8_t> image_ = Image("KD-410", "1.05");
};

TEST_F(DriveDownload, GoodDownloadProgramsTheImageButKeepsUnitBytes) {
  const std::vector<std::uint8_t> unitBefore(
      drive_->Memory().begin() + kUnitBytesOffset,
      drive_->Memory().begin() + kUnitBytesOffset + kUnitBytesSize);
  const CommandAnswer answer = Download(*drive_, image_, 0x00000, kSingleTailOffset, 1000);
  ASSERT_EQ(answer.scsiStatus, kStatusGood) << int(answer.sense[12]);
  EXPECT_EQ(answer.keptChange, KeptKind::kFirmware);
  EXPECT_EQ(drive_->ProgrammingCount(), 1u);

  const auto memory = drive_->Memory();
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + kUnitBytesOffset, image_.begin()));
  EXPECT_TRUE(
      std::equal(memory.begin() + kUnitBytesOffset, memory.begin() + 0x450, unitBefore.begin()));
  EXPECT_TRUE(
      std::equal(memory.begin() + 0x450, memory.begin() + kMainImageSize, image_.begin() + 0x450));
  // Tail block lands after the main image.
  EXPECT_TRUE(std::equal(memory.begin() + kMainImageSize, memory.end(),
                         image_.begin() + kSingleTailOffset));
  EXPECT_EQ(InquiryProduct(*drive_), "TAVREON DVD-ROM KD-410  1.05");
}

TEST_F(DriveDownload, ProgrammedDriveIsNotReadyUntilItsWindowEnds) {
  ASSERT_EQ(Download(*drive_, image_, 0, kSingleTailOffset, 1000).scsiStatus, kStatusGood);
  drive_->SetDisc(DiscKind::kDvd);
  const Sense3 becomingReady{0x02, 0x04, 0x01};
  EXPECT_EQ(SenseOf(RunIn(*drive_, kTestUnitReady, 0, 1000).answer), becomingReady);
  EXPECT_EQ(
      SenseOf(RunIn(*drive_, BufferCdb(kReadBuffer, kBufferMemory, 0, 0x20), 0x20, 8999).answer),
      becomingReady);
  // INQUIRY is still answered while the drive starts up.
  EXPECT_EQ(RunIn(*drive_, kInquiry96, 96, 5000).answer.scsiStatus, kStatusGood);
  EXPECT_EQ(RunIn(*drive_, kTestUnitReady, 0, 9000).answer.scsiStatus, kStatusGood);
  EXPECT_EQ(
      RunIn(*drive_, BufferCdb(kReadBuffer, kBufferMemory, 0, 0x20), 0x20, 9001).answer.scsiStatus,
      kStatusGood);
}

TEST_F(DriveDownload, CommandsOutOfOrderAreSequenceErrorsAndProgramNothing) {
  const auto memoryBefore =
      std::vector<std::uint8_t>(drive_->Memory().begin(), drive_->Memory().end());
  // Data before the start command.
  EXPECT_EQ(SenseOf(Chunk(*drive_, image_, 0, 0, kChunkSize)), kSequenceError);
  // Finish before the start command.
  EXPECT_EQ(SenseOf(Finish(*drive_)), kSequenceError);
  // Finish without data.
  ASSERT_EQ(Start(*drive_).scsiStatus, kStatusGood);
  EXPECT_EQ(SenseOf(Finish(*drive_)), kSequenceError);
  EXPECT_FALSE(drive_->DownloadOpen());
  // A skipped chunk ends the download.
  ASSERT_EQ(Start(*drive_).scsiStatus, kStatusGood);
  ASSERT_EQ(Chunk(*drive_, image_, 0, 0, kChunkSize).scsiStatus, kStatusGood);
  EXPECT_EQ(SenseOf(Chunk(*drive_, image_, 0x10000, 0x10000, kChunkSize)), kSequenceError);
  EXPECT_EQ(SenseOf(Finish(*drive_)), kSequenceError);
  // Every chunk but the tail.
  ASSERT_EQ(Start(*drive_).scsiStatus, kStatusGood);
  for (std::uint32_t d = 0; d < kMainImageSize; d += kChunkSize) {
    ASSERT_EQ(Chunk(*drive_, image_, d, d, kChunkSize).scsiStatus, kStatusGood);
  }
  EXPECT_EQ(SenseOf(Finish(*drive_)), kSequenceError);

  EXPECT_EQ(drive_->ProgrammingCount(), 0u);
  EXPECT_TRUE(std::equal(memoryBefore.begin(), memoryBefore.end(), drive_->Memory().begin()));
}

TEST_F(DriveDownload, ChunksOffTheGridOrWithBadFieldsAreInvalidFields) {
  ASSERT_EQ(Start(*drive_).scsiStatus, kStatusGood);
  EXPECT_EQ(SenseOf(Chunk(*drive_, image_, 0, 0, 0x4000)), kInvalidField);
  EXPECT_EQ(SenseOf(Chunk(*drive_, image_, 0x100, 0x100, kChunkSize)), kInvalidField);
  EXPECT_EQ(SenseOf(Chunk(*drive_, image_, kSingleTailOffset, 0x20000, 0x1000)), kInvalidField);
  EXPECT_EQ(SenseOf(RunOut(*drive_, BufferCdb(kWriteBuffer, 0x31, 0, 0), {})), kInvalidField);
  EXPECT_EQ(SenseOf(RunOut(*drive_, BufferCdb(kWriteBuffer, kBufferStart, 0, 4),
                           std::vector<std::uint8_t>(4))),
            kInvalidField);
  EXPECT_EQ(SenseOf(RunOut(*drive_, BufferCdb(kWriteBuffer, kBufferFinish, 0x1000, 0), {})),
            kInvalidField);
  // A chunk whose data phase is shorter than its length field.
  EXPECT_EQ(SenseOf(RunOut(*drive_, BufferCdb(kWriteBuffer, kBufferData, 0, kChunkSize),
                           std::span(image_).first(0x100))),
            (Sense3{0x05, 0x1A, 0x00}));
  // None of these spoiled the download: it still completes.
  for (std::uint32_t d = 0; d < kMainImageSize; d += kChunkSize) {
    ASSERT_EQ(Chunk(*drive_, image_, d, d, kChunkSize).scsiStatus, kStatusGood);
  }
  ASSERT_EQ(Chunk(*drive_, image_, kSingleTailOffset, kMainImageSize, kTailSize).scsiStatus,
            kStatusGood);
  EXPECT_EQ(Finish(*drive_).scsiStatus, kStatusGood);
}

TEST_F(DriveDownload, FirmwareForAnotherDriveIsRefusedAtTheFinish) {
  for (BrokenVariant broken :
       {BrokenVariant::kWrongController, BrokenVariant::kWrongFamily, BrokenVariant::kNoIdentity}) {
    const auto bad = Image("KD-410", "1.05", broken);
    EXPECT_EQ(SenseOf(Download(*drive_, bad, 0, kSingleTailOffset)), kFirmwareRejected)
        << BrokenVariantName(broken);
  }
  EXPECT_EQ(SenseOf(Download(*drive_, Image("KD-420-ORBEC", "1.05"), 0, kSingleTailOffset)),
            kFirmwareRejected);
  EXPECT_EQ(drive_->ProgrammingCount(), 0u);
  EXPECT_EQ(InquiryProduct(*drive_), "TAVREON DVD-ROM KD-410  1.00");
}

TEST_F(DriveDownload, ImageWithoutTemplateProgramsButKeepsTheOldIdentity) {
  const auto noTemplate = Image("KD-410", "1.07", BrokenVariant::kNoTemplate);
  ASSERT_EQ(Download(*drive_, noTemplate, 0, kSingleTailOffset).scsiStatus, kStatusGood);
  EXPECT_EQ(InquiryProduct(*drive_), "TAVREON DVD-ROM KD-410  1.00");
  EXPECT_EQ(ReadText(*drive_, 0x3F5, 4, 20000), "1.07");
}

TEST(DriveDownloadDual, H8_3062RDriveTakesTheSecondImage) {
  auto drive = MakeDrive(R"({"model": "KD-320", "notReadyAfterProgrammingMs": 0})");
  const auto image = Image("KD-320", "1.10");
  ASSERT_EQ(Download(*drive, image, kSecondImageOffset, kDualSecondTailOffset).scsiStatus,
            kStatusGood);
  EXPECT_EQ(ReadText(*drive, 0x1000, 0x20), "TAVREON G5KD320 HITACHI H8_3062R");
  EXPECT_EQ(InquiryProduct(*drive), "TAVREON DVD-ROM KD-320  1.10");
  const auto memory = drive->Memory();
  EXPECT_TRUE(std::equal(memory.begin() + 0x450, memory.begin() + kMainImageSize,
                         image.begin() + kSecondImageOffset + 0x450));

  // The first image carries the other controller: this drive refuses it.
  EXPECT_EQ(SenseOf(Download(*drive, image, 0, kDualFirstTailOffset)), kFirmwareRejected);
}

TEST(DriveFaults, CorruptionDuringProgrammingFlipsTheByteOnlyAsOftenAsAsked) {
  auto drive = MakeDrive(
      R"({"model": "KD-410", "corruptDuringProgramming": {"offset": "0x8000", "times": 1}})");
  const auto image = Image("KD-410", "1.05");
  ASSERT_EQ(Download(*drive, image, 0, kSingleTailOffset).scsiStatus, kStatusGood);
  EXPECT_EQ(drive->Memory()[0x8000], static_cast<std::uint8_t>(image[0x8000] ^ 0xFF));
  EXPECT_EQ(drive->Memory()[0x7FFF], image[0x7FFF]);
  EXPECT_EQ(drive->Memory()[0x8001], image[0x8001]);

  ASSERT_EQ(Download(*drive, image, 0, kSingleTailOffset, 20000).scsiStatus, kStatusGood);
  EXPECT_EQ(drive->Memory()[0x8000], image[0x8000]);
}

TEST(DriveFaults, AlwaysCorruptingDriveFailsEveryProgramming) {
  auto drive = MakeDrive(
      R"({"model": "KD-410", "corruptDuringProgramming": {"offset": 1023, "times": "always"}})");
  const auto image = Image("KD-410", "1.05");
  for (std::uint32_t now : {0u, 20000u}) {
    ASSERT_EQ(Download(*drive, image, 0, kSingleTailOffset, now).scsiStatus, kStatusGood);
    EXPECT_EQ(drive->Memory()[1023], static_cast<std::uint8_t>(image[1023] ^ 0xFF));
  }
}

TEST(DriveFaults, BufferFaultsFailOneChunkOrOneReadAtTheirOffset) {
  auto drive = MakeDrive(R"({"model": "KD-410", "notReadyAfterProgrammingMs": 0,
      "bufferFaults": [{"bufferId": "0xFF", "offset": "0x10000", "sense": "03-0C-00"},
                       {"bufferId": "0x80", "offset": "0x8000", "sense": "03-11-00",
                        "times": "always"}]})");
  const auto image = Image("KD-410", "1.05");
  ASSERT_EQ(Start(*drive).scsiStatus, kStatusGood);
  ASSERT_EQ(Chunk(*drive, image, 0, 0, kChunkSize).scsiStatus, kStatusGood);
  ASSERT_EQ(Chunk(*drive, image, 0x8000, 0x8000, kChunkSize).scsiStatus, kStatusGood);
  EXPECT_EQ(SenseOf(Chunk(*drive, image, 0x10000, 0x10000, kChunkSize)),
            (Sense3{0x03, 0x0C, 0x00}));
  const Exchange sense = RunIn(*drive, {0x03, 0, 0, 0, 18, 0}, 18);
  EXPECT_EQ((Sense3{sense.data[2], sense.data[12], sense.data[13]}), (Sense3{0x03, 0x0C, 0x00}));
  // Once only: the next full download goes through.
  ASSERT_EQ(Download(*drive, image, 0, kSingleTailOffset).scsiStatus, kStatusGood);

  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(
        SenseOf(RunIn(*drive, BufferCdb(kReadBuffer, kBufferMemory, 0x8000, kChunkSize), kChunkSize)
                    .answer),
        (Sense3{0x03, 0x11, 0x00}));
  }
  EXPECT_EQ(RunIn(*drive, BufferCdb(kReadBuffer, kBufferMemory, 0x10000, kChunkSize), kChunkSize)
                .answer.scsiStatus,
            kStatusGood);
}

TEST(DriveState, SavedStateRestoresProgrammedFirmwareOnAFreshDrive) {
  const std::string device = R"({"model": "KD-320", "unitBytes": 5})";
  auto drive = MakeDrive(device);
  EXPECT_TRUE(drive->SaveState().value("memory", nlohmann::json::array()).empty());
  const auto image = Image("KD-320", "1.10");
  ASSERT_EQ(Download(*drive, image, kSecondImageOffset, kDualSecondTailOffset).scsiStatus,
            kStatusGood);
  drive->MutableMemory()[0x12345] ^= 0x5A;
  const nlohmann::json state = drive->SaveState();
  // Only the differences are kept: a new version changes a handful of bytes.
  EXPECT_LT(state.dump().size(), 2000u);

  auto fresh = MakeDrive(device);
  std::string error;
  ASSERT_TRUE(fresh->LoadState(nlohmann::json::parse(state.dump()), &error)) << error;
  EXPECT_TRUE(std::equal(drive->Memory().begin(), drive->Memory().end(), fresh->Memory().begin()));
  EXPECT_EQ(InquiryProduct(*fresh), "TAVREON DVD-ROM KD-320  1.10");
}

TEST(DriveState, BadStateIsRefusedWithItsFieldAndChangesNothing) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  const std::vector<std::uint8_t> before(drive->Memory().begin(), drive->Memory().end());
  const std::pair<const char*, const char*> cases[] = {
      {R"({"memory": [{"offset": "0x0", "bytes": "AA"}, {"offset": "0x21000", "bytes": "00112233445566778899AABBCCDDEEFF00"}]})",
       "state.memory[1]: run lies outside drive memory"},
      {R"({"memory": [{"offset": "zz", "bytes": "AA"}]})", "state.memory[0].offset:"},
      {R"({"memory": [{"offset": "0x10", "bytes": "A"}]})", "state.memory[0].bytes:"},
      {R"({"inquiry": "4142"})", "state.inquiry:"},
      {R"({"colour": 1})", "state.colour: unknown key"},
  };
  for (const auto& [json, message] : cases) {
    std::string error;
    EXPECT_FALSE(drive->LoadState(nlohmann::json::parse(json), &error)) << json;
    EXPECT_EQ(error.rfind(message, 0), 0u) << error;
  }
  EXPECT_TRUE(std::equal(before.begin(), before.end(), drive->Memory().begin()));
}

}  // namespace
}  // namespace emu::testing

// The steps of an update on their own: image layout choice, the drive identity
// search, the download's bytes and marker, the read-back compare and the timed
// wait on a fake clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "flash/update_procedure.h"
#include "tests/flash/update_memory_transport.h"
#include "tests/support/fake_updater_ui.h"

namespace {

using drvcmd::ProgramId;

const drvcmd::DriveAddress kDrive{'D', 0, 0};

flash::ControllerType Controller(const char (&text)[17]) {
  flash::ControllerType type{};
  std::memcpy(type.data(), text, type.size());
  return type;
}

std::uint32_t CdbOffset(const drvcmd::ScsiRequest& request) {
  return (request.cdb[3] << 16) | (request.cdb[4] << 8) | request.cdb[5];
}

TEST(ImageLayoutTest, OnlyGenerationFiveWithTheH8ControllerTakesTheSecondImage) {
  const auto h8 = Controller("HITACHI H8_3062R");
  const auto other = Controller("HITACHI H8_3048F");
  EXPECT_EQ(flash::SelectImageLayout(5, h8).imageBase, 0x20000u);
  EXPECT_EQ(flash::SelectImageLayout(5, h8).tailOffset, 0x41000u);
  EXPECT_EQ(flash::SelectImageLayout(5, other).imageBase, 0x00000u);
  EXPECT_EQ(flash::SelectImageLayout(5, other).tailOffset, 0x40000u);
  EXPECT_EQ(flash::SelectImageLayout(6, h8).imageBase, 0x00000u);
  EXPECT_EQ(flash::SelectImageLayout(6, h8).tailOffset, 0x20000u);
  EXPECT_EQ(flash::SelectImageLayout(0, other).tailOffset, 0x20000u);
}

class DriveMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk);
    image.bytes = transport.ImageBuffer().first(flash::kImageSize);
  }
  void PutBlock(std::uint32_t offset, const char* identity, const char* controller) {
    std::memcpy(&transport.memory[offset], identity, 16);
    std::memcpy(&transport.memory[offset + 16], controller, 16);
  }
  std::vector<std::uint32_t> ReadOffsets() const {
    std::vector<std::uint32_t> offsets;
    for (const auto& entry : transport.requests) offsets.push_back(CdbOffset(entry.request));
    return offsets;
  }
  std::string Text(std::span<const std::uint8_t> bytes) const {
    return std::string(bytes.begin(), bytes.end());
  }

  flashtest::MemoryTransport transport{ProgramId::kFlashSpti};
  flash::FirmwareImage image;
  flash::ImageIdentity identity{};
  flash::ControllerType controller{};
};

TEST_F(DriveMemoryTest, IdentityIsTakenAtTheFirstPlaceThatCarriesTheSignature) {
  PutBlock(0x1000, "TAVREON KD4XFAM1", "HITACHI H8_3048F");
  PutBlock(0x2000, "TAVREON OTHERFAM", "OTHER CONTROLLER");
  ASSERT_EQ(flash::ReadDriveIdentity(transport, kDrive, identity, controller), 0);
  EXPECT_EQ(Text(identity), "TAVREON KD4XFAM1");
  EXPECT_EQ(Text(controller), "HITACHI H8_3048F");
  EXPECT_EQ(ReadOffsets(), (std::vector<std::uint32_t>{0x1000}));
  EXPECT_EQ(transport.requests[0].request.transferLength, 0x20u);
}

TEST_F(DriveMemoryTest, SignatureOnlyAtTheOldPlaceGivesAnIdentityNoImageMatches) {
  PutBlock(0x100, "TAVREON KD4XFAM1", "HITACHI H8_3048F");
  ASSERT_EQ(flash::ReadDriveIdentity(transport, kDrive, identity, controller), 0);
  EXPECT_EQ(Text(identity), "Not recognize   ");
  EXPECT_EQ(Text(controller), "Not recognize   ");
  EXPECT_EQ(ReadOffsets(), (std::vector<std::uint32_t>{0x1000, 0x100}));

  // Even an image that claims that controller text is refused.
  std::memcpy(image.controllerType1.data(), "Not recognize   ", 16);
  EXPECT_FALSE(flash::ControllerMatches(image, controller));
}

TEST_F(DriveMemoryTest, WithoutAnySignatureTheBlockAt2000IsTakenUnchecked) {
  PutBlock(0x2000, "OEMVENDRFAMILY02", "SOME CONTROLLER ");
  ASSERT_EQ(flash::ReadDriveIdentity(transport, kDrive, identity, controller), 0);
  EXPECT_EQ(Text(identity), "OEMVENDRFAMILY02");
  EXPECT_EQ(Text(controller), "SOME CONTROLLER ");
  EXPECT_EQ(ReadOffsets(), (std::vector<std::uint32_t>{0x1000, 0x100, 0x2000}));
}

TEST_F(DriveMemoryTest, ControllerMayMatchEitherImageControllerAndIdentityMustMatchExactly) {
  image.controllerType1 = Controller("HITACHI H8_3048F");
  image.controllerType2 = Controller("HITACHI H8_3062R");
  EXPECT_TRUE(flash::ControllerMatches(image, Controller("HITACHI H8_3062R")));
  EXPECT_TRUE(flash::ControllerMatches(image, Controller("HITACHI H8_3048F")));
  EXPECT_FALSE(flash::ControllerMatches(image, Controller("HITACHI H8_3062r")));

  std::memcpy(image.imageIdentity.data(), "TAVREON KD4XFAM1", 16);
  std::memcpy(identity.data(), "TAVREON KD4XFAM1", 16);
  EXPECT_TRUE(flash::IdentityMatches(image, identity));
  identity[15] = '2';
  EXPECT_FALSE(flash::IdentityMatches(image, identity));
}

TEST_F(DriveMemoryTest, DualImageDriveGetsTheSecondImageAndTheMarkedTail) {
  for (std::size_t i = 0; i < 0x42000; ++i) image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const flash::ImageLayout layout{0x20000, 0x41000};
  ASSERT_EQ(flash::WriteFirmwareImage(transport, kDrive, image, layout), 0);

  ASSERT_EQ(transport.requests.size(), 6u);
  EXPECT_EQ(transport.requests[0].request.cdb[2], 0x30);
  const std::uint32_t chunkOffsets[] = {0x00000, 0x08000, 0x10000, 0x18000};
  for (int i = 0; i < 4; ++i) {
    const auto& entry = transport.requests[i + 1];
    SCOPED_TRACE(i);
    EXPECT_EQ(entry.request.cdb[2], 0xFF);
    EXPECT_EQ(CdbOffset(entry.request), chunkOffsets[i]);
    const auto expected = image.bytes.subspan(0x20000 + chunkOffsets[i], 0x8000);
    EXPECT_TRUE(
        std::equal(expected.begin(), expected.end(), entry.dataOut.begin(), entry.dataOut.end()));
  }
  const auto& tail = transport.requests[5];
  EXPECT_EQ(CdbOffset(tail.request), 0x20000u);
  ASSERT_EQ(tail.dataOut.size(), 0x1010u);
  const auto tailSource = image.bytes.subspan(0x41000, 0x1000);
  EXPECT_TRUE(std::equal(tailSource.begin(), tailSource.end(), tail.dataOut.begin()));
  // The 16 bytes after the tail block: the marker, then the image buffer's zeros.
  const std::vector<std::uint8_t> trailer(tail.dataOut.begin() + 0x1000, tail.dataOut.end());
  EXPECT_EQ(trailer,
            (std::vector<std::uint8_t>{'W', 'I', 'N', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Text(image.bytes.subspan(0x42000, 3)), "WIN");
}

TEST_F(DriveMemoryTest, SingleImageDriveMarkerOverwritesTheLoadedImage) {
  std::fill(image.bytes.begin(), image.bytes.begin() + 0x42000, 0x11);
  ASSERT_EQ(flash::WriteFirmwareImage(transport, kDrive, image, {0x00000, 0x20000}), 0);
  EXPECT_EQ(Text(image.bytes.subspan(0x21000, 3)), "WIN");
  EXPECT_EQ(image.bytes[0x21003], 0x11);
  EXPECT_EQ(CdbOffset(transport.requests[5].request), 0x20000u);
  EXPECT_EQ(transport.requests[5].dataOut[0], 0x11);
}

class VerifyTest : public DriveMemoryTest {
 protected:
  void SetUp() override {
    DriveMemoryTest::SetUp();
    for (std::size_t i = 0; i < 0x20000; ++i) {
      image.bytes[0x20000 + i] = transport.memory[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    }
  }
  int Verify() { return flash::VerifyFirmwareImage(transport, kDrive, image, 0x20000, 0x20000); }
};

TEST_F(VerifyTest, EqualMemoryIsReadInFourChunksIntoTheDataBuffer) {
  EXPECT_EQ(Verify(), 0);
  EXPECT_EQ(ReadOffsets(), (std::vector<std::uint32_t>{0x00000, 0x08000, 0x10000, 0x18000}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(transport.requests[i].request.buffer, transport.DataBuffer().data() + i * 0x8000);
    EXPECT_EQ(transport.requests[i].request.transferLength, 0x8000u);
  }
}

TEST_F(VerifyTest, EachRegionGivesItsOwnCodeAndTheUnitBytesAreSkipped) {
  struct Case {
    std::uint32_t offset;
    int expected;
  };
  const Case cases[] = {{0x000, -1}, {0x3FF, -1},  {0x400, 0},   {0x44F, 0},
                        {0x450, -2}, {0x7FFF, -2}, {0x8000, -3}, {0x1FFFF, -3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    transport.memory[c.offset] ^= 0xFF;
    EXPECT_EQ(Verify(), c.expected);
    transport.memory[c.offset] ^= 0xFF;
  }
  // Every unit-specific byte at once still verifies.
  for (std::uint32_t i = 0x400; i < 0x450; ++i) transport.memory[i] = 0xC3;
  EXPECT_EQ(Verify(), 0);
}

TEST_F(VerifyTest, AFailedReadEndsTheCompareWithItsOutcome) {
  transport.failAt = 1;
  transport.failOutcome = drvcmd::kOutcomeCheckCondition;
  EXPECT_EQ(Verify(), 2);
  EXPECT_EQ(transport.requests.size(), 2u);
}

// A clock that moves only when the program sleeps.
class SteppingClock : public platform::Clock {
 public:
  explicit SteppingClock(platform::Dword stepMs) : stepMs_(stepMs) {}
  platform::Uint timeBeginPeriod(platform::Uint period) override {
    begun.push_back(period);
    return platform::kTimerrNoError;
  }
  platform::Uint timeEndPeriod(platform::Uint period) override {
    ended.push_back(period);
    return platform::kTimerrNoError;
  }
  platform::Dword timeGetTime() override { return now; }
  void Sleep(platform::Dword milliseconds) override {
    ++sleeps;
    sleptMs += milliseconds;
    now += stepMs_ ? stepMs_ : milliseconds;
  }

  platform::Dword now = 0xFFFFF000u;  // close to the 32-bit wrap
  std::vector<platform::Uint> begun, ended;
  int sleeps = 0;
  platform::Dword sleptMs = 0;

 private:
  platform::Dword stepMs_;
};

TEST(ProgrammingWaitTest, CountsDownFrom29To1InThirtySecondsWithoutSpinning) {
  testsupport::FakeUpdaterUi ui;
  SteppingClock clock(0);
  const platform::Dword start = clock.now;
  flash::WaitForProgramming(ui.progress, ui, clock);

  std::vector<std::string> expected;
  for (int remaining = 29; remaining >= 1; --remaining) {
    expected.push_back("Remaining time to complete about " + std::to_string(remaining) + " sec");
  }
  EXPECT_EQ(ui.progress.texts, expected);
  EXPECT_EQ(ui.progress.stepCount, 29);
  ASSERT_GE(ui.progress.calls.size(), 3u);
  EXPECT_EQ(ui.progress.calls[0], "create");
  EXPECT_EQ(ui.progress.calls[1], "range 0 30");
  EXPECT_EQ(ui.progress.calls[2], "step 1");
  EXPECT_EQ(ui.progress.calls.back(), "destroy");
  // Each clock read is followed by a pump and a short sleep, never a tight loop.
  EXPECT_EQ(ui.pumpCount, clock.sleeps);
  EXPECT_GE(clock.now - start, 30000u);
  EXPECT_LT(clock.now - start, 30000u + flash::kWaitPollMilliseconds + 1);
  EXPECT_EQ(clock.begun, (std::vector<platform::Uint>{1}));
  EXPECT_EQ(clock.ended, (std::vector<platform::Uint>{1}));
}

TEST(ProgrammingWaitTest, ALateClockReadStepsTheBarForEverySecondMissed) {
  testsupport::FakeUpdaterUi ui;
  SteppingClock clock(2500);
  flash::WaitForProgramming(ui.progress, ui, clock);
  ASSERT_FALSE(ui.progress.texts.empty());
  EXPECT_EQ(ui.progress.texts.front(), "Remaining time to complete about 28 sec");
  EXPECT_EQ(ui.progress.texts.back(), "Remaining time to complete about 3 sec");
  EXPECT_EQ(ui.progress.stepCount, 27);
}

}  // namespace

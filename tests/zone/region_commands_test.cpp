// The region commands as they reach the drive: every command byte and every
// pass-through record field, the parameter list of SEND KEY, the disc buffer
// cleared before a read, and the decoding of the region masks.
#include "zone/region_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "drvcmd/generic_commands.h"
#include "platform/win_errors.h"
#include "tests/zone/region_test_rig.h"
#include "zone/region_mask.h"

namespace zonetest {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RegionCommandsTest : public RegionRig {
 protected:
  void SetUp() override {
    Start(Machine({Drive('D', 0, kRegion2)}));
    ASSERT_EQ(utility_->Transport()->OpenDrive('D'), 0);
    machine_->Log().Clear();
  }
  void TearDown() override { utility_->Transport()->CloseDrive(); }

  const emu::LoggedCommand& Only() {
    EXPECT_EQ(machine_->Log().Entries().size(), 1u);
    return machine_->Log().Entries().back();
  }
  static Bytes Cdb(const emu::LoggedCommand& entry) {
    return Bytes(entry.cdb.begin(), entry.cdb.begin() + 12);
  }
  // Direct record, 12-byte block, 18 sense bytes, 5 seconds, 8 bytes.
  static void ExpectRegionTransport(const emu::LoggedCommand& entry, std::uint8_t dataIn) {
    EXPECT_EQ(entry.path, emu::CommandPath::kPassThroughDirect);
    EXPECT_EQ(entry.ioControlCode, platform::kIoctlScsiPassThroughDirect);
    EXPECT_EQ(entry.cdbLength, 12);
    EXPECT_EQ(entry.senseInfoLength, 18);
    EXPECT_EQ(entry.timeOutValue, 5u);
    EXPECT_EQ(entry.dataIn, dataIn);
    EXPECT_EQ(entry.transferLength, 8u);
    EXPECT_FALSE(entry.dataBufferIsNull);
  }
};

TEST_F(RegionCommandsTest, ReportRpcStateIsReportKeyFormat08IntoTheDataBuffer) {
  ASSERT_EQ(zone::ReportRpcState(*utility_->Transport()), drvcmd::kOutcomeGood);
  const emu::LoggedCommand& entry = Only();
  EXPECT_EQ(Cdb(entry), (Bytes{0xA4, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0x08, 0x00}));
  ExpectRegionTransport(entry, platform::kScsiIoctlDataIn);
  const auto data = utility_->Transport()->DataBuffer().first(8);
  EXPECT_EQ(Bytes(data.begin(), data.end()), (Bytes{0x00, 0x06, 0, 0, 0x64, 0xFD, 0x01, 0x00}));
}

TEST_F(RegionCommandsTest, ReadDiscCopyrightIsReadDvdStructureFormat01AndClearsItsBuffer) {
  std::array<std::uint8_t, 8> disc{};
  disc.fill(0xEE);
  ASSERT_EQ(zone::ReadDiscCopyright(*utility_->Transport(), disc), drvcmd::kOutcomeGood);
  const emu::LoggedCommand& entry = Only();
  EXPECT_EQ(Cdb(entry), (Bytes{0xAD, 0, 0, 0, 0, 0, 0x00, 0x01, 0x00, 0x08, 0x00, 0x00}));
  ExpectRegionTransport(entry, platform::kScsiIoctlDataIn);
  EXPECT_EQ(Bytes(disc.begin(), disc.end()), (Bytes{0x00, 0x06, 0, 0, 0x01, 0xFD, 0, 0}));

  // A failed read leaves zeros, not the previous disc.
  DriveAt('D').SetDisc(emu::DiscKind::kNone);
  EXPECT_EQ(zone::ReadDiscCopyright(*utility_->Transport(), disc), drvcmd::kOutcomeCheckCondition);
  EXPECT_TRUE(std::all_of(disc.begin(), disc.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(machine_->Log().Entries().back().senseTriple,
            (std::array<std::uint8_t, 3>{0x02, 0x3A, 0x00}));
}

TEST_F(RegionCommandsTest, SendRpcStructureCarriesTheSingleRegionMask) {
  std::array<std::uint8_t, 8> parameters{};
  ASSERT_EQ(zone::SendRpcStructure(*utility_->Transport(), 6, parameters), drvcmd::kOutcomeGood);
  const emu::LoggedCommand& entry = Only();
  EXPECT_EQ(Cdb(entry), (Bytes{0xA3, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0x06, 0x00}));
  ExpectRegionTransport(entry, platform::kScsiIoctlDataOut);
  EXPECT_EQ(entry.dataOut, (Bytes{0x00, 0x06, 0x00, 0x00, 0xDF, 0x00, 0x00, 0x00}));
}

TEST_F(RegionCommandsTest, DiscPresenceTestIsTheUtilitysTestUnitReady) {
  drvcmd::SendTestUnitReady(*utility_->Transport(), drvcmd::DriveAddress{'D', 0, 0});
  const emu::LoggedCommand& entry = Only();
  EXPECT_EQ(Cdb(entry), Bytes(12, 0));
  EXPECT_EQ(entry.cdbLength, 12);
  EXPECT_EQ(entry.dataIn, 1);
  EXPECT_EQ(entry.transferLength, 0u);
  EXPECT_EQ(entry.timeOutValue, 2u);
  EXPECT_EQ(entry.senseInfoLength, 18);
}

// A drive that answers GOOD with fewer bytes than the 8 asked: the fields
// past its answer would be read from whatever the buffer held before.
class ShortAnswerTransport : public drvcmd::Transport {
 public:
  ShortAnswerTransport(platform::Platform& system, drvcmd::Notice& notice)
      : Transport(drvcmd::ProgramId::kZoneSpti, system, notice) {
    dataBuffer_ = data_;
  }
  int StartTransport() override { return drvcmd::kStartOk; }
  int StopTransport() override { return 0; }
  int ExecuteRequest(drvcmd::ScsiRequest& request) override {
    const std::uint8_t answer[8] = {0x00, 0x06, 0, 0, 0x01, 0xFD, 0x01, 0x00};
    std::copy_n(answer, answered, request.buffer);
    request.transferred = answered;
    request.outcome = lastOutcome_ = drvcmd::kOutcomeGood;
    return drvcmd::kOutcomeGood;
  }
  std::uint32_t answered = 0;

 private:
  std::array<std::uint8_t, 8> data_{};
};

TEST_F(RegionCommandsTest, AnAnswerShorterThanEightBytesIsAFailure) {
  ShortAnswerTransport drive(*machine_, ui_);
  std::array<std::uint8_t, 8> disc{};
  for (const std::uint32_t answered : {0u, 1u, 7u, 8u}) {
    SCOPED_TRACE(answered);
    drive.answered = answered;
    const int expected = answered == 8 ? drvcmd::kOutcomeGood : drvcmd::kOutcomeFailure;
    EXPECT_EQ(zone::ReportRpcState(drive), expected);
    EXPECT_EQ(zone::ReadDiscCopyright(drive, disc), expected);
  }
}

TEST(RegionMaskTest, SingleRegionMasksAndTheirDecoding) {
  const std::uint8_t masks[] = {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF};
  for (int region = 1; region <= 6; ++region) {
    EXPECT_EQ(zone::SingleRegionMask(region), masks[region - 1]);
    EXPECT_EQ(zone::RegionOfMask(masks[region - 1]), region);
  }
  EXPECT_EQ(zone::RegionOfMask(0xFF), std::nullopt);
  EXPECT_EQ(zone::RegionOfMask(0x7F), std::nullopt) << "region 8 is never offered";
  EXPECT_EQ(zone::RegionOfMask(0xF5), std::nullopt);
  EXPECT_TRUE(zone::RegionMarked(0xF5, 2));
  EXPECT_TRUE(zone::RegionMarked(0xF5, 4));
  EXPECT_FALSE(zone::RegionMarked(0xF5, 1));
}

}  // namespace
}  // namespace zonetest

// The firmware commands as each updater build hands them to the transport:
// command bytes, direction flags, buffers, lengths and waits.
#include "flash/firmware_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/flash/update_memory_transport.h"

namespace {

using drvcmd::DataDirection;
using drvcmd::ProgramId;
using Cdb = std::array<std::uint8_t, drvcmd::kCdbSize>;

const drvcmd::DriveAddress kDrive{'E', 1, 3};

class FirmwareCommandsTest : public ::testing::TestWithParam<ProgramId> {
 protected:
  void SetUp() override { ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk); }
  bool Aspi() const { return GetParam() == ProgramId::kFlashAspi; }
  const drvcmd::ScsiRequest& Last() const { return transport.requests.back().request; }

  // Fields every firmware command shares, per build.
  void ExpectCommonSettings(const drvcmd::ScsiRequest& request) const {
    EXPECT_EQ(request.cdbLength, 10);
    EXPECT_EQ(request.senseLength, 0);
    EXPECT_EQ(request.record, drvcmd::RecordKind::kDirect);
    EXPECT_EQ(request.address.letter, kDrive.letter);
    EXPECT_EQ(request.address.adapter, kDrive.adapter);
    EXPECT_EQ(request.address.target, kDrive.target);
    if (Aspi()) {
      EXPECT_EQ(request.waitMilliseconds, drvcmd::kWaitInfinite);
    } else {
      EXPECT_EQ(request.timeoutSeconds, 5u);
    }
  }

  flashtest::MemoryTransport transport{GetParam()};
};

TEST_P(FirmwareCommandsTest, StartAndFinishCarryNoDataButKeepTheDataOutFlag) {
  ASSERT_EQ(flash::SendWriteBufferStart(transport, kDrive), 0);
  ASSERT_EQ(flash::SendWriteBufferFinish(transport, kDrive), 0);
  ASSERT_EQ(transport.requests.size(), 2u);

  const Cdb start{0x3B, 0x01, 0x30, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Cdb finish{0x3B, 0x01, 0x42, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::array<Cdb, 2> expected{start, finish};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const drvcmd::ScsiRequest& request = transport.requests[i].request;
    SCOPED_TRACE(i);
    EXPECT_EQ(request.cdb, expected[i]);
    ExpectCommonSettings(request);
    EXPECT_EQ(request.direction, DataDirection::kNone);
    EXPECT_EQ(request.passThroughDataIn, 0);  // SCSI_IOCTL_DATA_OUT
    EXPECT_EQ(request.transferLength, 0u);
    // Pass-through points at the small buffer, ASPI at the data buffer.
    EXPECT_EQ(request.buffer,
              Aspi() ? transport.DataBuffer().data() : transport.SmallBuffer().data());
  }
}

TEST_P(FirmwareCommandsTest, DataChunkAndTailCarryOffsetLengthAndTheSourceBytes) {
  std::vector<std::uint8_t> chunk(0x8000, 0x5A);
  std::vector<std::uint8_t> tail(0x1010, 0xA5);
  ASSERT_EQ(flash::SendWriteBufferData(transport, kDrive, 0x18000, chunk), 0);
  ASSERT_EQ(flash::SendWriteBufferData(transport, kDrive, 0x20000, tail), 0);

  const drvcmd::ScsiRequest& chunkRequest = transport.requests[0].request;
  EXPECT_EQ(chunkRequest.cdb, (Cdb{0x3B, 0x01, 0xFF, 0x01, 0x80, 0x00, 0, 0x80, 0x00, 0, 0, 0}));
  ExpectCommonSettings(chunkRequest);
  EXPECT_EQ(chunkRequest.direction, DataDirection::kOut);
  EXPECT_EQ(chunkRequest.passThroughDataIn, 0);
  EXPECT_EQ(chunkRequest.buffer, chunk.data());
  EXPECT_EQ(chunkRequest.transferLength, 0x8000u);

  const drvcmd::ScsiRequest& tailRequest = transport.requests[1].request;
  EXPECT_EQ(tailRequest.cdb, (Cdb{0x3B, 0x01, 0xFF, 0x02, 0x00, 0x00, 0, 0x10, 0x10, 0, 0, 0}));
  EXPECT_EQ(tailRequest.transferLength, 0x1010u);
  EXPECT_EQ(transport.requests[1].dataOut, tail);
}

TEST_P(FirmwareCommandsTest, ReadBufferReadsDriveMemoryIntoTheTarget) {
  for (std::size_t i = 0; i < 0x20; ++i)
    transport.memory[0x1000 + i] = static_cast<std::uint8_t>(i);
  std::vector<std::uint8_t> target(0x20, 0xEE);
  ASSERT_EQ(flash::SendReadBuffer(transport, kDrive, 0x1000, target), 0);

  EXPECT_EQ(Last().cdb, (Cdb{0x3C, 0x01, 0x80, 0x00, 0x10, 0x00, 0, 0x00, 0x20, 0, 0, 0}));
  ExpectCommonSettings(Last());
  EXPECT_EQ(Last().direction, DataDirection::kIn);
  EXPECT_EQ(Last().passThroughDataIn, 1);  // SCSI_IOCTL_DATA_IN
  EXPECT_EQ(Last().buffer, target.data());
  EXPECT_EQ(Last().transferLength, 0x20u);
  EXPECT_EQ(target[0x1F], 0x1F);
}

TEST_P(FirmwareCommandsTest, OnlyThePassThroughBuildClearsTheReadTarget) {
  std::vector<std::uint8_t> target(0x40, 0xEE);
  transport.failAt = 0;
  transport.failOutcome = Aspi() ? drvcmd::kOutcomeFailure : drvcmd::kOutcomeCheckCondition;
  EXPECT_EQ(flash::SendReadBuffer(transport, kDrive, 0x0, target), transport.failOutcome);

  EXPECT_EQ(Last().zeroBufferFirst, !Aspi());
  const std::uint8_t expected = Aspi() ? 0xEE : 0x00;
  EXPECT_TRUE(std::all_of(target.begin(), target.end(), [&](auto b) { return b == expected; }));
}

TEST_P(FirmwareCommandsTest, TransfersBeyondTheCommandFieldsAreRefusedUnsent) {
  std::vector<std::uint8_t> tooLong(0x10000);
  std::vector<std::uint8_t> small(0x20);
  EXPECT_EQ(flash::SendWriteBufferData(transport, kDrive, 0, tooLong), -1);
  EXPECT_EQ(flash::SendReadBuffer(transport, kDrive, 0, tooLong), -1);
  EXPECT_EQ(flash::SendReadBuffer(transport, kDrive, 0x1000000, small), -1);
  EXPECT_TRUE(transport.requests.empty());
}

INSTANTIATE_TEST_SUITE_P(BothUpdaters, FirmwareCommandsTest,
                         ::testing::Values(ProgramId::kFlashSpti, ProgramId::kFlashAspi),
                         [](const auto& info) {
                           return info.param == ProgramId::kFlashAspi ? "flashaspi" : "flashspti";
                         });

}  // namespace

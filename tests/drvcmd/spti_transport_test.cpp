// The pass-through back-end: buffers, drive open, the records that go out and
// how each program classifies the answer.
#include "drvcmd/spti/spti_transport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "drvcmd/generic_commands.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using platform::ScsiPassThroughDirectWithSense;
using platform::ScsiPassThroughWithBuffers;
using testsupport::FakeAnswer;

class SptiTransportTest : public ::testing::Test {
 protected:
  void Use(ProgramId program) {
    transport_ = std::make_unique<drvcmd::SptiTransport>(program, system_, notice_);
    ASSERT_EQ(transport_->StartTransport(), drvcmd::kStartOk);
  }
  testsupport::FakeDevice& Drive(char letter) { return system_.passThrough.devices[letter]; }
  template <typename Record>
  Record LastRecord() {
    Record record{};
    const auto& sent = system_.passThrough.calls.back().sent;
    EXPECT_EQ(sent.size(), sizeof(Record));
    std::memcpy(&record, sent.data(), std::min(sent.size(), sizeof(Record)));
    return record;
  }

  testsupport::FakePlatform system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::SptiTransport> transport_;
};

TEST_F(SptiTransportTest, BuffersAreAllocatedInOrderAndFreedInReverse) {
  Use(ProgramId::kZoneSpti);
  const auto& allocations = system_.kernel.allocations;
  ASSERT_EQ(allocations.size(), 3u);
  EXPECT_EQ(allocations[0].bytes, 0x50000u);
  EXPECT_EQ(allocations[1].bytes, 0x140000u);
  EXPECT_EQ(allocations[2].bytes, 512u);
  for (const auto& allocation : allocations) {
    EXPECT_EQ(allocation.flags, platform::kGmemFixed | platform::kGmemZeroInit);
  }
  EXPECT_EQ(transport_->DataBuffer().size(), 0x50000u);
  transport_->StopTransport();
  EXPECT_EQ(system_.kernel.freed, (std::vector<std::size_t>{512, 0x140000, 0x50000}));
  EXPECT_EQ(system_.kernel.LiveBlocks(), 0u);
  EXPECT_TRUE(transport_->DataBuffer().empty());
}

TEST_F(SptiTransportTest, FailedAllocationReturnsMinusOneAndStopFreesTheRest) {
  system_.kernel.failAllocationNumber = 2;
  drvcmd::SptiTransport transport(ProgramId::kFlashSpti, system_, notice_);
  EXPECT_EQ(transport.StartTransport(), drvcmd::kStartMemoryError);
  EXPECT_EQ(system_.kernel.allocations.size(), 2u);  // stops at the first failure
  transport.StopTransport();
  EXPECT_EQ(system_.kernel.LiveBlocks(), 0u);
}

TEST_F(SptiTransportTest, OpenDriveUsesThePathModesAndBothQueries) {
  Use(ProgramId::kPaceSpti);
  Drive('E');
  ASSERT_EQ(transport_->OpenDrive('E'), 0);
  const auto& open = system_.passThrough.opens.back();
  EXPECT_EQ(open.path, "\\\\.\\E:");
  EXPECT_EQ(open.access, platform::kGenericRead | platform::kGenericWrite);
  EXPECT_EQ(open.share, platform::kFileShareRead | platform::kFileShareWrite);
  EXPECT_EQ(open.disposition, platform::kOpenExisting);
  EXPECT_EQ(open.flags, 0u);
  const auto& calls = system_.passThrough.calls;
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].code, platform::kIoctlScsiGetCapabilities);
  EXPECT_EQ(calls[0].outSize, 24u);
  EXPECT_EQ(calls[1].code, platform::kIoctlScsiGetAddress);
  EXPECT_EQ(calls[1].outSize, 8u);
  EXPECT_TRUE(transport_->DriveIsOpen());
}

TEST_F(SptiTransportTest, UnusableDriveIsClosedAndReportsNothing) {
  Use(ProgramId::kFlashSpti);
  Drive('D').capabilitiesFail = true;
  Drive('F').addressFail = true;
  Drive('G').openFails = true;
  for (char letter : {'D', 'F', 'G', 'H'}) {
    EXPECT_EQ(transport_->OpenDrive(letter), -1) << letter;
    EXPECT_FALSE(transport_->DriveIsOpen());
  }
  EXPECT_EQ(system_.passThrough.closes.size(), 2u);  // D and F had been opened
  EXPECT_TRUE(system_.passThrough.openHandles.empty());
  EXPECT_TRUE(notice_.messages.empty());
}

TEST_F(SptiTransportTest, OpeningAnotherDriveClosesTheEarlierHandle) {
  Use(ProgramId::kZoneSpti);
  Drive('D');
  Drive('E');
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  ASSERT_EQ(transport_->OpenDrive('E'), 0);
  EXPECT_EQ(system_.passThrough.openHandles.size(), 1u);
  EXPECT_EQ(system_.passThrough.openHandles.begin()->second, 'E');
  transport_.reset();  // the destructor closes the drive and frees the buffers
  EXPECT_TRUE(system_.passThrough.openHandles.empty());
  EXPECT_EQ(system_.kernel.LiveBlocks(), 0u);
}

TEST_F(SptiTransportTest, TestUnitReadyGoesOutPaddedWithItsDataInFlag) {
  Use(ProgramId::kZoneSpti);
  Drive('D');
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {}), drvcmd::kOutcomeGood);

  const auto& call = system_.passThrough.calls.back();
  EXPECT_EQ(call.code, platform::kIoctlScsiPassThroughDirect);
  EXPECT_EQ(call.inSize, sizeof(ScsiPassThroughDirectWithSense));
  EXPECT_EQ(call.outSize, sizeof(ScsiPassThroughDirectWithSense));
  const auto record = LastRecord<ScsiPassThroughDirectWithSense>();
  const auto& header = record.sptd;
  EXPECT_EQ(header.Length, sizeof(platform::ScsiPassThroughDirect));
  EXPECT_EQ(header.CdbLength, 12);
  EXPECT_EQ(header.DataIn, platform::kScsiIoctlDataIn);
  EXPECT_EQ(header.DataTransferLength, 0u);
  EXPECT_EQ(header.TimeOutValue, 2u);
  EXPECT_EQ(header.SenseInfoLength, 18);
  EXPECT_EQ(header.SenseInfoOffset, offsetof(ScsiPassThroughDirectWithSense, SenseBuf));
  EXPECT_EQ(header.DataBuffer, transport_->DataBuffer().data());
  // The address query's PathId/TargetId/Lun address the request.
  EXPECT_EQ(header.PathId, 0);
  EXPECT_EQ(header.TargetId, 3);
  for (std::uint8_t byte : header.Cdb) EXPECT_EQ(byte, 0);
}

TEST_F(SptiTransportTest, ArbitraryRequestsAreCarriedFaithfully) {
  Use(ProgramId::kPaceSpti);
  Drive('D');
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  std::array<std::uint8_t, 8> out{1, 2, 3, 4, 5, 6, 7, 8};
  drvcmd::ScsiRequest request;
  request.cdb = {0xA3, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x06, 0};
  request.cdbLength = 12;
  request.direction = drvcmd::DataDirection::kOut;
  request.buffer = out.data();
  request.transferLength = out.size();
  request.timeoutSeconds = 5;
  request.senseLength = 18;
  EXPECT_EQ(transport_->ExecuteRequest(request), drvcmd::kOutcomeGood);
  const auto header = LastRecord<ScsiPassThroughDirectWithSense>().sptd;
  EXPECT_EQ(std::memcmp(header.Cdb, request.cdb.data(), 12), 0);
  EXPECT_EQ(header.DataIn, platform::kScsiIoctlDataOut);
  EXPECT_EQ(header.DataTransferLength, 8u);
  EXPECT_EQ(header.TimeOutValue, 5u);
  EXPECT_EQ(header.DataBuffer, out.data());
}

TEST_F(SptiTransportTest, ReadTargetsAreZeroedBeforeTheCommand) {
  Use(ProgramId::kZoneSpti);
  Drive('D').script.push_back(FakeAnswer::WithData({0xAA, 0xBB}));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  std::array<std::uint8_t, 8> target;
  target.fill(0x55);
  drvcmd::ScsiRequest request;
  request.direction = drvcmd::DataDirection::kIn;
  request.buffer = target.data();
  request.transferLength = target.size();
  request.zeroBufferFirst = true;
  transport_->ExecuteRequest(request);
  EXPECT_EQ(target, (std::array<std::uint8_t, 8>{0xAA, 0xBB, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SptiTransportTest, UpdaterInquiryPassesThroughTheBufferedRecord) {
  Use(ProgramId::kFlashSpti);
  Drive('D').inquiry = testsupport::MakeInquiry(0x05, "TAVREON DVD-ROM KD-420   1.00");
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  transport_->DataBuffer()[96] = 0x77;  // beyond the answer: must stay
  ASSERT_EQ(drvcmd::SendInquiry(*transport_, {}), drvcmd::kOutcomeGood);

  const auto& call = system_.passThrough.calls.back();
  EXPECT_EQ(call.code, platform::kIoctlScsiPassThrough);
  EXPECT_EQ(call.inSize, sizeof(ScsiPassThroughWithBuffers));
  EXPECT_EQ(call.outSize, offsetof(ScsiPassThroughWithBuffers, DataBuf) + 96);
  const auto header = LastRecord<ScsiPassThroughWithBuffers>().spt;
  EXPECT_EQ(header.DataBufferOffset, offsetof(ScsiPassThroughWithBuffers, DataBuf));
  EXPECT_EQ(header.SenseInfoOffset, offsetof(ScsiPassThroughWithBuffers, SenseBuf));
  EXPECT_EQ(header.SenseInfoLength, 0);
  EXPECT_EQ(header.CdbLength, 12);
  EXPECT_EQ(header.Cdb[0], 0x12);
  EXPECT_EQ(header.Cdb[4], 0x60);
  EXPECT_EQ(std::memcmp(transport_->DataBuffer().data() + 8, "TAVREON DVD-ROM KD-420   1.00", 29),
            0);
  EXPECT_EQ(transport_->DataBuffer()[96], 0x77);
}

TEST_F(SptiTransportTest, UpdaterRequestSenseStaysInTheRecordAndIsReported) {
  Use(ProgramId::kFlashSpti);
  // Key 5 with ILI: the byte is printed whole.
  Drive('D').script.push_back(FakeAnswer::WithData(testsupport::FixedSense(0x25, 0x24, 0x01)));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  drvcmd::ReportSense(*transport_, {});

  const auto& call = system_.passThrough.calls.back();
  EXPECT_EQ(call.outSize, offsetof(ScsiPassThroughWithBuffers, DataBuf) + 24);
  EXPECT_EQ(LastRecord<ScsiPassThroughWithBuffers>().spt.Cdb[4], 0x18);
  EXPECT_EQ(transport_->DataBuffer()[2], 0);  // not copied to the data buffer
  ASSERT_EQ(notice_.messages.size(), 1u);
  EXPECT_EQ(notice_.messages[0].text, "Sense Code : 25-24-01");
  EXPECT_EQ(notice_.messages[0].style, drvcmd::kMbOk);
}

TEST_F(SptiTransportTest, UpdaterShowsTheSystemTextWhenTheCallFails) {
  Use(ProgramId::kFlashSpti);
  Drive('D').script.push_back(FakeAnswer::CallFails(platform::kErrorNotReady));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {}), drvcmd::kOutcomeFailure);
  ASSERT_EQ(notice_.messages.size(), 1u);
  EXPECT_EQ(notice_.messages[0].text, "The device is not ready.\r\n");

  Drive('D').script.push_back(FakeAnswer::CheckCondition({}));
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {}), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(transport_->LastScsiStatus(), 2);
  EXPECT_EQ(notice_.messages.size(), 1u);  // a check condition shows nothing here
}

TEST_F(SptiTransportTest, UtilitiesReportAFailedCallAsCheckCondition) {
  for (ProgramId program : {ProgramId::kZoneSpti, ProgramId::kPaceSpti}) {
    Use(program);
    Drive('D').script = {FakeAnswer::CallFails(),
                         FakeAnswer::CheckCondition(testsupport::FixedSense(0x02, 0x3A, 0x01))};
    ASSERT_EQ(transport_->OpenDrive('D'), 0);
    // ScsiStatus 0 from a failed call must not count as good.
    EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {}), drvcmd::kOutcomeCheckCondition);
    EXPECT_EQ(drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport_->LastSense().data())),
              "00-00-00");
    EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {}), drvcmd::kOutcomeCheckCondition);
    EXPECT_EQ(drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport_->LastSense().data())),
              "02-3a-01");
    EXPECT_TRUE(notice_.messages.empty());
  }
}

TEST_F(SptiTransportTest, RequestWithoutAnOpenDriveFails) {
  Use(ProgramId::kPaceSpti);
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {}), drvcmd::kOutcomeCheckCondition);
  EXPECT_TRUE(system_.passThrough.calls.empty());
}

}  // namespace

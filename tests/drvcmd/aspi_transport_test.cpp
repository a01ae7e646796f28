// The ASPI back-end: start-up results, adapter records, the request block that
// goes out, completion and waits, and the speed utility's sense of a failure.
#include "drvcmd/aspi/aspi_transport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "drvcmd/generic_commands.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using testsupport::FakeAnswer;

class AspiTransportTest : public ::testing::Test {
 protected:
  int Start(ProgramId program) {
    transport_ = std::make_unique<drvcmd::AspiTransport>(program, system_, notice_);
    return transport_->StartTransport();
  }
  testsupport::FakeDevice& Target(int adapter, int target) {
    return system_.aspi.targets[{adapter, target}];
  }
  const platform::SrbExecScsiCmd& LastRequest() { return system_.aspi.requests.back(); }

  testsupport::FakePlatform system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::AspiTransport> transport_;
};

TEST_F(AspiTransportTest, StartReportsEachManagerFailure) {
  system_.aspi.missing = true;
  EXPECT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartAspiLoadError);
  EXPECT_EQ(system_.aspi.loadedNames, std::vector<std::string>{"WNASPI32.DLL"});

  system_.aspi.missing = false;
  system_.aspi.supportStatus = platform::kSsFailedInit;
  system_.aspi.adapters = {"ESDI_506"};
  EXPECT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartAspiInitError);

  system_.aspi.supportStatus = platform::kSsComp;
  system_.aspi.adapters.clear();
  EXPECT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartNoAdapters);
  EXPECT_EQ(transport_->AdapterCount(), 0);

  system_.kernel.failAllocationNumber = system_.kernel.allocations.size() + 2;
  EXPECT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartMemoryError);
}

TEST_F(AspiTransportTest, StartInquiresEveryAdapterAndKeepsIdentifiers) {
  system_.aspi.adapters = {"ESDI_506", "AIC78XX_SCSI_CONTROLLER"};
  ASSERT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartOk);
  const auto& sizes = system_.kernel.allocations;
  ASSERT_EQ(sizes.size(), 4u);
  EXPECT_EQ(sizes[0].bytes, 0x50000u);
  EXPECT_EQ(sizes[1].bytes, 0x50000u);
  EXPECT_EQ(sizes[2].bytes, 0x140000u);
  EXPECT_EQ(sizes[3].bytes, 512u);

  ASSERT_EQ(system_.aspi.haInquiries.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const auto& sent = system_.aspi.haInquiries[i];
    EXPECT_EQ(sent.SRB_Cmd, platform::kScHaInquiry);
    EXPECT_EQ(sent.SRB_HaId, i);
    EXPECT_EQ(sent.SRB_Flags, 0);
  }
  EXPECT_EQ(transport_->AdapterCount(), 2);
  const auto& slot = transport_->HaIdentifierSlot(1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(slot.data())), "AIC78XX_SCSI_CON");
  EXPECT_EQ(slot[16], 0);

  transport_->StopTransport();
  EXPECT_EQ(system_.kernel.freed, (std::vector<std::size_t>{512, 0x140000, 0x50000, 0x50000}));
  EXPECT_EQ(system_.kernel.LiveBlocks(), 0u);
}

TEST_F(AspiTransportTest, InquiryRequestBlockCarriesTheTableSettings) {
  system_.aspi.adapters = {"ESDI_506"};
  Target(0, 1).inquiry = testsupport::MakeInquiry(0x05, "TAVREON DVD-ROM KD-410");
  ASSERT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartOk);
  ASSERT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 1}), drvcmd::kOutcomeGood);

  const auto& srb = LastRequest();
  EXPECT_EQ(srb.SRB_Cmd, platform::kScExecScsiCmd);
  EXPECT_EQ(srb.SRB_HaId, 0);
  EXPECT_EQ(srb.SRB_Target, 1);
  EXPECT_EQ(srb.SRB_Lun, 0);
  EXPECT_EQ(srb.SRB_Flags, 0x48);
  EXPECT_EQ(srb.SRB_CDBLen, 6);
  EXPECT_EQ(srb.SRB_BufLen, 96u);
  EXPECT_EQ(srb.SRB_BufPointer, transport_->DataBuffer().data());
  EXPECT_EQ(srb.SRB_SenseLen, 0);
  const std::uint8_t inquiry[] = {0x12, 0, 0, 0, 0x60, 0};
  EXPECT_EQ(std::memcmp(srb.CDBByte, inquiry, sizeof(inquiry)), 0);
  EXPECT_EQ(std::memcmp(transport_->DataBuffer().data() + 8, "TAVREON DVD-ROM KD-410", 22), 0);

  // One event per request, waited for without limit, then closed.
  const auto event = reinterpret_cast<platform::Handle>(srb.SRB_PostProc);
  ASSERT_EQ(system_.kernel.waits.size(), 1u);
  EXPECT_EQ(system_.kernel.waits[0].event, event);
  EXPECT_EQ(system_.kernel.waits[0].milliseconds, platform::kInfinite);
  EXPECT_EQ(system_.kernel.closedEvents, std::vector<platform::Handle>{event});
  // The block lives at the start of the request block buffer.
  EXPECT_EQ(transport_->RequestBlock()->SRB_Status, platform::kSsComp);
}

TEST_F(AspiTransportTest, FlagsFollowTheDirection) {
  system_.aspi.adapters = {"SCSI"};
  Target(0, 0);
  ASSERT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartOk);
  std::array<std::uint8_t, 0x20> data{};
  drvcmd::ScsiRequest write;
  write.address = {0, 0, 0};
  write.cdb = {0x3B, 0x01, 0xFF, 0, 0, 0, 0, 0x00, 0x20, 0};
  write.cdbLength = 10;
  write.direction = drvcmd::DataDirection::kOut;
  write.buffer = data.data();
  write.transferLength = data.size();
  EXPECT_EQ(transport_->ExecuteRequest(write), drvcmd::kOutcomeGood);
  EXPECT_EQ(LastRequest().SRB_Flags, 0x50);
  EXPECT_EQ(LastRequest().SRB_CDBLen, 10);
  EXPECT_EQ(std::memcmp(LastRequest().CDBByte, write.cdb.data(), 12), 0);

  write.direction = drvcmd::DataDirection::kNone;
  write.transferLength = 0;
  write.cdbLength = 12;
  EXPECT_EQ(transport_->ExecuteRequest(write), drvcmd::kOutcomeGood);
  EXPECT_EQ(LastRequest().SRB_Flags, 0x40);
  EXPECT_EQ(LastRequest().SRB_CDBLen, 12);

  write.cdbLength = 7;  // no such command length: refused before it goes out
  const auto sent = system_.aspi.requests.size();
  EXPECT_EQ(transport_->ExecuteRequest(write), drvcmd::kOutcomeFailure);
  EXPECT_EQ(system_.aspi.requests.size(), sent);
}

TEST_F(AspiTransportTest, RequestsRejectedOrCompletedAtOnceAreNotWaitedFor) {
  system_.aspi.adapters = {"SCSI"};
  Target(0, 0).script = {FakeAnswer::Manager(FakeAnswer::Aspi::kReject, platform::kSsInvalidSrb),
                         FakeAnswer::Manager(FakeAnswer::Aspi::kCompleteAtOnce)};
  ASSERT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartOk);
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 0}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 0}), drvcmd::kOutcomeGood);
  EXPECT_TRUE(system_.kernel.waits.empty());
  EXPECT_EQ(system_.kernel.closedEvents.size(), 2u);
}

TEST_F(AspiTransportTest, ReadyTestThatRunsOutIsAbortedBeforeTheBlockIsReused) {
  system_.aspi.adapters = {"ESDI_506"};
  Target(0, 0).script = {FakeAnswer::Manager(FakeAnswer::Aspi::kNeverComplete)};
  ASSERT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartOk);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 0}), drvcmd::kOutcomeFailure);

  const auto& srb = LastRequest();
  EXPECT_EQ(srb.SRB_Flags, 0x40);
  EXPECT_EQ(srb.SRB_CDBLen, 6);
  EXPECT_EQ(srb.SRB_BufLen, 0u);
  ASSERT_EQ(system_.kernel.waits.size(), 1u);
  EXPECT_EQ(system_.kernel.waits[0].milliseconds, 1000u);
  // The abort made the request's status final before the block is reused.
  ASSERT_EQ(system_.aspi.aborts.size(), 1u);
  EXPECT_EQ(system_.aspi.aborts[0], transport_->RequestBlock());
  EXPECT_EQ(transport_->RequestBlock()->SRB_Status, platform::kSsAborted);
  // A timed-out command has no sense to fetch.
  EXPECT_EQ(system_.aspi.requests.size(), 1u);
}

TEST_F(AspiTransportTest, BlockTheManagerKeepsAfterAnAbortIsLeftToIt) {
  system_.aspi.adapters = {"ESDI_506"};
  system_.aspi.abortSettles = false;
  Target(0, 0).script = {FakeAnswer::Manager(FakeAnswer::Aspi::kNeverComplete)};
  ASSERT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartOk);
  platform::SrbExecScsiCmd* first = transport_->RequestBlock();
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 0}), drvcmd::kOutcomeFailure);

  // The wait for the block to settle is bounded like the request's own.
  ASSERT_EQ(system_.kernel.waits.size(), 2u);
  EXPECT_EQ(system_.kernel.waits[1].milliseconds, 1000u);
  EXPECT_EQ(first->SRB_Status, platform::kSsPending);
  // The manager may still write into it: the next command uses another block.
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 0}), drvcmd::kOutcomeGood);
  EXPECT_NE(transport_->RequestBlock(), first);
  EXPECT_EQ(first->SRB_Status, platform::kSsPending);
  EXPECT_EQ(first->CDBByte[0], 0x00) << "the kept block was reused";
}

TEST_F(AspiTransportTest, UpdaterTestUnitReadyWaitsWithoutLimit) {
  system_.aspi.adapters = {"SCSI"};
  Target(0, 2);
  ASSERT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartOk);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 2}), drvcmd::kOutcomeGood);
  EXPECT_EQ(system_.kernel.waits.back().milliseconds, platform::kInfinite);
}

TEST_F(AspiTransportTest, SpeedUtilityFetchesTheSenseOfACheckCondition) {
  system_.aspi.adapters = {"ESDI_506"};
  Target(0, 1).script = {FakeAnswer::CheckCondition({}),
                         FakeAnswer::WithData(testsupport::FixedSense(0x25, 0x24, 0x00))};
  ASSERT_EQ(Start(ProgramId::kPaceAspi), drvcmd::kStartOk);
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 1}), drvcmd::kOutcomeFailure);

  ASSERT_EQ(system_.aspi.requests.size(), 2u);
  const auto& sense = LastRequest();
  const std::uint8_t requestSense[] = {0x03, 0, 0, 0, 0x12, 0};
  EXPECT_EQ(std::memcmp(sense.CDBByte, requestSense, sizeof(requestSense)), 0);
  EXPECT_EQ(sense.SRB_Flags, 0x48);
  EXPECT_EQ(sense.SRB_BufLen, 18u);
  EXPECT_EQ(sense.SRB_Target, 1);
  EXPECT_EQ(sense.SRB_SenseLen, 0);
  EXPECT_EQ(drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport_->LastSense().data())),
            "25-24-00");

  // A target that is not there has no sense to ask for.
  EXPECT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 5}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(system_.aspi.requests.size(), 3u);
  EXPECT_EQ(drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport_->LastSense().data())),
            "00-00-00");
}

TEST_F(AspiTransportTest, UpdaterLeavesTheSenseToReportSense) {
  system_.aspi.adapters = {"ESDI_506"};
  Target(0, 0).script = {FakeAnswer::CheckCondition({}),
                         FakeAnswer::WithData(testsupport::FixedSense(0x06, 0x29, 0x00)),
                         FakeAnswer::CheckCondition({})};
  ASSERT_EQ(Start(ProgramId::kFlashAspi), drvcmd::kStartOk);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 0}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(system_.aspi.requests.size(), 1u);

  drvcmd::ReportSense(*transport_, {0, 0, 0});
  drvcmd::ReportSense(*transport_, {0, 0, 0});
  ASSERT_EQ(notice_.messages.size(), 2u);
  EXPECT_EQ(notice_.messages[0].text, "Sense Code : 06-29-00");
  EXPECT_EQ(notice_.messages[1].text, "Request Sense Comand Failed.");
}

}  // namespace

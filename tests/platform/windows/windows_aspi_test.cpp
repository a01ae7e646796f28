// The ASPI back-end over the real LoadLibraryA, GetProcAddress, events and
// waits, against our test manager (WNASPI32.DLL in this program's folder):
// the request blocks as they reach a manager, byte for byte, and the answers
// a drive gives (data, check condition with sense, late completion, none).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/generic_commands.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_platform.h"
#include "tests/platform/windows/test_aspi_manager.h"
#include "tests/support/recording_notice.h"

namespace {

using platform::SrbExecScsiCmd;
using platform::SrbHaInquiry;

template <typename Entry>
Entry Control(const char* name) {
  HMODULE manager = ::GetModuleHandleA(platform::kAspiLibraryName);
  return manager == nullptr
             ? nullptr
             : reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(manager, name)));
}

class WindowsAspiTest : public ::testing::Test {
 protected:
  void Start(drvcmd::ProgramId program, std::uint8_t adapters = 1,
             const char* identifier = "ESDI_506") {
    system_ = platform::CreateWindowsPlatform();
    transport_ = std::make_unique<drvcmd::AspiTransport>(program, *system_, notice_);
    // The manager is loaded by StartTransport; script it before the first
    // command by loading it here too (the same module, counted twice).
    module_ = ::LoadLibraryA(platform::kAspiLibraryName);
    ASSERT_NE(module_, nullptr);
    setAdapters_ = Control<TestAspiSetAdaptersEntry>(kTestAspiSetAdapters);
    queueReply_ = Control<TestAspiQueueReplyEntry>(kTestAspiQueueReply);
    recordCount_ = Control<TestAspiRecordCountEntry>(kTestAspiRecordCount);
    recordAt_ = Control<TestAspiRecordAtEntry>(kTestAspiRecordAt);
    waitIdle_ = Control<TestAspiWaitIdleEntry>(kTestAspiWaitIdle);
    ASSERT_TRUE(setAdapters_ && queueReply_ && recordCount_ && recordAt_ && waitIdle_)
        << "WNASPI32.DLL beside the test is not our test manager";
    setAdapters_(adapters, platform::kSsComp, identifier);
    startRecord_ = recordCount_();
    ASSERT_EQ(transport_->StartTransport(), drvcmd::kStartOk);
    firstRecord_ = recordCount_();
  }

  void TearDown() override {
    if (waitIdle_ != nullptr) waitIdle_();
    if (transport_) transport_->StopTransport();
    transport_.reset();
    system_.reset();
    if (module_ != nullptr) ::FreeLibrary(module_);
  }

  // The requests this test sent after the start (or from it), in order.
  std::vector<TestAspiRecord> Records(bool withStart = false) {
    std::vector<TestAspiRecord> records;
    for (std::size_t i = withStart ? startRecord_ : firstRecord_; i < recordCount_(); ++i) {
      TestAspiRecord record;
      recordAt_(i, &record);
      records.push_back(record);
    }
    return records;
  }

  static SrbExecScsiCmd ExecBlock(const TestAspiRecord& record) {
    SrbExecScsiCmd block{};
    std::memcpy(&block, record.block, sizeof(block));
    return block;
  }

  std::unique_ptr<platform::Platform> system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::AspiTransport> transport_;
  HMODULE module_ = nullptr;
  TestAspiSetAdaptersEntry setAdapters_ = nullptr;
  TestAspiQueueReplyEntry queueReply_ = nullptr;
  TestAspiRecordCountEntry recordCount_ = nullptr;
  TestAspiRecordAtEntry recordAt_ = nullptr;
  TestAspiWaitIdleEntry waitIdle_ = nullptr;
  std::size_t startRecord_ = 0;
  std::size_t firstRecord_ = 0;
};

TEST_F(WindowsAspiTest, StartInquiresEveryAdapterWithSixtyByteBlocks) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kPaceAspi, 2, "aic78xx"));
  const auto records = Records(true);
  ASSERT_EQ(records.size(), 2u);
  for (std::uint8_t i = 0; i < 2; ++i) {
    EXPECT_EQ(records[i].blockSize, sizeof(SrbHaInquiry));
    EXPECT_EQ(records[i].block[offsetof(SrbHaInquiry, SRB_Cmd)], platform::kScHaInquiry);
    EXPECT_EQ(records[i].block[offsetof(SrbHaInquiry, SRB_HaId)], i);
  }
}

TEST_F(WindowsAspiTest, InquiryGoesOutAsTheEightyByteBlockAndItsDataComesBack) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kFlashAspi));
  TestAspiReply reply;
  const char identity[] = "TAVREON DVD-ROM KD-410   1.04";
  reply.data[0] = 0x05;
  std::memcpy(reply.data + 8, identity, sizeof(identity) - 1);
  reply.dataLength = 96;
  reply.completeLater = true;
  queueReply_(&reply);

  ASSERT_EQ(drvcmd::SendInquiry(*transport_, {0, 0, 1}), drvcmd::kOutcomeGood);
  EXPECT_EQ(std::memcmp(transport_->DataBuffer().data() + 8, identity, sizeof(identity) - 1), 0);

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  const SrbExecScsiCmd sent = ExecBlock(records[0]);
  EXPECT_EQ(records[0].blockSize, 80u);
  EXPECT_EQ(sent.SRB_Cmd, platform::kScExecScsiCmd);
  EXPECT_EQ(sent.SRB_Flags, platform::kSrbEventNotify | platform::kSrbDirIn);
  EXPECT_EQ(sent.SRB_HaId, 0);
  EXPECT_EQ(sent.SRB_Target, 1);
  EXPECT_EQ(sent.SRB_Lun, 0);
  EXPECT_EQ(sent.SRB_BufLen, 96u);
  EXPECT_EQ(sent.SRB_BufPointer, transport_->DataBuffer().data());
  EXPECT_EQ(sent.SRB_SenseLen, 0);
  EXPECT_EQ(sent.SRB_CDBLen, 6);
  EXPECT_NE(sent.SRB_PostProc, nullptr) << "completion by event";
  const std::uint8_t inquiry[16] = {0x12, 0, 0, 0, 0x60, 0};
  EXPECT_EQ(std::memcmp(sent.CDBByte, inquiry, sizeof(inquiry)), 0);
  // The event was a real one and is closed again: waiting on it fails now.
  EXPECT_EQ(::WaitForSingleObject(static_cast<HANDLE>(sent.SRB_PostProc), 0), WAIT_FAILED);
}

TEST_F(WindowsAspiTest, CheckConditionFailsAndTheSpeedUtilityFetchesItsSense) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kPaceAspi));
  TestAspiReply failed;
  failed.status = platform::kSsErr;
  failed.targetStatus = 0x02;
  queueReply_(&failed);
  TestAspiReply sense;  // what REQUEST SENSE reads: fixed-format sense data
  sense.data[0] = 0x70;
  sense.data[2] = 0x02;
  sense.data[12] = 0x3A;
  sense.data[13] = 0x01;
  sense.dataLength = 18;
  sense.completeLater = true;
  queueReply_(&sense);

  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 1}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(transport_->LastScsiStatus(), 0x02);
  EXPECT_EQ(transport_->LastSense()[2], 0x02);
  EXPECT_EQ(transport_->LastSense()[12], 0x3A);
  EXPECT_EQ(transport_->LastSense()[13], 0x01);

  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(ExecBlock(records[0]).CDBByte[0], 0x00);  // TEST UNIT READY
  EXPECT_EQ(ExecBlock(records[0]).SRB_Flags, platform::kSrbEventNotify);
  EXPECT_EQ(ExecBlock(records[1]).CDBByte[0], 0x03);  // REQUEST SENSE
  EXPECT_EQ(ExecBlock(records[1]).SRB_Target, 1);
}

TEST_F(WindowsAspiTest, RequestThatNeverCompletesRunsOutOfItsLimitedWaitAndIsAborted) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kPaceAspi));
  TestAspiReply silent;
  silent.neverComplete = true;
  queueReply_(&silent);

  // TEST UNIT READY waits at most 1000 ms here.
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {0, 0, 0}), drvcmd::kOutcomeFailure);
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].block[0], platform::kScAbortSrb);
  platform::SrbAbort abort{};
  std::memcpy(&abort, records[1].block, sizeof(abort));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(abort.SRB_ToAbort), records[0].address)
      << "the abort names the request that is still pending";
}

}  // namespace

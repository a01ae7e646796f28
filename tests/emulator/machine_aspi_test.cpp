// The ASPI manager: support information per manager state, host adapter
// inquiry bytes, requests completed at once or later, waits, aborts, and
// requests the program gave up.
#include <gtest/gtest.h>

#include <array>

#include "emulator/emulated_aspi.h"
#include "emulator/emulated_drive.h"
#include "tests/emulator/machine_test_support.h"

namespace emu::testing {
namespace {

constexpr std::uint8_t kFlagsIn = platform::kSrbEventNotify | platform::kSrbDirIn;
constexpr std::uint8_t kFlagsNone = platform::kSrbEventNotify;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"},
               {"number": 1, "identifier": "NORTHSTAR ULTRA2 WIDE SCSI HOST", "scsiId": 6}],
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410", "disc": "dvd",
     "faults": [{"opcode": "0x00", "delayMs": 3000, "times": "always"},
                {"opcode": "0x1B", "transportFailure": true}]},
    {"adapter": 0, "target": 1, "type": "0x05", "vendor": "OTHER", "product": "CD-ROM"},
    {"adapter": 1, "target": 5, "answers": false}
  ]
})";

std::uint8_t Status(platform::Dword supportInfo) { return (supportInfo >> 8) & 0xFF; }
std::uint8_t Count(platform::Dword supportInfo) { return supportInfo & 0xFF; }

TEST(MachineAspiSupport, ManagerStatesGiveTheirLoadAndSupportOutcomes) {
  auto present = LoadMachine(kMachine);
  EXPECT_NE(present->Aspi().LoadLibraryA("WNASPI32.DLL"), platform::kNullHandle);
  EXPECT_EQ(Status(present->Aspi().GetASPI32SupportInfo()), platform::kSsComp);
  EXPECT_EQ(Count(present->Aspi().GetASPI32SupportInfo()), 2);
  EXPECT_EQ(present->Aspi().LoadLibraryA("OTHER.DLL"), platform::kNullHandle);
  EXPECT_EQ(present->Kernel32().GetLastError(), platform::kErrorModNotFound);

  auto missing = LoadMachine(R"({"aspi": {"manager": "missing"}})");
  EXPECT_EQ(missing->Aspi().LoadLibraryA("WNASPI32.DLL"), platform::kNullHandle);
  EXPECT_EQ(missing->Kernel32().GetLastError(), platform::kErrorModNotFound);

  auto failing = LoadMachine(R"({"aspi": {"manager": "failsInit"},
                                 "adapters": [{"number": 0, "identifier": "ESDI_506"}]})");
  EXPECT_NE(failing->Aspi().LoadLibraryA("WNASPI32.DLL"), platform::kNullHandle);
  EXPECT_EQ(Status(failing->Aspi().GetASPI32SupportInfo()), platform::kSsFailedInit);

  auto empty = LoadMachine(R"({"aspi": {"manager": "noAdapters"},
                               "adapters": [{"number": 0, "identifier": "ESDI_506"}]})");
  EXPECT_EQ(Count(empty->Aspi().GetASPI32SupportInfo()), 0);
  EXPECT_EQ(Status(empty->Aspi().GetASPI32SupportInfo()), platform::kSsNoAdapters);
}

TEST(MachineAspiSupport, HostAdapterInquiryFillsTheRecordBytes) {
  auto machine = LoadMachine(kMachine);
  platform::SrbHaInquiry first{};
  first.SRB_Cmd = platform::kScHaInquiry;
  EXPECT_EQ(machine->Aspi().SendASPI32Command(&first), platform::kSsComp);
  EXPECT_EQ(first.SRB_Status, platform::kSsComp);
  EXPECT_EQ(first.HA_Count, 2);
  EXPECT_EQ(first.HA_SCSI_ID, 7);
  EXPECT_EQ(Text(first.HA_ManagerId, 16), std::string("ASPI for WIN32\0\0", 16));
  EXPECT_EQ(Text(first.HA_Identifier, 16), std::string("ESDI_506\0\0\0\0\0\0\0\0", 16));

  platform::SrbHaInquiry second{};
  second.SRB_Cmd = platform::kScHaInquiry;
  second.SRB_HaId = 1;
  second.HA_Rsvd1 = 0x1234;
  EXPECT_EQ(machine->Aspi().SendASPI32Command(&second), platform::kSsComp);
  EXPECT_EQ(second.HA_SCSI_ID, 6);
  // Cut at 16 bytes, no terminator, and nothing written past the field.
  EXPECT_EQ(Text(second.HA_Identifier, 16), "NORTHSTAR ULTRA2");
  EXPECT_EQ(second.HA_Unique[0], 0x01);
  EXPECT_EQ(second.HA_Rsvd1, 0x1234);

  platform::SrbHaInquiry third{};
  third.SRB_Cmd = platform::kScHaInquiry;
  third.SRB_HaId = 2;
  EXPECT_EQ(machine->Aspi().SendASPI32Command(&third), platform::kSsInvalidHa);
}

class MachineAspiRequests : public ::testing::Test {
 protected:
  platform::Kernel& Kernel() { return machine_->Kernel32(); }
  platform::Dword Send(platform::SrbExecScsiCmd& srb) {
    return machine_->Aspi().SendASPI32Command(&srb);
  }
  std::unique_ptr<EmulatedMachine> machine_ = LoadMachine(kMachine);
  std::array<std::uint8_t, 96> data_{};
};

TEST_F(MachineAspiRequests, AnsweredRequestCompletesAndSignalsItsEvent) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  auto srb = ExecBlock(0, 1, kInquiryCdb, kFlagsIn, data_.data(), 96, event);
  EXPECT_EQ(Send(srb), platform::kSsPending);
  EXPECT_EQ(Kernel().WaitForSingleObject(event, platform::kInfinite), platform::kWaitObject0);
  EXPECT_EQ(srb.SRB_Status, platform::kSsComp);
  EXPECT_EQ(Text(data_.data() + 8, 8), "OTHER   ");

  const LoggedCommand& logged = machine_->Log().Entries().back();
  EXPECT_EQ(logged.path, CommandPath::kAspi);
  EXPECT_EQ(logged.adapter, 0);
  EXPECT_EQ(logged.target, 1);
  EXPECT_EQ(logged.cdbLength, 6);
  EXPECT_EQ(logged.srbFlags, kFlagsIn);
  EXPECT_EQ(logged.srbSenseLen, 0);
  EXPECT_EQ(logged.transferLength, 96u);
  EXPECT_TRUE(logged.waited);
  EXPECT_EQ(logged.waitMilliseconds, platform::kInfinite);
  EXPECT_EQ(logged.srbStatus, platform::kSsComp);
}

TEST_F(MachineAspiRequests, CheckConditionCopiesSenseOnlyWhenAskedFor) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  auto quiet = ExecBlock(0, 1, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, event);  // no disc
  std::memset(quiet.SenseArea, 0xAA, sizeof(quiet.SenseArea));
  EXPECT_EQ(Send(quiet), platform::kSsPending);
  EXPECT_EQ(quiet.SRB_Status, platform::kSsErr);
  EXPECT_EQ(quiet.SRB_TargStat, kStatusCheckCondition);
  EXPECT_EQ(quiet.SenseArea[2], 0xAA);

  auto asking = ExecBlock(0, 1, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, event);
  asking.SRB_SenseLen = 14;
  std::memset(asking.SenseArea, 0xAA, sizeof(asking.SenseArea));
  EXPECT_EQ(Send(asking), platform::kSsPending);
  EXPECT_EQ(asking.SenseArea[2], 0x02);
  EXPECT_EQ(asking.SenseArea[12], 0x3A);
  EXPECT_EQ(asking.SenseArea[14], 0xAA);
  EXPECT_EQ(machine_->Log().Entries().back().senseTriple,
            (std::array<std::uint8_t, 3>{0x02, 0x3A, 0x00}));
}

TEST_F(MachineAspiRequests, RequestsThatCannotBeAcceptedAreRefusedAtOnceWithoutSignal) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  struct Case {
    const char* what;
    platform::SrbExecScsiCmd srb;
    platform::Byte status;
  };
  std::vector<Case> cases = {
      {"empty target", ExecBlock(0, 4, kInquiryCdb, kFlagsIn, data_.data(), 96, event),
       platform::kSsNoDevice},
      {"silent target", ExecBlock(1, 5, kInquiryCdb, kFlagsIn, data_.data(), 96, event),
       platform::kSsNoDevice},
      {"no such adapter", ExecBlock(2, 0, kInquiryCdb, kFlagsIn, data_.data(), 96, event),
       platform::kSsInvalidHa},
      {"both directions",
       ExecBlock(0, 1, kInquiryCdb, kFlagsIn | platform::kSrbDirOut, data_.data(), 96, event),
       platform::kSsInvalidSrb},
      {"data without a buffer", ExecBlock(0, 1, kInquiryCdb, kFlagsIn, nullptr, 96, event),
       platform::kSsInvalidSrb},
      {"notify without an event", ExecBlock(0, 1, kInquiryCdb, kFlagsIn, data_.data(), 96, 0),
       platform::kSsInvalidSrb},
      {"no command bytes", ExecBlock(0, 1, {}, kFlagsIn, data_.data(), 96, event),
       platform::kSsInvalidSrb},
  };
  for (Case& c : cases) {
    EXPECT_EQ(Send(c.srb), c.status) << c.what;
    EXPECT_EQ(c.srb.SRB_Status, c.status) << c.what;
  }
  EXPECT_EQ(Kernel().WaitForSingleObject(event, 0), platform::kWaitTimeout);
  EXPECT_EQ(data_[8], 0);
}

TEST_F(MachineAspiRequests, DelayedRequestOutlastsALimitedWaitAndCompletesLater) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  auto srb = ExecBlock(0, 0, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, event);
  const platform::Dword start = machine_->Timer().timeGetTime();
  EXPECT_EQ(Send(srb), platform::kSsPending);
  EXPECT_EQ(srb.SRB_Status, platform::kSsPending);

  EXPECT_EQ(Kernel().WaitForSingleObject(event, 1000), platform::kWaitTimeout);
  EXPECT_EQ(machine_->Timer().timeGetTime() - start, 1000u);
  EXPECT_EQ(srb.SRB_Status, platform::kSsPending);
  EXPECT_EQ(machine_->Log().Entries().back().waitMilliseconds, 1000u);
  EXPECT_EQ(machine_->Log().Entries().back().srbStatus, platform::kSsPending);

  EXPECT_EQ(Kernel().WaitForSingleObject(event, platform::kInfinite), platform::kWaitObject0);
  EXPECT_EQ(machine_->Timer().timeGetTime() - start, 3000u);
  EXPECT_EQ(srb.SRB_Status, platform::kSsComp);
  EXPECT_EQ(machine_->Log().Entries().back().srbStatus, platform::kSsComp);
}

TEST_F(MachineAspiRequests, AbortEndsAPendingRequestAtOnce) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  auto srb = ExecBlock(0, 0, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, event);
  ASSERT_EQ(Send(srb), platform::kSsPending);
  platform::SrbAbort abort{};
  abort.SRB_Cmd = platform::kScAbortSrb;
  abort.SRB_ToAbort = &srb;
  EXPECT_EQ(machine_->Aspi().SendASPI32Command(&abort), platform::kSsComp);
  EXPECT_EQ(srb.SRB_Status, platform::kSsAborted);
  EXPECT_EQ(Kernel().WaitForSingleObject(event, 0), platform::kWaitObject0);
  // Nothing is left to abort, and time never completes it a second time.
  EXPECT_EQ(machine_->Aspi().SendASPI32Command(&abort), platform::kSsAbortFail);
  machine_->Timer().Sleep(5000);
  EXPECT_EQ(srb.SRB_Status, platform::kSsAborted);
}

TEST_F(MachineAspiRequests, GivenUpRequestsAreNeverWrittenLater) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  auto srb = ExecBlock(0, 0, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, event);
  ASSERT_EQ(Send(srb), platform::kSsPending);
  ASSERT_EQ(Kernel().WaitForSingleObject(event, 1000), platform::kWaitTimeout);
  ASSERT_TRUE(Kernel().CloseHandle(event));
  srb.SRB_Status = 0x77;  // the program reuses its block
  machine_->Timer().Sleep(5000);
  EXPECT_EQ(srb.SRB_Status, 0x77);
  EXPECT_EQ(machine_->PendingAspiRequests(), 0u);

  // Resubmitting a block that is still pending drops its earlier use.
  const platform::Handle second = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  srb = ExecBlock(0, 0, kTestUnitReadyCdb, kFlagsNone, nullptr, 0, second);
  ASSERT_EQ(Send(srb), platform::kSsPending);
  srb = ExecBlock(0, 1, kInquiryCdb, kFlagsIn, data_.data(), 96, second);
  ASSERT_EQ(Send(srb), platform::kSsPending);
  EXPECT_EQ(srb.SRB_Status, platform::kSsComp);
  EXPECT_EQ(machine_->PendingAspiRequests(), 0u);
}

TEST_F(MachineAspiRequests, TransportFailureEndsInAnErrorWithAHostStatus) {
  const platform::Handle event = Kernel().CreateEventA(platform::kFalse, platform::kFalse);
  const std::vector<std::uint8_t> stop = {0x1B, 0, 0, 0, 0, 0};
  auto srb = ExecBlock(0, 0, stop, kFlagsNone, nullptr, 0, event);
  EXPECT_EQ(Send(srb), platform::kSsPending);
  EXPECT_EQ(Kernel().WaitForSingleObject(event, platform::kInfinite), platform::kWaitObject0);
  EXPECT_EQ(srb.SRB_Status, platform::kSsErr);
  EXPECT_EQ(srb.SRB_HaStat, kHaStatSelectionTimeout);
  EXPECT_EQ(srb.SRB_TargStat, 0);
}

}  // namespace
}  // namespace emu::testing

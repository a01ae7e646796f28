// Kernel and clock services of the emulated machine: events and waits on the
// fake and the real clock, global memory and its injected failure, message
// texts and timer periods.
#include <gtest/gtest.h>

#include <array>

#include "tests/emulator/machine_test_support.h"

namespace emu::testing {
namespace {

TEST(MachineKernel, AutoResetEventsWakeOneWaitManualOnesStaySignalled) {
  auto machine = LoadMachine("{}");
  platform::Kernel& kernel = machine->Kernel32();
  const platform::Handle automatic = kernel.CreateEventA(platform::kFalse, platform::kTrue);
  EXPECT_EQ(kernel.WaitForSingleObject(automatic, 0), platform::kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(automatic, 0), platform::kWaitTimeout);

  const platform::Handle manual = kernel.CreateEventA(platform::kTrue, platform::kFalse);
  EXPECT_TRUE(kernel.SetEvent(manual));
  EXPECT_EQ(kernel.WaitForSingleObject(manual, 0), platform::kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(manual, 0), platform::kWaitObject0);

  EXPECT_TRUE(kernel.CloseHandle(manual));
  EXPECT_EQ(kernel.WaitForSingleObject(manual, 0), platform::kWaitFailed);
  EXPECT_EQ(kernel.GetLastError(), platform::kErrorInvalidHandle);
  EXPECT_FALSE(kernel.CloseHandle(manual));
}

TEST(MachineKernel, FakeClockWaitsAdvanceTimeInsteadOfHanging) {
  auto machine = LoadMachine(R"({"clock": {"startMs": 5000}})");
  platform::Kernel& kernel = machine->Kernel32();
  const platform::Handle event = kernel.CreateEventA(platform::kFalse, platform::kFalse);
  EXPECT_EQ(machine->Timer().timeGetTime(), 5000u);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 30000), platform::kWaitTimeout);
  EXPECT_EQ(machine->Timer().timeGetTime(), 35000u);
  machine->Timer().Sleep(250);
  EXPECT_EQ(machine->Timer().timeGetTime(), 35250u);
  // Nothing could ever signal it: the wait fails instead of hanging the test.
  EXPECT_EQ(kernel.WaitForSingleObject(event, platform::kInfinite), platform::kWaitFailed);
}

TEST(MachineKernel, RealClockWaitIsWokenByADelayedCompletion) {
  MachineOptions options;
  options.readOnly = true;
  std::string error;
  auto machine = EmulatedMachine::LoadText(
      R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],
          "devices": [{"adapter": 0, "target": 0,
                       "faults": [{"opcode": "0x00", "delayMs": 20}]}]})",
      "machine.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  platform::Kernel& kernel = machine->Kernel32();
  const platform::Handle event = kernel.CreateEventA(platform::kFalse, platform::kFalse);
  auto srb = ExecBlock(0, 0, kTestUnitReadyCdb, platform::kSrbEventNotify, nullptr, 0, event);
  ASSERT_EQ(machine->Aspi().SendASPI32Command(&srb), platform::kSsPending);
  EXPECT_EQ(kernel.WaitForSingleObject(event, platform::kInfinite), platform::kWaitObject0);
  EXPECT_NE(srb.SRB_Status, platform::kSsPending);
}

TEST(MachineKernel, GlobalMemoryIsZeroedAndTheChosenAllocationFails) {
  auto machine = LoadMachine(R"({"memory": {"failAllocation": 2}})");
  platform::Kernel& kernel = machine->Kernel32();
  const platform::Handle first = kernel.GlobalAlloc(platform::kGmemZeroInit, 0x50000);
  ASSERT_NE(first, platform::kNullHandle);
  auto* bytes = static_cast<std::uint8_t*>(kernel.GlobalLock(first));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[0x4FFFF], 0);

  EXPECT_EQ(kernel.GlobalAlloc(platform::kGmemZeroInit, 16), platform::kNullHandle);
  EXPECT_EQ(kernel.GetLastError(), platform::kErrorNotEnoughMemory);
  const platform::Handle third = kernel.GlobalAlloc(platform::kGmemZeroInit, 16);
  EXPECT_NE(third, platform::kNullHandle);
  EXPECT_EQ(machine->LiveMemoryBlocks(), 2u);

  EXPECT_EQ(kernel.GlobalUnlock(first), platform::kFalse);
  EXPECT_EQ(kernel.GetLastError(), platform::kErrorSuccess);
  EXPECT_EQ(kernel.GlobalFree(first), platform::kNullHandle);
  EXPECT_EQ(kernel.GlobalFree(first), first);  // already freed
  EXPECT_EQ(kernel.GlobalLock(first), nullptr);
  EXPECT_EQ(machine->LiveMemoryBlocks(), 1u);
}

TEST(MachineKernel, FreeingARequestBlocksMemoryDropsItsPendingCompletion) {
  auto machine = LoadMachine(
      R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],
          "devices": [{"adapter": 0, "target": 0,
                       "faults": [{"opcode": "0x00", "delayMs": 3000}]}]})");
  platform::Kernel& kernel = machine->Kernel32();
  const platform::Handle memory = kernel.GlobalAlloc(platform::kGmemZeroInit, 0x1000);
  auto* srb = static_cast<platform::SrbExecScsiCmd*>(kernel.GlobalLock(memory));
  *srb = ExecBlock(0, 0, kTestUnitReadyCdb, 0, nullptr, 0, 0);
  ASSERT_EQ(machine->Aspi().SendASPI32Command(srb), platform::kSsPending);
  EXPECT_EQ(machine->PendingAspiRequests(), 1u);
  kernel.GlobalUnlock(memory);
  kernel.GlobalFree(memory);
  EXPECT_EQ(machine->PendingAspiRequests(), 0u);
  machine->Timer().Sleep(5000);  // would write freed memory if it were still pending
}

TEST(MachineKernel, FormatMessageGivesTheSystemTextOrFails) {
  auto machine = LoadMachine("{}");
  platform::Kernel& kernel = machine->Kernel32();
  std::array<char, 128> text{};
  const platform::Dword length =
      kernel.FormatMessageA(platform::kFormatMessageFromSystem, nullptr,
                            platform::kErrorInvalidParameter, 0, text.data(), text.size());
  EXPECT_EQ(std::string(text.data(), length), "The parameter is incorrect.\r\n");
  EXPECT_EQ(kernel.FormatMessageA(platform::kFormatMessageFromSystem, nullptr, 12345, 0,
                                  text.data(), text.size()),
            0u);
  EXPECT_EQ(kernel.GetLastError(), platform::kErrorMrMidNotFound);
}

TEST(MachineClock, TimerPeriodsBelowTheMinimumAreRefused) {
  auto machine = LoadMachine(R"({"clock": {"minimumPeriod": 8}})");
  platform::Clock& clock = machine->Timer();
  for (platform::Uint period = 1; period <= 7; ++period) {
    EXPECT_EQ(clock.timeBeginPeriod(period), platform::kTimerrNoCanDo) << period;
  }
  EXPECT_EQ(clock.timeBeginPeriod(8), platform::kTimerrNoError);
  EXPECT_EQ(clock.timeEndPeriod(8), platform::kTimerrNoError);
  EXPECT_EQ(clock.timeEndPeriod(8), platform::kTimerrNoCanDo);  // ended once already
}

}  // namespace
}  // namespace emu::testing

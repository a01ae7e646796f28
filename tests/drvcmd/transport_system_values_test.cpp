// What the command layer hands the operating-system services, checked against
// the values Windows defines (not against our own constants): I/O control
// codes, wait results, event kind, message language, the drive's address,
// and what a record's sense and data areas may pass on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "emulator/emulated_machine.h"
#include "startup/host_system.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using platform::Dword;
using platform::Handle;

// Forwards to the fake kernel and records how events and system texts are asked for.
class RecordingKernel : public platform::Kernel {
 public:
  explicit RecordingKernel(testsupport::FakeKernel& inner) : inner_(inner) {}

  struct EventRequest {
    platform::Bool manualReset, initialState;
  };
  struct FormatRequest {
    Dword flags;
    const void* source;
    Dword languageId, size;
  };

  Dword GetLastError() override { return inner_.GetLastError(); }
  void SetLastError(Dword code) override { inner_.SetLastError(code); }
  Handle CreateEventA(platform::Bool manualReset, platform::Bool initialState) override {
    events.push_back({manualReset, initialState});
    return inner_.CreateEventA(manualReset, initialState);
  }
  platform::Bool SetEvent(Handle event) override { return inner_.SetEvent(event); }
  Dword WaitForSingleObject(Handle event, Dword milliseconds) override {
    return inner_.WaitForSingleObject(event, milliseconds);
  }
  platform::Bool CloseHandle(Handle event) override { return inner_.CloseHandle(event); }
  Handle GlobalAlloc(platform::Uint flags, std::size_t bytes) override {
    return inner_.GlobalAlloc(flags, bytes);
  }
  void* GlobalLock(Handle memory) override { return inner_.GlobalLock(memory); }
  platform::Bool GlobalUnlock(Handle memory) override { return inner_.GlobalUnlock(memory); }
  Handle GlobalFree(Handle memory) override { return inner_.GlobalFree(memory); }
  Dword FormatMessageA(Dword flags, const void* source, Dword messageId, Dword languageId,
                       char* buffer, Dword size) override {
    formats.push_back({flags, source, languageId, size});
    return inner_.FormatMessageA(flags, source, messageId, languageId, buffer, size);
  }
  void GetSystemInfo(platform::SystemInfo* info) override { inner_.GetSystemInfo(info); }
  platform::Bool GetVersionExA(platform::OsVersionInfoA* info) override {
    return inner_.GetVersionExA(info);
  }

  std::vector<EventRequest> events;
  std::vector<FormatRequest> formats;

 private:
  testsupport::FakeKernel& inner_;
};

// A pass-through service that, like one handing back all the sense it holds,
// fills the whole 32-byte sense area of every record that ends in check condition.
class WholeSensePassThrough : public platform::PassThroughService {
 public:
  explicit WholeSensePassThrough(testsupport::FakePassThrough& inner) : inner_(inner) {}

  Handle CreateFileA(const char* name, Dword access, Dword share, Dword disposition,
                     Dword flags) override {
    return inner_.CreateFileA(name, access, share, disposition, flags);
  }
  platform::Bool DeviceIoControl(Handle device, Dword code, void* in, Dword inSize, void* out,
                                 Dword outSize, Dword* returned) override {
    const platform::Bool result =
        inner_.DeviceIoControl(device, code, in, inSize, out, outSize, returned);
    if (code == 0x4D014u) {  // IOCTL_SCSI_PASS_THROUGH_DIRECT
      auto* record = static_cast<platform::ScsiPassThroughDirectWithSense*>(out);
      if (record->sptd.ScsiStatus != 0) {
        for (std::size_t i = 0; i < sizeof record->SenseBuf; ++i) {
          record->SenseBuf[i] = static_cast<platform::Uchar>(0xA0 + i);
        }
      }
    }
    return result;
  }
  platform::Bool CloseHandle(Handle device) override { return inner_.CloseHandle(device); }
  platform::Bool LockDevice(Handle device) override { return inner_.LockDevice(device); }

 private:
  testsupport::FakePassThrough& inner_;
};

class RecordingPlatform : public testsupport::FakePlatform {
 public:
  platform::Kernel& Kernel32() override { return recordingKernel; }
  platform::PassThroughService& PassThrough() override {
    if (wholeSense) return wholeSensePassThrough;
    return passThrough;
  }

  RecordingKernel recordingKernel{kernel};
  WholeSensePassThrough wholeSensePassThrough{passThrough};
  bool wholeSense = false;
};

class SystemValuesTest : public ::testing::Test {
 protected:
  std::unique_ptr<drvcmd::SptiTransport> Spti(ProgramId program) {
    auto transport = std::make_unique<drvcmd::SptiTransport>(program, system_, notice_);
    EXPECT_EQ(transport->StartTransport(), drvcmd::kStartOk);
    return transport;
  }
  std::unique_ptr<drvcmd::AspiTransport> Aspi(ProgramId program) {
    system_.aspi.adapters = {"SCSI"};
    system_.aspi.targets[{0, 1}].inquiry = testsupport::MakeInquiry(0x05, "TAVREON ");
    auto transport = std::make_unique<drvcmd::AspiTransport>(program, system_, notice_);
    EXPECT_EQ(transport->StartTransport(), drvcmd::kStartOk);
    return transport;
  }

  RecordingPlatform system_;
  testsupport::RecordingNotice notice_;
};

TEST_F(SystemValuesTest, PassThroughUsesTheWindowsIoControlCodes) {
  system_.passThrough.devices['D'].inquiry = testsupport::MakeInquiry(0x05, "TAVREON ");
  auto spti = Spti(ProgramId::kFlashSpti);
  ASSERT_EQ(spti->OpenDrive('D'), 0);
  ASSERT_EQ(drvcmd::SendInquiry(*spti, {}), drvcmd::kOutcomeGood);  // buffered record
  ASSERT_EQ(spti->CloseDrive(), 0);
  auto zone = Spti(ProgramId::kZoneSpti);
  ASSERT_EQ(zone->OpenDrive('D'), 0);
  ASSERT_EQ(drvcmd::SendTestUnitReady(*zone, {}), drvcmd::kOutcomeGood);  // direct record

  std::vector<Dword> codes;
  for (const auto& call : system_.passThrough.calls) codes.push_back(call.code);
  EXPECT_EQ(codes, (std::vector<Dword>{0x41010, 0x41018, 0x4D004, 0x41010, 0x41018, 0x4D014}));
}

TEST_F(SystemValuesTest, AspiWaitsOnAnAutoResetEventWithTheWindowsLimits) {
  auto updater = Aspi(ProgramId::kFlashAspi);
  ASSERT_EQ(drvcmd::SendInquiry(*updater, {0, 0, 1}), drvcmd::kOutcomeGood);
  auto speed = Aspi(ProgramId::kPaceAspi);
  ASSERT_EQ(drvcmd::SendTestUnitReady(*speed, {0, 0, 1}), drvcmd::kOutcomeGood);

  // Unnamed, auto-reset (manual reset FALSE), not signalled.
  ASSERT_EQ(system_.recordingKernel.events.size(), 2u);
  for (const auto& event : system_.recordingKernel.events) {
    EXPECT_EQ(event.manualReset, 0);
    EXPECT_EQ(event.initialState, 0);
  }
  ASSERT_EQ(system_.kernel.waits.size(), 2u);
  EXPECT_EQ(system_.kernel.waits[0].milliseconds, 0xFFFFFFFFu);  // INFINITE
  EXPECT_EQ(system_.kernel.waits[1].milliseconds, 1000u);
}

TEST_F(SystemValuesTest, SystemTextIsAskedForFromTheSystemInTheDefaultLanguage) {
  testsupport::RecordingNotice notice;
  drvcmd::ShowSystemError(system_.recordingKernel, notice, 5);
  ASSERT_EQ(system_.recordingKernel.formats.size(), 1u);
  const auto& format = system_.recordingKernel.formats[0];
  EXPECT_EQ(format.flags, 0x1000u);  // FORMAT_MESSAGE_FROM_SYSTEM
  EXPECT_EQ(format.source, nullptr);
  EXPECT_EQ(format.languageId, 0u);
  EXPECT_EQ(format.size, 128u);
  ASSERT_EQ(notice.messages.size(), 1u);
  EXPECT_EQ(notice.messages[0].text, "Access is denied.\r\n");
}

TEST(WaitResultsTest, KernelsAnswerWithTheWindowsWaitCodes) {
  std::string error;
  // The real system's kernel (Linux's own, or Windows itself).
  const auto host = startup::OpenHostPlatform(&error, [](const std::string&) {});
  ASSERT_NE(host, nullptr) << error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText("{}", "wait-test.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  for (platform::Kernel* kernel : {&host->Kernel32(), &machine->Kernel32()}) {
    const Handle event = kernel->CreateEventA(platform::kFalse, platform::kTrue);
    ASSERT_NE(event, 0u);
    EXPECT_EQ(kernel->WaitForSingleObject(event, 0), 0x000u);  // WAIT_OBJECT_0
    // Auto-reset: the first wait took the signal.
    EXPECT_EQ(kernel->WaitForSingleObject(event, 0), 0x102u);  // WAIT_TIMEOUT
    EXPECT_EQ(kernel->SetEvent(event), 1);
    EXPECT_EQ(kernel->WaitForSingleObject(event, 0xFFFFFFFFu), 0x000u);
    EXPECT_EQ(kernel->CloseHandle(event), 1);
    EXPECT_EQ(kernel->WaitForSingleObject(event, 0), 0xFFFFFFFFu);  // WAIT_FAILED
    EXPECT_EQ(kernel->GetLastError(), 6u);                          // ERROR_INVALID_HANDLE
  }
  // INFINITE is no long time-out: an event nothing will signal would hang a
  // real machine, so the emulated one fails the wait instead of timing out.
  const Handle never = machine->Kernel32().CreateEventA(platform::kFalse, platform::kFalse);
  EXPECT_EQ(machine->Kernel32().WaitForSingleObject(never, 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(machine->Kernel32().WaitForSingleObject(never, 0xFFFFFFFEu), 0x102u);
}

TEST(IoControlCodesTest, EmulatedPassThroughAnswersTheWindowsCodes) {
  std::string error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText(
      R"({"devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"}]})",
      "ioctl-test.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  platform::PassThroughService& service = machine->PassThrough();
  const Handle drive = service.CreateFileA("\\\\.\\D:", 0xC0000000u, 3, 3, 0);
  ASSERT_NE(drive, platform::kInvalidHandleValue);
  Dword returned = 0;
  platform::IoScsiCapabilities capabilities{};
  EXPECT_EQ(service.DeviceIoControl(drive, 0x41010, nullptr, 0, &capabilities, sizeof capabilities,
                                    &returned),
            1);
  platform::ScsiAddress address{};
  EXPECT_EQ(
      service.DeviceIoControl(drive, 0x41018, nullptr, 0, &address, sizeof address, &returned), 1);

  std::array<std::uint8_t, 96> inquiry{};
  platform::ScsiPassThroughDirectWithSense direct{};
  direct.sptd.Length = sizeof direct.sptd;
  direct.sptd.CdbLength = 12;
  direct.sptd.DataIn = 1;
  direct.sptd.DataTransferLength = 96;
  direct.sptd.TimeOutValue = 2;
  direct.sptd.DataBuffer = inquiry.data();
  direct.sptd.Cdb[0] = 0x12;
  direct.sptd.Cdb[4] = 96;
  EXPECT_EQ(service.DeviceIoControl(drive, 0x4D014, &direct, sizeof direct, &direct, sizeof direct,
                                    &returned),
            1);
  EXPECT_EQ(std::string(inquiry.begin() + 8, inquiry.begin() + 16), "TAVREON ");

  platform::ScsiPassThroughWithBuffers buffered{};
  buffered.spt.Length = sizeof buffered.spt;
  buffered.spt.CdbLength = 12;
  buffered.spt.DataIn = 1;
  buffered.spt.DataTransferLength = 96;
  buffered.spt.TimeOutValue = 2;
  buffered.spt.DataBufferOffset = offsetof(platform::ScsiPassThroughWithBuffers, DataBuf);
  buffered.spt.Cdb[0] = 0x12;
  buffered.spt.Cdb[4] = 96;
  EXPECT_EQ(service.DeviceIoControl(drive, 0x4D004, &buffered, sizeof buffered, &buffered,
                                    sizeof buffered, &returned),
            1);
  EXPECT_EQ(std::string(buffered.DataBuf + 8, buffered.DataBuf + 16), "TAVREON ");
  service.CloseHandle(drive);
}

TEST(DriveAddressTest, RequestsCarryThePathIdTargetAndLunOfTheAddressQuery) {
  std::string error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText(
      R"({"adapters": [{"number": 0, "identifier": "SCSI"}, {"number": 1, "identifier": "SCSI"}],
          "devices": [{"letter": "D", "adapter": 1, "target": 5, "pathId": 2, "lun": 3,
                       "model": "KD-410"}]})",
      "address-test.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  testsupport::RecordingNotice notice;
  // flashspti sends INQUIRY through the buffered record, zonespti through the direct one.
  for (const ProgramId program : {ProgramId::kFlashSpti, ProgramId::kZoneSpti}) {
    drvcmd::SptiTransport transport(program, *machine, notice);
    ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk);
    ASSERT_EQ(transport.OpenDrive('D'), 0);
    machine->Log().Clear();
    ASSERT_EQ(drvcmd::SendInquiry(transport, {}), drvcmd::kOutcomeGood);
    ASSERT_EQ(machine->Log().Entries().size(), 1u);
    const emu::LoggedCommand& sent = machine->Log().Entries()[0];
    EXPECT_EQ(sent.pathId, 2);
    EXPECT_EQ(sent.target, 5);
    EXPECT_EQ(sent.lun, 3);
  }
  EXPECT_TRUE(notice.messages.empty());

  // Out-of-range values are refused with the field named.
  for (const char* field : {"pathId", "lun"}) {
    const std::string json = std::string(R"({"devices": [{"adapter": 0, "target": 0, ")") + field +
                             R"(": 8, "model": "KD-410"}]})";
    EXPECT_EQ(emu::EmulatedMachine::LoadText(json, "bad-address.json", options, &error), nullptr);
    EXPECT_NE(error.find(std::string("devices[0].") + field), std::string::npos) << error;
  }
}

TEST_F(SystemValuesTest, FailedBufferedInquiryLeavesTheDataBufferAlone) {
  auto& device = system_.passThrough.devices['D'];
  testsupport::FakeAnswer refused =
      testsupport::FakeAnswer::CheckCondition(testsupport::FixedSense(0x05, 0x24, 0x00));
  refused.data.assign(96, 0x5A);  // data the drive moved before it refused
  device.script.push_back(refused);
  device.script.push_back(testsupport::FakeAnswer::CallFails());
  auto spti = Spti(ProgramId::kFlashSpti);
  ASSERT_EQ(spti->OpenDrive('D'), 0);
  std::fill_n(spti->DataBuffer().begin(), 96, 0xC3);

  EXPECT_EQ(drvcmd::SendInquiry(*spti, {}), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(drvcmd::SendInquiry(*spti, {}), drvcmd::kOutcomeFailure);
  EXPECT_TRUE(std::all_of(spti->DataBuffer().begin(), spti->DataBuffer().begin() + 96,
                          [](std::uint8_t b) { return b == 0xC3; }));
}

TEST_F(SystemValuesTest, SenseCopyStopsAtTheRequestedSenseLength) {
  system_.wholeSense = true;
  // zonespti asks for 18 bytes with TEST UNIT READY, pacespti for 24 with its
  // capabilities page, flashspti for none.
  const struct {
    ProgramId program;
    std::uint8_t senseLength;
  } requests[] = {
      {ProgramId::kZoneSpti, 18}, {ProgramId::kPaceSpti, 24}, {ProgramId::kFlashSpti, 0}};
  for (const auto& sent : requests) {
    SCOPED_TRACE(static_cast<int>(sent.senseLength));
    auto& device = system_.passThrough.devices['D'];
    device.script.push_back(testsupport::FakeAnswer::CheckCondition({}));
    auto transport = Spti(sent.program);
    ASSERT_EQ(transport->OpenDrive('D'), 0);
    std::array<std::uint8_t, 32> area{};
    drvcmd::ScsiRequest request;
    request.cdb[0] = 0x5A;
    request.direction = drvcmd::DataDirection::kIn;
    request.buffer = area.data();
    request.transferLength = 26;
    request.timeoutSeconds = 10;
    request.senseLength = sent.senseLength;
    EXPECT_EQ(transport->ExecuteRequest(request), drvcmd::kOutcomeCheckCondition);
    for (std::size_t i = 0; i < transport->LastSense().size(); ++i) {
      const std::uint8_t expected = i < sent.senseLength ? static_cast<std::uint8_t>(0xA0 + i) : 0;
      EXPECT_EQ(transport->LastSense()[i], expected) << "sense byte " << i;
      EXPECT_EQ(request.sense[i], expected) << "sense byte " << i;
    }
  }
}

}  // namespace

// The pass-through service: opening letters, address and capability queries,
// record checks, sense copy, generic faults, time-outs and the command log.
#include <gtest/gtest.h>

#include <array>

#include "emulator/emulated_drive.h"
#include "tests/emulator/machine_test_support.h"

namespace emu::testing {
namespace {

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"}, {"number": 1, "identifier": "SCSI"}],
  "devices": [
    {"letter": "D", "adapter": 1, "target": 3, "model": "KD-410", "disc": "dvd",
     "faults": [{"opcode": "0x00", "sense": "04-44-00"},
                {"opcode": "0x3C", "byte2": "0x80", "sense": "05-24-00", "times": "always"},
                {"opcode": "0x12", "delayMs": 1500, "times": 1},
                {"opcode": "0x12", "delayMs": 3000, "times": 1}]},
    {"letter": "E", "adapter": 0, "target": 1, "type": "0x05", "vendor": "OTHER",
     "product": "CD-ROM", "revision": "1.00"},
    {"letter": "F", "adapter": 0, "target": 0, "openFails": true},
    {"letter": "G", "adapter": 1, "target": 4, "answers": false},
    {"letter": "H", "adapter": 1, "target": 5,
     "faults": [{"opcode": "0x12", "transportFailure": true}]}
  ]
})";

class MachinePassThrough : public ::testing::Test {
 protected:
  std::unique_ptr<EmulatedMachine> machine_ = LoadMachine(kMachine);
  platform::PassThroughService& service_ = machine_->PassThrough();
};

TEST_F(MachinePassThrough, OpensOnlyDriveLetterDevicesThatExistAndMayBeOpened) {
  EXPECT_NE(OpenLetter(*machine_, 'D'), platform::kInvalidHandleValue);
  EXPECT_NE(OpenLetter(*machine_, 'e'), platform::kInvalidHandleValue);

  EXPECT_EQ(OpenLetter(*machine_, 'Q'), platform::kInvalidHandleValue);
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorFileNotFound);
  EXPECT_EQ(service_.CreateFileA("D:", 0, 0, platform::kOpenExisting, 0),
            platform::kInvalidHandleValue);
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorFileNotFound);

  EXPECT_EQ(OpenLetter(*machine_, 'F'), platform::kInvalidHandleValue);
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorAccessDenied);
  EXPECT_EQ(machine_->OpenDeviceHandles(), 2u);
}

TEST_F(MachinePassThrough, AddressAndCapabilitiesDescribeTheDrive) {
  const platform::Handle drive = OpenLetter(*machine_, 'D');
  platform::ScsiAddress address{};
  platform::Dword returned = 0;
  ASSERT_TRUE(service_.DeviceIoControl(drive, platform::kIoctlScsiGetAddress, nullptr, 0, &address,
                                       sizeof(address), &returned));
  EXPECT_EQ(returned, sizeof(address));
  EXPECT_EQ(address.Length, sizeof(address));
  EXPECT_EQ(address.PortNumber, 1);
  EXPECT_EQ(address.PathId, 0);
  EXPECT_EQ(address.TargetId, 3);
  EXPECT_EQ(address.Lun, 0);

  platform::IoScsiCapabilities capabilities{};
  ASSERT_TRUE(service_.DeviceIoControl(drive, platform::kIoctlScsiGetCapabilities, nullptr, 0,
                                       &capabilities, sizeof(capabilities), &returned));
  EXPECT_EQ(capabilities.Length, sizeof(capabilities));
  EXPECT_GE(capabilities.MaximumTransferLength, 0x10000u);

  EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiGetAddress, nullptr, 0, &address,
                                        sizeof(address) - 1, &returned));
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorInsufficientBuffer);

  ASSERT_TRUE(service_.CloseHandle(drive));
  EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiGetAddress, nullptr, 0, &address,
                                        sizeof(address), &returned));
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorInvalidHandle);
}

TEST_F(MachinePassThrough, MalformedRecordsAreRefusedBeforeReachingTheDrive) {
  const platform::Handle drive = OpenLetter(*machine_, 'E');
  std::array<std::uint8_t, 96> data{};
  using Record = platform::ScsiPassThroughDirectWithSense;
  struct Case {
    const char* what;
    void (*spoil)(Record&);
  };
  const Case cases[] = {
      {"Length", [](Record& r) { r.sptd.Length = 0; }},
      {"CdbLength", [](Record& r) { r.sptd.CdbLength = 17; }},
      {"DataIn", [](Record& r) { r.sptd.DataIn = 3; }},
      {"null buffer", [](Record& r) { r.sptd.DataBuffer = nullptr; }},
      {"sense inside the header", [](Record& r) { r.sptd.SenseInfoOffset = 4; }},
      {"sense past the record",
       [](Record& r) { r.sptd.SenseInfoLength = sizeof(Record) - offsetof(Record, SenseBuf) + 1; }},
  };
  for (const Case& c : cases) {
    Record record{};
    record.sptd.Length = sizeof(platform::ScsiPassThroughDirect);
    record.sptd.CdbLength = 12;
    record.sptd.DataIn = platform::kScsiIoctlDataIn;
    record.sptd.DataTransferLength = data.size();
    record.sptd.TimeOutValue = 2;
    record.sptd.DataBuffer = data.data();
    record.sptd.SenseInfoLength = 18;
    record.sptd.SenseInfoOffset = offsetof(Record, SenseBuf);
    std::memcpy(record.sptd.Cdb, kInquiryCdb.data(), kInquiryCdb.size());
    c.spoil(record);
    platform::Dword returned = 0;
    EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThroughDirect, &record,
                                          sizeof(record), &record, sizeof(record), &returned))
        << c.what;
    EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorInvalidParameter) << c.what;
  }
  // The record must also be at least as large as the header, both ways.
  Record record{};
  platform::Dword returned = 0;
  EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThroughDirect, &record,
                                        sizeof(platform::ScsiPassThroughDirect) - 1, &record,
                                        sizeof(record), &returned));
  EXPECT_TRUE(machine_->Log().Entries().empty());
}

TEST_F(MachinePassThrough, BufferedRecordCarriesDataInItsAreaAndChecksItsSizes) {
  const platform::Handle drive = OpenLetter(*machine_, 'E');
  using Record = platform::ScsiPassThroughWithBuffers;
  auto fill = [](Record& record, std::uint32_t length) {
    record = Record{};
    record.spt.Length = sizeof(platform::ScsiPassThrough);
    record.spt.CdbLength = 12;
    record.spt.DataIn = platform::kScsiIoctlDataIn;
    record.spt.DataTransferLength = length;
    record.spt.TimeOutValue = 2;
    record.spt.DataBufferOffset = offsetof(Record, DataBuf);
    record.spt.SenseInfoOffset = offsetof(Record, SenseBuf);
    std::memcpy(record.spt.Cdb, kInquiryCdb.data(), kInquiryCdb.size());
  };
  const platform::Dword dataOffset = offsetof(Record, DataBuf);
  Record record;
  fill(record, 96);
  platform::Dword returned = 0;
  ASSERT_TRUE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThrough, &record,
                                       sizeof(record), &record, dataOffset + 96, &returned));
  EXPECT_EQ(record.spt.ScsiStatus, 0);
  EXPECT_EQ(returned, dataOffset + 96);
  EXPECT_EQ(Text(record.DataBuf + 8, 8), "OTHER   ");

  const LoggedCommand& logged = machine_->Log().Entries().back();
  EXPECT_EQ(logged.path, CommandPath::kPassThroughBuffered);
  EXPECT_EQ(logged.ioControlCode, platform::kIoctlScsiPassThrough);
  EXPECT_EQ(logged.inBufferSize, sizeof(record));
  EXPECT_EQ(logged.outBufferSize, dataOffset + 96);
  EXPECT_EQ(logged.dataBufferOffset, dataOffset);
  EXPECT_EQ(logged.length, sizeof(platform::ScsiPassThrough));

  // Output too small for the data, and more than the record's 512-byte area.
  fill(record, 96);
  EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThrough, &record,
                                        sizeof(record), &record, dataOffset + 95, &returned));
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorInvalidParameter);
  fill(record, platform::kBufferedDataAreaSize + 1);
  EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThrough, &record,
                                        sizeof(record), &record, sizeof(record) + 1, &returned));
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorInvalidParameter);
  EXPECT_EQ(machine_->Log().Entries().size(), 1u);
}

TEST_F(MachinePassThrough, CheckConditionCopiesNoMoreSenseThanAskedFor) {
  const platform::Handle drive = OpenLetter(*machine_, 'E');  // no disc: 02-3A-00
  std::uint8_t none = 0;
  DirectExchange full = SendDirect(*machine_, drive, kTestUnitReadyCdb, 1, &none, 0, 2, 18);
  ASSERT_TRUE(full.ok);
  EXPECT_EQ(full.record.sptd.ScsiStatus, kStatusCheckCondition);
  EXPECT_EQ(full.record.SenseBuf[0], 0x70);
  EXPECT_EQ(full.record.SenseBuf[2], 0x02);
  EXPECT_EQ(full.record.SenseBuf[12], 0x3A);

  // Eight bytes asked: the ASC at byte 12 must not arrive.
  DirectExchange eight = SendDirect(*machine_, drive, kTestUnitReadyCdb, 1, &none, 0, 2, 8);
  ASSERT_TRUE(eight.ok);
  EXPECT_EQ(eight.record.SenseBuf[2], 0x02);
  EXPECT_EQ(eight.record.SenseBuf[12], 0x00);
  EXPECT_EQ(eight.bytesReturned, offsetof(platform::ScsiPassThroughDirectWithSense, SenseBuf) + 8);

  const LoggedCommand& logged = machine_->Log().Entries().back();
  EXPECT_EQ(logged.scsiStatus, kStatusCheckCondition);
  EXPECT_EQ(logged.senseTriple, (std::array<std::uint8_t, 3>{0x02, 0x3A, 0x00}));
  EXPECT_EQ(logged.senseInfoLength, 8);
  EXPECT_EQ(logged.dataIn, 1);
  EXPECT_EQ(logged.transferLength, 0u);
}

TEST_F(MachinePassThrough, FaultsFailOnceOrAlwaysAndOnlyTheMatchingCommand) {
  const platform::Handle drive = OpenLetter(*machine_, 'D');
  std::uint8_t none = 0;
  // Once: the first TEST UNIT READY fails, REQUEST SENSE reports it, the next passes.
  DirectExchange first = SendDirect(*machine_, drive, kTestUnitReadyCdb, 1, &none, 0);
  EXPECT_EQ(first.record.sptd.ScsiStatus, kStatusCheckCondition);
  EXPECT_EQ(first.record.SenseBuf[2], 0x04);
  EXPECT_EQ(first.record.SenseBuf[12], 0x44);
  std::array<std::uint8_t, 18> sense{};
  SendDirect(*machine_, drive, kRequestSenseCdb, 1, sense.data(), sense.size());
  EXPECT_EQ(sense[2], 0x04);
  EXPECT_EQ(sense[12], 0x44);
  EXPECT_EQ(SendDirect(*machine_, drive, kTestUnitReadyCdb, 1, &none, 0).record.sptd.ScsiStatus,
            kStatusGood);

  // Always, and only for READ BUFFER with buffer ID 80h in byte 2.
  std::array<std::uint8_t, 0x20> memory{};
  const std::vector<std::uint8_t> readMemory = {0x3C, 0x01, 0x80, 0, 0x10, 0, 0, 0, 0x20, 0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    DirectExchange e = SendDirect(*machine_, drive, readMemory, 1, memory.data(), memory.size());
    EXPECT_EQ(e.record.sptd.ScsiStatus, kStatusCheckCondition);
    EXPECT_EQ(e.record.SenseBuf[12], 0x24);
  }
  std::vector<std::uint8_t> otherBuffer = readMemory;
  otherBuffer[2] = 0x81;
  DirectExchange other = SendDirect(*machine_, drive, otherBuffer, 1, memory.data(), memory.size());
  EXPECT_EQ(other.record.sptd.ScsiStatus, kStatusCheckCondition);
  EXPECT_EQ(other.record.SenseBuf[12], 0x24);  // the drive's own answer to a bad buffer ID
  EXPECT_EQ(machine_->DriveAtLetter('D')->ProgrammingCount(), 0u);
}

TEST_F(MachinePassThrough, DelaysAdvanceTheClockAndOutlastingTheTimeOutFailsTheCall) {
  const platform::Handle drive = OpenLetter(*machine_, 'D');
  std::array<std::uint8_t, 96> data{};
  const platform::Dword start = machine_->Timer().timeGetTime();
  DirectExchange slow = SendDirect(*machine_, drive, kInquiryCdb, 1, data.data(), 96, 2);
  EXPECT_TRUE(slow.ok);
  EXPECT_EQ(machine_->Timer().timeGetTime() - start, 1500u);

  DirectExchange late = SendDirect(*machine_, drive, kInquiryCdb, 1, data.data(), 96, 2);
  EXPECT_FALSE(late.ok);
  EXPECT_EQ(late.error, platform::kErrorSemTimeout);
  EXPECT_EQ(machine_->Timer().timeGetTime() - start, 3500u);
  EXPECT_TRUE(machine_->Log().Entries().back().transportFailed);
  EXPECT_EQ(machine_->Log().Entries().back().errorCode, platform::kErrorSemTimeout);
}

TEST_F(MachinePassThrough, TransportFailureAndSilentDeviceFailTheCallLeavingTheStatus) {
  std::array<std::uint8_t, 96> data{};
  for (char letter : {'G', 'H'}) {
    const platform::Handle drive = OpenLetter(*machine_, letter);
    platform::ScsiPassThroughDirectWithSense record{};
    record.sptd.Length = sizeof(platform::ScsiPassThroughDirect);
    record.sptd.ScsiStatus = 0x55;
    record.sptd.CdbLength = 12;
    record.sptd.DataIn = 1;
    record.sptd.DataTransferLength = 96;
    record.sptd.TimeOutValue = 2;
    record.sptd.DataBuffer = data.data();
    std::memcpy(record.sptd.Cdb, kInquiryCdb.data(), kInquiryCdb.size());
    platform::Dword returned = 7;
    EXPECT_FALSE(service_.DeviceIoControl(drive, platform::kIoctlScsiPassThroughDirect, &record,
                                          sizeof(record), &record, sizeof(record), &returned));
    EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorIoDevice) << letter;
    EXPECT_EQ(record.sptd.ScsiStatus, 0x55) << letter;
    EXPECT_EQ(returned, 0u);
  }
}

TEST_F(MachinePassThrough, LogKeepsEveryFieldOfTheRecordAndTheLock) {
  const platform::Handle drive = OpenLetter(*machine_, 'E');
  ASSERT_EQ(service_.LockDevice(drive), 0);
  const platform::Handle second = OpenLetter(*machine_, 'E');
  EXPECT_NE(service_.LockDevice(second), 0);  // one holder at a time
  EXPECT_EQ(machine_->Kernel32().GetLastError(), platform::kErrorSharingViolation);

  std::array<std::uint8_t, 8> parameters = {0, 6, 0, 0, 0xFD, 0, 0, 0};
  const std::vector<std::uint8_t> sendKey = {0xA3, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x06, 0};
  SendDirect(*machine_, drive, sendKey, platform::kScsiIoctlDataOut, parameters.data(), 8, 5, 18);
  const LoggedCommand& logged = machine_->Log().Entries().back();
  EXPECT_EQ(logged.path, CommandPath::kPassThroughDirect);
  EXPECT_EQ(logged.letter, 'E');
  EXPECT_EQ(logged.adapter, 0);
  EXPECT_EQ(logged.cdbLength, 12);
  EXPECT_EQ(logged.cdb[0], 0xA3);
  EXPECT_EQ(logged.cdb[10], 0x06);
  EXPECT_EQ(logged.ioControlCode, platform::kIoctlScsiPassThroughDirect);
  EXPECT_EQ(logged.inBufferSize, sizeof(platform::ScsiPassThroughDirectWithSense));
  EXPECT_EQ(logged.length, sizeof(platform::ScsiPassThroughDirect));
  EXPECT_EQ(logged.dataIn, platform::kScsiIoctlDataOut);
  EXPECT_EQ(logged.transferLength, 8u);
  EXPECT_EQ(logged.timeOutValue, 5u);
  EXPECT_EQ(logged.senseInfoLength, 18);
  EXPECT_EQ(logged.senseInfoOffset, offsetof(platform::ScsiPassThroughDirectWithSense, SenseBuf));
  EXPECT_FALSE(logged.dataBufferIsNull);
  EXPECT_EQ(logged.dataOut, std::vector<std::uint8_t>(parameters.begin(), parameters.end()));
  EXPECT_TRUE(logged.deviceLocked);
}

}  // namespace
}  // namespace emu::testing

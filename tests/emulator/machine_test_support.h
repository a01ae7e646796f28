// Helpers for the emulated-machine tests: load a machine from text on the fake
// clock, and send pass-through records and ASPI request blocks the way the
// programs build them.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulated_machine.h"
#include "platform/win_errors.h"

namespace emu::testing {

inline std::unique_ptr<EmulatedMachine> LoadMachine(const std::string& json,
                                                    MachineOptions options = {}) {
  options.fakeClock = true;
  if (options.stateFile.empty()) options.readOnly = true;
  std::string error;
  auto machine = EmulatedMachine::LoadText(json, "machine.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

// The error LoadText gives for a machine file that must be refused.
inline std::string LoadError(const std::string& json) {
  MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = EmulatedMachine::LoadText(json, "machine.json", options, &error);
  EXPECT_EQ(machine, nullptr) << "loaded although it should not: " << json;
  return error;
}

inline platform::Handle OpenLetter(EmulatedMachine& machine, char letter) {
  const std::string path = std::string("\\\\.\\") + letter + ":";
  return machine.PassThrough().CreateFileA(
      path.c_str(), platform::kGenericRead | platform::kGenericWrite,
      platform::kFileShareRead | platform::kFileShareWrite, platform::kOpenExisting, 0);
}

inline const std::vector<std::uint8_t> kInquiryCdb = {0x12, 0, 0, 0, 0x60, 0};
inline const std::vector<std::uint8_t> kTestUnitReadyCdb = {0, 0, 0, 0, 0, 0};
inline const std::vector<std::uint8_t> kRequestSenseCdb = {0x03, 0, 0, 0, 0x12, 0};

// One direct pass-through exchange, record filled as the programs fill it.
struct DirectExchange {
  platform::ScsiPassThroughDirectWithSense record{};
  platform::Bool ok = platform::kFalse;
  platform::Dword error = 0;
  platform::Dword bytesReturned = 0;
};

inline DirectExchange SendDirect(EmulatedMachine& machine, platform::Handle handle,
                                 const std::vector<std::uint8_t>& cdb, std::uint8_t dataIn,
                                 void* buffer, std::uint32_t length, std::uint32_t timeOut = 2,
                                 std::uint8_t senseLength = 18) {
  DirectExchange exchange;
  auto& sptd = exchange.record.sptd;
  sptd.Length = sizeof(platform::ScsiPassThroughDirect);
  sptd.CdbLength = 12;
  sptd.SenseInfoLength = senseLength;
  sptd.DataIn = dataIn;
  sptd.DataTransferLength = length;
  sptd.TimeOutValue = timeOut;
  sptd.DataBuffer = buffer;
  sptd.SenseInfoOffset = offsetof(platform::ScsiPassThroughDirectWithSense, SenseBuf);
  std::memcpy(sptd.Cdb, cdb.data(), cdb.size());
  exchange.ok = machine.PassThrough().DeviceIoControl(
      handle, platform::kIoctlScsiPassThroughDirect, &exchange.record, sizeof(exchange.record),
      &exchange.record, sizeof(exchange.record), &exchange.bytesReturned);
  exchange.error = exchange.ok ? 0 : machine.Kernel32().GetLastError();
  return exchange;
}

// An SRB_ExecSCSICmd as the ASPI back-end fills it.
inline platform::SrbExecScsiCmd ExecBlock(int adapter, int target,
                                          const std::vector<std::uint8_t>& cdb, std::uint8_t flags,
                                          std::uint8_t* buffer, std::uint32_t length,
                                          platform::Handle event) {
  platform::SrbExecScsiCmd srb{};
  srb.SRB_Cmd = platform::kScExecScsiCmd;
  srb.SRB_HaId = static_cast<std::uint8_t>(adapter);
  srb.SRB_Flags = flags;
  srb.SRB_Target = static_cast<std::uint8_t>(target);
  srb.SRB_BufLen = length;
  srb.SRB_BufPointer = buffer;
  srb.SRB_CDBLen = static_cast<std::uint8_t>(cdb.size());
  srb.SRB_PostProc = reinterpret_cast<void*>(event);
  if (!cdb.empty()) std::memcpy(srb.CDBByte, cdb.data(), cdb.size());
  return srb;
}

inline std::string Text(const void* bytes, std::size_t length) {
  return std::string(static_cast<const char*>(bytes), length);
}

}  // namespace emu::testing

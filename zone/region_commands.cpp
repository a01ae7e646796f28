// REPORT KEY, READ DVD STRUCTURE and SEND KEY as the region utility sends them.
#include "zone/region_commands.h"

#include <algorithm>
#include <cstring>

#include "drvcmd/big_endian.h"
#include "zone/region_mask.h"

namespace zone {
namespace {

constexpr std::uint8_t kCdb12Length = 12;
constexpr std::uint32_t kRegionTimeoutSeconds = 5;
constexpr std::uint8_t kRegionSenseLength = 18;

// CDB fields shared by the three commands.
constexpr std::size_t kLengthField = 8;          // allocation / parameter list length, 16 bits
constexpr std::size_t kKeyFormatByte = 10;       // REPORT KEY / SEND KEY: AGID 7-6, key format 5-0
constexpr std::size_t kStructureFormatByte = 7;  // READ DVD STRUCTURE

drvcmd::ScsiRequest RegionRequest(std::uint8_t opcode, drvcmd::DataDirection direction,
                                  std::uint8_t* buffer) {
  drvcmd::ScsiRequest request;
  request.cdb[0] = opcode;
  drvcmd::PutBe16(&request.cdb[kLengthField], kRegionDataLength);
  request.cdbLength = kCdb12Length;
  request.direction = direction;
  request.buffer = buffer;
  request.transferLength = kRegionDataLength;
  request.timeoutSeconds = kRegionTimeoutSeconds;
  request.senseLength = kRegionSenseLength;
  request.record = drvcmd::RecordKind::kDirect;
  return request;
}

int Execute(drvcmd::Transport& transport, drvcmd::ScsiRequest& request) {
  const int outcome = transport.ExecuteRequest(request);
  if (outcome != drvcmd::kOutcomeGood) return outcome;
  if (request.direction == drvcmd::DataDirection::kIn && request.transferred < kRegionDataLength) {
    return drvcmd::kOutcomeFailure;
  }
  return outcome;
}

}  // namespace

drvcmd::ScsiRequest ReportRpcStateRequest(std::uint8_t* buffer) {
  drvcmd::ScsiRequest request = RegionRequest(kOpReportKey, drvcmd::DataDirection::kIn, buffer);
  request.cdb[kKeyFormatByte] = kKeyFormatRpcState;
  return request;
}

drvcmd::ScsiRequest ReadDiscCopyrightRequest(std::uint8_t* buffer) {
  drvcmd::ScsiRequest request =
      RegionRequest(kOpReadDvdStructure, drvcmd::DataDirection::kIn, buffer);
  request.cdb[kStructureFormatByte] = kStructureFormatCopyright;
  request.zeroBufferFirst = true;
  return request;
}

drvcmd::ScsiRequest SendRpcStructureRequest(std::uint8_t* parameterList) {
  drvcmd::ScsiRequest request =
      RegionRequest(kOpSendKey, drvcmd::DataDirection::kOut, parameterList);
  request.cdb[kKeyFormatByte] = kKeyFormatRpcStructure;
  return request;
}

int ReportRpcState(drvcmd::Transport& transport) {
  const std::span<std::uint8_t> data = transport.DataBuffer();
  if (data.size() < kRegionDataLength) return drvcmd::kOutcomeFailure;
  drvcmd::ScsiRequest request = ReportRpcStateRequest(data.data());
  return Execute(transport, request);
}

int ReadDiscCopyright(drvcmd::Transport& transport,
                      std::span<std::uint8_t, kRegionDataLength> disc) {
  // Cleared here too, so that a read that never reaches the drive leaves zeros.
  std::fill(disc.begin(), disc.end(), 0);
  drvcmd::ScsiRequest request = ReadDiscCopyrightRequest(disc.data());
  return Execute(transport, request);
}

int SendRpcStructure(drvcmd::Transport& transport, int region,
                     std::span<std::uint8_t, kRegionDataLength> parameterList) {
  RpcStructure structure{};
  drvcmd::PutBe16(structure.parameterDataLength, kRpcStructureDataLength);
  structure.preferredRegionMask = SingleRegionMask(region);
  std::memcpy(parameterList.data(), &structure, sizeof structure);
  drvcmd::ScsiRequest request = SendRpcStructureRequest(parameterList.data());
  return Execute(transport, request);
}

}  // namespace zone

// The three region commands with their transport settings: REPORT KEY (RPC
// state), READ DVD STRUCTURE (copyright information) and SEND KEY (RPC
// structure). Each goes to the drive the pass-through transport has open.
#pragma once

#include <cstdint>
#include <span>

#include "drvcmd/transport.h"
#include "zone/rpc_structures.h"

namespace zone {

inline constexpr std::uint8_t kOpSendKey = 0xA3;
inline constexpr std::uint8_t kOpReportKey = 0xA4;
inline constexpr std::uint8_t kOpReadDvdStructure = 0xAD;
inline constexpr std::uint8_t kKeyFormatRpcState = 0x08;
inline constexpr std::uint8_t kKeyFormatRpcStructure = 0x06;
inline constexpr std::uint8_t kStructureFormatCopyright = 0x01;

// The requests as they go out; `buffer` receives or holds the 8 bytes.
drvcmd::ScsiRequest ReportRpcStateRequest(std::uint8_t* buffer);
drvcmd::ScsiRequest ReadDiscCopyrightRequest(std::uint8_t* buffer);
drvcmd::ScsiRequest SendRpcStructureRequest(std::uint8_t* parameterList);

// Outcome codes of the command layer. An answer shorter than the 8 bytes asked
// is a failure too: the fields it lacks would be read from whatever the buffer held.
// On 0 the RpcState is at the start of the transport's data buffer.
int ReportRpcState(drvcmd::Transport& transport);
// The disc buffer is cleared before the read.
int ReadDiscCopyright(drvcmd::Transport& transport,
                      std::span<std::uint8_t, kRegionDataLength> disc);
// Fills the parameter list for region 1..6 and sends it.
int SendRpcStructure(drvcmd::Transport& transport, int region,
                     std::span<std::uint8_t, kRegionDataLength> parameterList);

}  // namespace zone

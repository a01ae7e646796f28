// The region side of an emulated DVD drive: the RPC Phase II state it keeps
// (type code, vendor resets, user changes, region mask, RPC scheme) and the
// copyright information of a loaded DVD.
#pragma once

#include <cstdint>

namespace emu {

inline constexpr std::uint8_t kRpcSchemePhase2 = 0x01;
inline constexpr std::uint8_t kRegionTypeNone = 0x0;        // no region set yet
inline constexpr std::uint8_t kRegionTypeSet = 0x1;         // region set, changes left
inline constexpr std::uint8_t kRegionTypeLastChange = 0x2;  // region set, one change left
inline constexpr std::uint8_t kRegionTypePermanent = 0x3;   // no changes left
inline constexpr std::uint8_t kNoDriveRegion = 0xFF;

struct RpcRegion {
  // REPORT KEY 08h and SEND KEY 06h answered at all (else refused as an invalid field).
  bool supported = false;
  std::uint8_t scheme = kRpcSchemePhase2;
  std::uint8_t typeCode = kRegionTypeNone;
  std::uint8_t vendorResets = 4;
  std::uint8_t userChanges = 5;
  std::uint8_t mask = kNoDriveRegion;  // 0 bit: the drive's region
};

// READ DVD STRUCTURE format 01h of a loaded DVD.
struct DiscCopyright {
  std::uint8_t protection = 0x00;  // 00h none, 01h CSS, 02h CPRM, others unknown
  std::uint8_t regionMask = 0x00;  // 1 bit: not playable in that region
};

}  // namespace emu

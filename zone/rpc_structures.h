// The byte layouts of the region commands' data: the RPC state that REPORT
// KEY returns, the copyright information that READ DVD STRUCTURE returns and
// the RPC structure that SEND KEY sends.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zone {

inline constexpr std::size_t kRegionDataLength = 8;  // every region command moves 8 bytes
inline constexpr int kRegionCount = 6;               // regions the utility offers

// REPORT KEY key format 08h.
struct RpcState {
  std::uint8_t dataLength[2];
  std::uint8_t reserved[2];
  std::uint8_t typeCodeAndChanges;  // type code 7-6, vendor resets 5-3, user changes 2-0
  std::uint8_t regionMask;          // 0 bit: the drive's region
  std::uint8_t rpcScheme;           // 01h: RPC Phase II
  std::uint8_t reserved2;
};
static_assert(sizeof(RpcState) == kRegionDataLength);
static_assert(offsetof(RpcState, typeCodeAndChanges) == 4);
static_assert(offsetof(RpcState, regionMask) == 5);
static_assert(offsetof(RpcState, rpcScheme) == 6);

inline constexpr std::uint8_t kTypeCodePermanent = 0x3;
inline constexpr std::uint8_t kRpcSchemePhase2 = 0x01;
inline constexpr int kInitialUserChanges = 5;

inline int TypeCode(const RpcState& state) { return (state.typeCodeAndChanges >> 6) & 0x3; }
inline int VendorResets(const RpcState& state) { return (state.typeCodeAndChanges >> 3) & 0x7; }
inline int UserChanges(const RpcState& state) { return state.typeCodeAndChanges & 0x7; }

// READ DVD STRUCTURE format 01h.
struct DiscCopyrightInfo {
  std::uint8_t dataLength[2];
  std::uint8_t reserved[2];
  std::uint8_t protectionType;  // 00h none, 01h/02h protected
  std::uint8_t regionMask;      // 1 bit: the disc may not be played in that region
  std::uint8_t reserved2[2];
};
static_assert(sizeof(DiscCopyrightInfo) == kRegionDataLength);
static_assert(offsetof(DiscCopyrightInfo, protectionType) == 4);
static_assert(offsetof(DiscCopyrightInfo, regionMask) == 5);

inline constexpr std::uint8_t kProtectionNone = 0x00;
inline constexpr std::uint8_t kProtectionCss = 0x01;
inline constexpr std::uint8_t kProtectionCprm = 0x02;

// SEND KEY key format 06h parameter list.
struct RpcStructure {
  std::uint8_t parameterDataLength[2];  // 0006h
  std::uint8_t reserved[2];
  std::uint8_t preferredRegionMask;
  std::uint8_t reserved2[3];
};
static_assert(sizeof(RpcStructure) == kRegionDataLength);
static_assert(offsetof(RpcStructure, preferredRegionMask) == 4);

inline constexpr std::uint16_t kRpcStructureDataLength = 0x0006;

}  // namespace zone

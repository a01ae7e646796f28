// ASPI manager service: the request blocks and the two entry points of the
// manager library. Field order and types are those of the ASPI structures with
// natural alignment; a 32-bit build has the documented sizes.
#pragma once

#include <cstddef>

#include "platform/win_types.h"

namespace platform {

inline constexpr char kAspiLibraryName[] = "WNASPI32.DLL";

// SRB_Cmd
inline constexpr Byte kScHaInquiry = 0x00;
inline constexpr Byte kScGetDevType = 0x01;
inline constexpr Byte kScExecScsiCmd = 0x02;
inline constexpr Byte kScAbortSrb = 0x03;

// SRB_Status
inline constexpr Byte kSsPending = 0x00;
inline constexpr Byte kSsComp = 0x01;
inline constexpr Byte kSsAborted = 0x02;
inline constexpr Byte kSsAbortFail = 0x03;
inline constexpr Byte kSsErr = 0x04;
inline constexpr Byte kSsInvalidCmd = 0x80;
inline constexpr Byte kSsInvalidHa = 0x81;
inline constexpr Byte kSsNoDevice = 0x82;
inline constexpr Byte kSsInvalidSrb = 0xE0;
inline constexpr Byte kSsFailedInit = 0xE4;
inline constexpr Byte kSsNoAdapters = 0xE8;

// SRB_Flags
inline constexpr Byte kSrbDirIn = 0x08;
inline constexpr Byte kSrbDirOut = 0x10;
inline constexpr Byte kSrbEventNotify = 0x40;

inline constexpr std::size_t kAspiSenseLen = 14;

struct SrbHaInquiry {
  Byte SRB_Cmd;
  Byte SRB_Status;
  Byte SRB_HaId;
  Byte SRB_Flags;
  Dword SRB_Hdr_Rsvd;
  Byte HA_Count;
  Byte HA_SCSI_ID;
  Byte HA_ManagerId[16];
  Byte HA_Identifier[16];
  Byte HA_Unique[16];
  Word HA_Rsvd1;
};

struct SrbExecScsiCmd {
  Byte SRB_Cmd;
  Byte SRB_Status;
  Byte SRB_HaId;
  Byte SRB_Flags;
  Dword SRB_Hdr_Rsvd;
  Byte SRB_Target;
  Byte SRB_Lun;
  Word SRB_Rsvd1;
  Dword SRB_BufLen;
  Byte* SRB_BufPointer;
  Byte SRB_SenseLen;
  Byte SRB_CDBLen;
  Byte SRB_HaStat;
  Byte SRB_TargStat;
  void* SRB_PostProc;  // the event handle when SRB_EVENT_NOTIFY is set
  void* SRB_Rsvd2;
  Byte SRB_Rsvd3[16];
  Byte CDBByte[16];
  Byte SenseArea[kAspiSenseLen + 2];
};

struct SrbAbort {
  Byte SRB_Cmd;
  Byte SRB_Status;
  Byte SRB_HaId;
  Byte SRB_Flags;
  Dword SRB_Hdr_Rsvd;
  void* SRB_ToAbort;
};

static_assert(sizeof(SrbHaInquiry) == 60);
static_assert(offsetof(SrbHaInquiry, HA_Identifier) == 26);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(SrbExecScsiCmd) == 80);
static_assert(offsetof(SrbExecScsiCmd, CDBByte) == 48);
#endif

// The manager library. SendASPI32Command takes any of the request blocks above
// (by SRB_Cmd) and returns SS_PENDING for a request it accepted, or the final
// status for one it completed or rejected at once. An accepted request with
// SRB_EVENT_NOTIFY signals SRB_PostProc when it completes, possibly later.
class AspiManager {
 public:
  virtual ~AspiManager() = default;
  // kNullHandle when the library cannot be loaded (last error set).
  virtual Handle LoadLibraryA(const char* name) = 0;
  // Byte 1 status, byte 0 adapter count.
  virtual Dword GetASPI32SupportInfo() = 0;
  virtual Dword SendASPI32Command(void* srb) = 0;
};

}  // namespace platform

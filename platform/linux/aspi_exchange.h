// Translation between an ASPI SCSI request block and the SG_IO header.
#pragma once

#include <scsi/sg.h>

#include <array>

#include "platform/aspi.h"

namespace platform {

// ASPI requests carry no time-out and are waited for without limit; the kernel
// still needs one, long enough for a firmware programming step.
inline constexpr unsigned kAspiCommandTimeoutMs = 120'000;

// SRB_HaStat values.
inline constexpr Byte kHaStatOk = 0x00;
inline constexpr Byte kHaStatCommandTimeout = 0x0B;
inline constexpr Byte kHaStatSelectionTimeout = 0x11;

struct AspiExchange {
  sg_io_hdr_t header{};
  std::array<unsigned char, sizeof(SrbExecScsiCmd::CDBByte)> cdb{};
  std::array<unsigned char, sizeof(SrbExecScsiCmd::SenseArea)> sense{};
};

// Checks the request block (CDB length, buffer) and fills the exchange.
// kSsComp when it can be sent, otherwise the status to report (SS_INVALID_SRB).
Byte PrepareAspiExchange(const SrbExecScsiCmd& srb, AspiExchange* exchange);

// After SG_IO returned: SRB_HaStat, SRB_TargStat, the sense bytes (up to
// SRB_SenseLen) and SRB_Status; returns the status.
Byte CompleteAspiExchange(const AspiExchange& exchange, SrbExecScsiCmd* srb);

}  // namespace platform

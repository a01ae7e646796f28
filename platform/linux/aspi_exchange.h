// Translation between an ASPI SCSI request block and the SG_IO header.
#pragma once

#include <scsi/sg.h>

#include <array>

#include "platform/aspi.h"
#include "platform/linux/pending_sense.h"

namespace platform {

// ASPI requests carry no time-out and are waited for without limit; the kernel
// still needs one, long enough for a firmware programming step.
inline constexpr unsigned kAspiCommandTimeoutMs = 120'000;

// SRB_HaStat values.
inline constexpr Byte kHaStatOk = 0x00;
inline constexpr Byte kHaStatCommandTimeout = 0x0B;
inline constexpr Byte kHaStatBusReset = 0x0E;
inline constexpr Byte kHaStatParityError = 0x0F;
inline constexpr Byte kHaStatSelectionTimeout = 0x11;
inline constexpr Byte kHaStatBusFree = 0x13;
inline constexpr Byte kHaStatPhaseError = 0x14;  // any other host or driver failure

struct AspiExchange {
  sg_io_hdr_t header{};
  std::array<unsigned char, sizeof(SrbExecScsiCmd::CDBByte)> cdb{};
  // The kernel is always asked for the whole sense; the request block gets
  // only SRB_SenseLen bytes of it.
  std::array<unsigned char, kKernelSenseBytes> sense{};
};

// The SRB_HaStat of an SG_IO completion: OK only when host and driver are.
Byte HostAdapterStatusOf(const sg_io_hdr_t& header);

// Checks the request block (CDB length, buffer) and fills the exchange.
// kSsComp when it can be sent, otherwise the status to report (SS_INVALID_SRB).
Byte PrepareAspiExchange(const SrbExecScsiCmd& srb, AspiExchange* exchange);

// After SG_IO returned: SRB_HaStat, SRB_TargStat, the sense bytes of a failed
// command (up to SRB_SenseLen) and SRB_Status; returns the status.
Byte CompleteAspiExchange(const AspiExchange& exchange, SrbExecScsiCmd* srb);

}  // namespace platform

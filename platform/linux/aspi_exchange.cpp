// SRB_ExecSCSICmd <-> sg_io_hdr.
#include "platform/linux/aspi_exchange.h"

#include <algorithm>
#include <cstring>

#include "platform/linux/sg_status.h"

namespace platform {

namespace {

int SgDirection(Byte flags, Dword length) {
  if (length == 0) return SG_DXFER_NONE;
  const bool in = (flags & kSrbDirIn) != 0;
  const bool out = (flags & kSrbDirOut) != 0;
  if (in && !out) return SG_DXFER_FROM_DEV;
  if (out && !in) return SG_DXFER_TO_DEV;
  // No direction bit: the command decides; carry the buffer both ways.
  return SG_DXFER_TO_FROM_DEV;
}

}  // namespace

Byte HostAdapterStatusOf(const sg_io_hdr_t& header) {
  switch (header.host_status) {
    case kHostOk:
      break;
    case kHostNoConnect:
    case kHostBadTarget:
      return kHaStatSelectionTimeout;
    case kHostBusBusy:
      return kHaStatBusFree;
    case kHostTimeOut:
    case kHostAbort:
      return kHaStatCommandTimeout;
    case kHostParity:
      return kHaStatParityError;
    case kHostReset:
      return kHaStatBusReset;
    default:
      return kHaStatPhaseError;
  }
  const unsigned driver = header.driver_status & kDriverStatusMask;
  if (driver == kDriverOk || driver == kDriverSense) return kHaStatOk;
  return driver == kDriverTimeout ? kHaStatCommandTimeout : kHaStatPhaseError;
}

Byte PrepareAspiExchange(const SrbExecScsiCmd& srb, AspiExchange* exchange) {
  *exchange = AspiExchange{};
  if (srb.SRB_CDBLen == 0 || srb.SRB_CDBLen > exchange->cdb.size()) return kSsInvalidSrb;
  if (srb.SRB_BufLen != 0 && srb.SRB_BufPointer == nullptr) return kSsInvalidSrb;
  std::memcpy(exchange->cdb.data(), srb.CDBByte, srb.SRB_CDBLen);

  sg_io_hdr_t& header = exchange->header;
  header.interface_id = 'S';
  header.dxfer_direction = SgDirection(srb.SRB_Flags, srb.SRB_BufLen);
  header.cmd_len = srb.SRB_CDBLen;
  header.mx_sb_len = static_cast<unsigned char>(exchange->sense.size());
  header.dxfer_len = srb.SRB_BufLen;
  header.dxferp = srb.SRB_BufLen != 0 ? srb.SRB_BufPointer : nullptr;
  header.cmdp = exchange->cdb.data();
  header.sbp = exchange->sense.data();
  header.timeout = kAspiCommandTimeoutMs;
  return kSsComp;
}

Byte CompleteAspiExchange(const AspiExchange& exchange, SrbExecScsiCmd* srb) {
  const sg_io_hdr_t& header = exchange.header;
  const std::size_t senseBytes =
      CarriesSense(header)
          ? std::min<std::size_t>({header.sb_len_wr, srb->SRB_SenseLen, sizeof srb->SenseArea})
          : 0;
  std::memcpy(srb->SenseArea, exchange.sense.data(), senseBytes);
  srb->SRB_HaStat = HostAdapterStatusOf(header);
  srb->SRB_TargStat = header.status;
  // A host or transport failure is an error even when the SCSI status is GOOD.
  srb->SRB_Status = (srb->SRB_HaStat == kHaStatOk && header.status == 0) ? kSsComp : kSsErr;
  return srb->SRB_Status;
}

}  // namespace platform

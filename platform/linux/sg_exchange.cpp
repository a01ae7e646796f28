// Pass-through record <-> sg_io_hdr.
#include "platform/linux/sg_exchange.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/linux/sg_status.h"
#include "platform/win_errors.h"

namespace platform {

namespace {

// The two headers differ only in how they name the data; the fields read and
// written here sit at the same places.
static_assert(sizeof(ScsiPassThrough) == sizeof(ScsiPassThroughDirect));
static_assert(offsetof(ScsiPassThrough, ScsiStatus) == offsetof(ScsiPassThroughDirect, ScsiStatus));
static_assert(offsetof(ScsiPassThrough, SenseInfoLength) ==
              offsetof(ScsiPassThroughDirect, SenseInfoLength));
static_assert(offsetof(ScsiPassThrough, DataTransferLength) ==
              offsetof(ScsiPassThroughDirect, DataTransferLength));
static_assert(offsetof(ScsiPassThrough, SenseInfoOffset) ==
              offsetof(ScsiPassThroughDirect, SenseInfoOffset));

constexpr unsigned kMillisecondsPerSecond = 1000;

// Whether [offset, offset + length) lies inside a buffer of the given size.
bool Fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

int SgDirection(Uchar dataIn, Ulong length) {
  if (length == 0) return SG_DXFER_NONE;
  if (dataIn == kScsiIoctlDataIn) return SG_DXFER_FROM_DEV;
  if (dataIn == kScsiIoctlDataOut) return SG_DXFER_TO_DEV;
  return SG_DXFER_TO_FROM_DEV;
}

unsigned TimeoutMilliseconds(Ulong seconds) {
  constexpr Ulong kMaxSeconds = std::numeric_limits<unsigned>::max() / kMillisecondsPerSecond;
  return std::min(seconds, kMaxSeconds) * kMillisecondsPerSecond;
}

template <typename Field>
void PutField(Byte* record, std::size_t offset, Field value) {
  std::memcpy(record + offset, &value, sizeof value);
}

// Validation and set-up common to both records; `Record` is the header type.
template <typename Record>
Dword PrepareCommon(const Record& record, Dword outBufferSize, SgExchange* exchange) {
  const std::size_t headerSize = sizeof(Record);
  if (record.Length != headerSize && record.Length != kPassThroughLength32) {
    return kErrorInvalidParameter;
  }
  if (record.CdbLength == 0 || record.CdbLength > kMaxCdbLength) return kErrorInvalidParameter;
  if (record.DataIn > kScsiIoctlDataUnspecified) return kErrorInvalidParameter;
  if (record.SenseInfoLength != 0 &&
      (record.SenseInfoOffset < headerSize ||
       !Fits(record.SenseInfoOffset, record.SenseInfoLength, outBufferSize))) {
    return kErrorInvalidParameter;
  }
  exchange->headerSize = headerSize;
  exchange->senseOffset = record.SenseInfoOffset;
  std::memcpy(exchange->cdb.data(), record.Cdb, record.CdbLength);

  sg_io_hdr_t& header = exchange->header;
  header.interface_id = 'S';
  header.dxfer_direction = SgDirection(record.DataIn, record.DataTransferLength);
  header.cmd_len = record.CdbLength;
  exchange->senseWanted = std::min<std::size_t>(record.SenseInfoLength, kMaxSenseBytes);
  header.mx_sb_len = static_cast<unsigned char>(exchange->sense.size());
  header.dxfer_len = record.DataTransferLength;
  header.cmdp = exchange->cdb.data();
  header.sbp = exchange->sense.data();
  header.timeout = TimeoutMilliseconds(record.TimeOutValue);
  return kErrorSuccess;
}

Dword PrepareDirect(const ScsiPassThroughDirect& record, Dword outBufferSize,
                    SgExchange* exchange) {
  if (record.DataTransferLength != 0 && record.DataBuffer == nullptr) {
    return kErrorInvalidParameter;
  }
  const Dword error = PrepareCommon(record, outBufferSize, exchange);
  if (error != kErrorSuccess) return error;
  exchange->direct = true;
  exchange->header.dxferp = record.DataTransferLength != 0 ? record.DataBuffer : nullptr;
  return kErrorSuccess;
}

Dword PrepareBuffered(const ScsiPassThrough& record, Byte* in, Dword inBufferSize, Byte* out,
                      Dword outBufferSize, SgExchange* exchange) {
  const Ulong length = record.DataTransferLength;
  const UlongPtr offset = record.DataBufferOffset;
  if (length != 0) {
    // Data comes from the input record and goes back in the output record.
    const bool readsIn = record.DataIn != kScsiIoctlDataIn;
    const bool writesOut = record.DataIn != kScsiIoctlDataOut;
    if (offset < sizeof(ScsiPassThrough) || (readsIn && !Fits(offset, length, inBufferSize)) ||
        (writesOut && !Fits(offset, length, outBufferSize))) {
      return kErrorInvalidParameter;
    }
  }
  const Dword error = PrepareCommon(record, outBufferSize, exchange);
  if (error != kErrorSuccess) return error;
  exchange->direct = false;
  exchange->dataOffset = offset;
  if (length == 0) return kErrorSuccess;
  if (record.DataIn == kScsiIoctlDataOut) {
    exchange->header.dxferp = in + offset;
  } else {
    // Both directions in one area: start from the caller's bytes in the output.
    if (record.DataIn == kScsiIoctlDataUnspecified && in != out) {
      std::memmove(out + offset, in + offset, length);
    }
    exchange->header.dxferp = out + offset;
  }
  return kErrorSuccess;
}

}  // namespace

Dword PreparePassThrough(Dword ioControlCode, void* inBuffer, Dword inBufferSize, void* outBuffer,
                         Dword outBufferSize, SgExchange* exchange) {
  *exchange = SgExchange{};
  const bool direct = ioControlCode == kIoctlScsiPassThroughDirect;
  if (!direct && ioControlCode != kIoctlScsiPassThrough) return kErrorInvalidParameter;
  constexpr std::size_t kHeaderSize = sizeof(ScsiPassThroughDirect);
  if (inBuffer == nullptr || outBuffer == nullptr || inBufferSize < kHeaderSize ||
      outBufferSize < kHeaderSize) {
    return kErrorInvalidParameter;
  }
  auto* in = static_cast<Byte*>(inBuffer);
  auto* out = static_cast<Byte*>(outBuffer);
  std::memcpy(exchange->record.data(), in, kHeaderSize);
  exchange->output = out;
  exchange->outputSize = outBufferSize;

  Dword error;
  if (direct) {
    ScsiPassThroughDirect record;
    std::memcpy(&record, in, sizeof record);
    error = PrepareDirect(record, outBufferSize, exchange);
  } else {
    ScsiPassThrough record;
    std::memcpy(&record, in, sizeof record);
    error = PrepareBuffered(record, in, inBufferSize, out, outBufferSize, exchange);
  }
  if (error != kErrorSuccess) *exchange = SgExchange{};
  return error;
}

Dword CompletePassThrough(const SgExchange& exchange, Dword* bytesReturned) {
  const sg_io_hdr_t& header = exchange.header;
  const std::size_t senseBytes =
      CarriesSense(header) ? std::min<std::size_t>(header.sb_len_wr, exchange.senseWanted) : 0;
  const Ulong resid = header.resid > 0 ? static_cast<Ulong>(header.resid) : 0;
  const Ulong transferred = header.dxfer_len - std::min<Ulong>(resid, header.dxfer_len);

  // Results into a copy of the caller's header, then the whole header out.
  std::array<Byte, sizeof(ScsiPassThroughDirect)> record = exchange.record;
  PutField(record.data(), offsetof(ScsiPassThroughDirect, ScsiStatus),
           static_cast<Uchar>(header.status));
  PutField(record.data(), offsetof(ScsiPassThroughDirect, SenseInfoLength),
           static_cast<Uchar>(senseBytes));
  PutField(record.data(), offsetof(ScsiPassThroughDirect, DataTransferLength), transferred);
  std::memcpy(exchange.output, record.data(), record.size());
  // The sense area was checked to fit the output for the requested length.
  if (senseBytes != 0) {
    std::memcpy(exchange.output + exchange.senseOffset, exchange.sense.data(), senseBytes);
  }

  std::uint64_t returned = exchange.headerSize;
  if (senseBytes != 0)
    returned = std::max<std::uint64_t>(returned, exchange.senseOffset + senseBytes);
  if (!exchange.direct && transferred != 0 && header.dxfer_direction != SG_DXFER_TO_DEV) {
    returned = std::max<std::uint64_t>(returned, exchange.dataOffset + transferred);
  }
  const Dword error = TransportErrorOf(header);
  if (bytesReturned != nullptr) {
    *bytesReturned =
        error == kErrorSuccess
            ? static_cast<Dword>(std::min<std::uint64_t>(returned, exchange.outputSize))
            : 0;
  }
  return error;
}

}  // namespace platform

// Translation between the pass-through records (direct and buffered) and the
// SG_IO header: validation and set-up before the call, results after it.
#pragma once

#include <scsi/sg.h>

#include <array>
#include <cstddef>

#include "platform/linux/pending_sense.h"
#include "platform/pass_through.h"

namespace platform {

// The Length a 32-bit program writes into either record header.
inline constexpr Ushort kPassThroughLength32 = 44;
// Sense bytes taken from a command at most: the records' sense area.
inline constexpr std::size_t kMaxSenseBytes = kSenseAreaSize;
inline constexpr std::size_t kMaxCdbLength = 16;

// One pass-through request on its way through SG_IO.
struct SgExchange {
  sg_io_hdr_t header{};
  std::array<unsigned char, kMaxCdbLength> cdb{};
  // The kernel is always asked for the whole sense; the caller gets only the
  // bytes its record asked for (senseWanted).
  std::array<unsigned char, kKernelSenseBytes> sense{};
  std::size_t senseWanted = 0;
  bool direct = false;
  std::size_t headerSize = 0;
  // The caller's header as given, written back with the results.
  std::array<Byte, sizeof(ScsiPassThroughDirect)> record{};
  Byte* output = nullptr;
  Dword outputSize = 0;
  Ulong senseOffset = 0;
  UlongPtr dataOffset = 0;  // buffered record: where its data area starts
};

// Checks the record (sizes, Length, CdbLength, DataIn, data and sense areas
// inside the buffers) and fills the exchange. 0, or ERROR_INVALID_PARAMETER.
Dword PreparePassThrough(Dword ioControlCode, void* inBuffer, Dword inBufferSize, void* outBuffer,
                         Dword outBufferSize, SgExchange* exchange);

// After SG_IO returned: writes ScsiStatus, the sense bytes of a failed
// command up to the requested length (SenseInfoLength becomes the number
// returned) and the transferred length into the output record. 0, or the Win32 code of a transport
// failure (the record is still written). bytesReturned gets the bytes of the output that carry
// results.
Dword CompletePassThrough(const SgExchange& exchange, Dword* bytesReturned);

}  // namespace platform

// The four firmware commands (vendor-specific READ BUFFER and WRITE BUFFER,
// mode 1) with each updater build's transport settings.
#pragma once

#include <cstdint>
#include <span>

#include "drvcmd/scsi_request.h"
#include "drvcmd/transport.h"

namespace flash {

inline constexpr std::uint8_t kOpWriteBuffer = 0x3B;
inline constexpr std::uint8_t kOpReadBuffer = 0x3C;
inline constexpr std::uint8_t kBufferModeVendorSpecific = 0x01;

inline constexpr std::uint8_t kBufferIdDownloadStart = 0x30;
inline constexpr std::uint8_t kBufferIdDownloadData = 0xFF;
inline constexpr std::uint8_t kBufferIdDownloadFinish = 0x42;
inline constexpr std::uint8_t kBufferIdDriveMemory = 0x80;

// Command block fields (10-byte READ/WRITE BUFFER).
inline constexpr std::size_t kBufferCdbLength = 10;
inline constexpr std::size_t kBufferCdbModeByte = 1;
inline constexpr std::size_t kBufferCdbIdByte = 2;
inline constexpr std::size_t kBufferCdbOffsetByte = 3;  // 24 bits, big-endian
inline constexpr std::size_t kBufferCdbLengthByte = 7;  // 16 bits, big-endian

inline constexpr std::uint32_t kMaxBufferOffset = 0xFFFFFF;
inline constexpr std::uint32_t kMaxBufferTransfer = 0xFFFF;
inline constexpr std::uint32_t kFirmwareCommandTimeoutSeconds = 5;  // pass-through

// Each returns the outcome code (0 good; pass-through -1 or 2, ASPI -1 on failure).
// A transfer that does not fit the command's fields fails with -1 unsent.
int SendWriteBufferStart(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive);
int SendWriteBufferData(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                        std::uint32_t driveOffset, std::span<std::uint8_t> source);
int SendWriteBufferFinish(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive);
int SendReadBuffer(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                   std::uint32_t driveOffset, std::span<std::uint8_t> target);

}  // namespace flash

// Helpers for the emulated-drive tests: build command blocks the way the
// programs do and run them against one drive.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "emulator/emulated_drive.h"
#include "emulator/firmware_builder.h"

namespace emu::testing {

inline constexpr std::uint8_t kWriteBuffer = 0x3B;
inline constexpr std::uint8_t kReadBuffer = 0x3C;
inline constexpr std::uint8_t kModeVendor = 0x01;
inline constexpr std::uint8_t kBufferStart = 0x30;
inline constexpr std::uint8_t kBufferData = 0xFF;
inline constexpr std::uint8_t kBufferFinish = 0x42;
inline constexpr std::uint8_t kBufferMemory = 0x80;
inline constexpr std::uint32_t kChunkSize = 0x8000;

using Sense3 = std::array<std::uint8_t, 3>;

struct Exchange {
  CommandAnswer answer;
  std::vector<std::uint8_t> data;  // data-in as the drive filled it
};

inline std::unique_ptr<EmulatedDrive> MakeDrive(const std::string& jsonText) {
  std::string error;
  auto drive = EmulatedDrive::FromJson(nlohmann::json::parse(jsonText), "test: devices[0]", &error);
  EXPECT_NE(drive, nullptr) << error;
  return drive;
}

// The 10-byte READ/WRITE BUFFER block, padded to 12 as the pass-through sends it.
inline std::vector<std::uint8_t> BufferCdb(std::uint8_t opcode, std::uint8_t bufferId,
                                           std::uint32_t offset, std::uint32_t length) {
  return {opcode,
          kModeVendor,
          bufferId,
          static_cast<std::uint8_t>(offset >> 16),
          static_cast<std::uint8_t>(offset >> 8),
          static_cast<std::uint8_t>(offset),
          0x00,
          static_cast<std::uint8_t>(length >> 8),
          static_cast<std::uint8_t>(length),
          0x00,
          0x00,
          0x00};
}

inline Exchange RunIn(EmulatedDrive& drive, const std::vector<std::uint8_t>& cdb,
                      std::size_t inLength, std::uint32_t nowMs = 0) {
  Exchange exchange;
  exchange.data.assign(inLength, 0xEE);
  CommandBlock block;
  std::copy(cdb.begin(), cdb.end(), block.cdb.begin());
  block.cdbLength = static_cast<std::uint8_t>(cdb.size());
  block.direction = inLength == 0 ? DataDirection::kNone : DataDirection::kIn;
  block.data = exchange.data;
  exchange.answer = drive.Execute(block, nowMs);
  exchange.data.resize(exchange.answer.bytesTransferred);
  return exchange;
}

inline CommandAnswer RunOut(EmulatedDrive& drive, const std::vector<std::uint8_t>& cdb,
                            std::span<const std::uint8_t> out, std::uint32_t nowMs = 0) {
  std::vector<std::uint8_t> copy(out.begin(), out.end());
  CommandBlock block;
  std::copy(cdb.begin(), cdb.end(), block.cdb.begin());
  block.cdbLength = static_cast<std::uint8_t>(cdb.size());
  block.direction = DataDirection::kOut;
  block.data = copy;
  return drive.Execute(block, nowMs);
}

inline Sense3 SenseOf(const CommandAnswer& answer) {
  return {answer.sense[2], answer.sense[12], answer.sense[13]};
}

inline CommandAnswer Start(EmulatedDrive& drive, std::uint32_t nowMs = 0) {
  return RunOut(drive, BufferCdb(kWriteBuffer, kBufferStart, 0, 0), {}, nowMs);
}
inline CommandAnswer Finish(EmulatedDrive& drive, std::uint32_t nowMs = 0) {
  return RunOut(drive, BufferCdb(kWriteBuffer, kBufferFinish, 0, 0), {}, nowMs);
}
inline CommandAnswer Chunk(EmulatedDrive& drive, std::span<const std::uint8_t> image,
                           std::uint32_t imageOffset, std::uint32_t driveOffset,
                           std::uint32_t length) {
  return RunOut(drive, BufferCdb(kWriteBuffer, kBufferData, driveOffset, length),
                image.subspan(imageOffset, length));
}

// The whole download as the updater sends it; the first failing answer, or
// the finish command's answer.
inline CommandAnswer Download(EmulatedDrive& drive, std::span<const std::uint8_t> image,
                              std::uint32_t imageBase, std::uint32_t tailOffset,
                              std::uint32_t nowMs = 0) {
  CommandAnswer answer = Start(drive, nowMs);
  if (answer.scsiStatus != kStatusGood) return answer;
  for (std::uint32_t d = 0; d < kMainImageSize; d += kChunkSize) {
    answer = Chunk(drive, image, imageBase + d, d, kChunkSize);
    if (answer.scsiStatus != kStatusGood) return answer;
  }
  answer = Chunk(drive, image, tailOffset, kMainImageSize, kTailSize);
  if (answer.scsiStatus != kStatusGood) return answer;
  return Finish(drive, nowMs);
}

}  // namespace emu::testing

// One emulated device on the machine's bus: what it answers to INQUIRY, TEST UNIT
// READY and REQUEST SENSE, and, for the TAVREON drives, the firmware commands
// (READ BUFFER 80h, WRITE BUFFER 30h/FFh/42h) over its own drive memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/drive_model.h"
#include "emulator/drive_region.h"
#include "emulator/emulated_drive_speed.h"

namespace emu {

inline constexpr std::size_t kInquiryDataSize = 96;
inline constexpr std::size_t kSenseDataSize = 18;
// Drive memory: one main image (0x20000 bytes) followed by its tail block.
inline constexpr std::uint32_t kDriveMainImageSize = 0x20000;
inline constexpr std::uint32_t kDriveTailSize = 0x1010;
inline constexpr std::uint32_t kDriveMemorySize = kDriveMainImageSize + kDriveTailSize;
// Unit-specific bytes a programming run keeps.
inline constexpr std::uint32_t kUnitBytesOffset = 0x400;
inline constexpr std::uint32_t kUnitBytesSize = 0x50;
inline constexpr std::uint32_t kDefaultNotReadyAfterProgrammingMs = 8000;

enum class DiscKind { kNone, kCd, kDvd };

struct SenseCode {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

// A firmware command the drive fails: READ BUFFER (buffer ID 80h) or WRITE
// BUFFER (30h/FFh/42h), optionally only at one buffer offset.
struct BufferFault {
  std::uint8_t bufferId = 0;
  std::optional<std::uint32_t> offset;
  SenseCode sense;
  int timesLeft = 1;  // -1: always
};

class EmulatedDrive {
 public:
  // Builds a device from its machine-file object. `where` names the object in
  // error messages (e.g. "demo.json: devices[2]"). Null with *error set when a
  // field of this device is missing, of the wrong type or out of range.
  static std::unique_ptr<EmulatedDrive> FromJson(const nlohmann::json& device,
                                                 const std::string& where, std::string* error);
  // The device keys this class reads; the machine accepts these besides its own.
  static std::span<const std::string_view> DeviceKeys();

  ~EmulatedDrive();
  EmulatedDrive(const EmulatedDrive&) = delete;
  EmulatedDrive& operator=(const EmulatedDrive&) = delete;

  CommandAnswer Execute(const CommandBlock& command, std::uint32_t nowMs);
  // Ends a command with this check condition as the drive would, keeping the
  // sense for the next REQUEST SENSE; the machine uses it for injected faults.
  CommandAnswer FailWith(SenseCode sense);

  std::uint8_t PeripheralType() const { return peripheralType_; }

  // Kept state: drive memory as differences from the drive's factory memory,
  // and the INQUIRY identity its firmware reports.
  nlohmann::json SaveState() const;
  bool LoadState(const nlohmann::json& state, std::string* error);
  // The fields of one kind of kept state, as SaveState writes them, and the
  // names of every field that kind owns (a field may be absent: nothing kept).
  nlohmann::json SaveState(KeptKind kind) const;
  static std::span<const std::string_view> StateFields(KeptKind kind);
  // Takes back the change of the last command that changed kept state, when
  // the machine could not keep it: the drive is as it was before that command.
  void TakeBackKeptChange();

  // Inspection for tests and tools.
  bool HasFirmware() const { return !memory_.empty(); }
  std::span<const std::uint8_t> Memory() const { return memory_; }
  std::span<std::uint8_t> MutableMemory() { return memory_; }
  const std::array<std::uint8_t, kInquiryDataSize>& InquiryData() const { return inquiry_; }
  // The sense the next REQUEST SENSE returns, when SensePending().
  const std::array<std::uint8_t, kSenseDataSize>& PendingSense() const { return pendingSense_; }
  bool SensePending() const { return sensePending_; }
  bool DownloadOpen() const { return downloadOpen_; }
  std::uint32_t ProgrammingCount() const { return programmingCount_; }
  DiscKind Disc() const { return disc_; }
  void SetDisc(DiscKind disc) { disc_ = disc; }
  const SpeedState& Speed() const { return speed_; }
  // Region side: the RPC state kept, and a loaded DVD's copyright information.
  const RpcRegion& Region() const { return region_; }
  const DiscCopyright& DiscRegion() const { return discCopyright_; }
  void LoadDvd(DiscCopyright copyright) {
    disc_ = DiscKind::kDvd;
    discCopyright_ = copyright;
  }

 private:
  EmulatedDrive() = default;

  CommandAnswer Good(std::uint32_t bytes = 0);
  CommandAnswer Check(SenseCode sense);
  bool IsNotReady(std::uint32_t nowMs) const;

  CommandAnswer Inquiry(const CommandBlock& command);
  CommandAnswer RequestSense(const CommandBlock& command, std::uint32_t nowMs);
  CommandAnswer TestUnitReady(std::uint32_t nowMs);
  CommandAnswer ReadBuffer(const CommandBlock& command);
  CommandAnswer WriteBuffer(const CommandBlock& command, std::uint32_t nowMs);
  CommandAnswer StartDownload(std::uint32_t offset, std::uint32_t length);
  CommandAnswer StoreChunk(const CommandBlock& command, std::uint32_t offset, std::uint32_t length);
  CommandAnswer FinishDownload(std::uint32_t offset, std::uint32_t length, std::uint32_t nowMs);
  void TakeIdentityFromMemory();
  bool ReadCorruptionFault(const nlohmann::json& fault, const std::string& where,
                           std::string* error);
  bool ReadBufferFaults(const nlohmann::json& faults, const std::string& where, std::string* error);
  // The injected fault for this firmware command, consumed; null when none.
  const BufferFault* TakeBufferFault(std::uint8_t bufferId, std::uint32_t offset);

  // Region commands (emulated_drive_region.cpp).
  bool AnswersDvdCommands() const { return dvdCapable_; }
  CommandAnswer ReportKey(const CommandBlock& command);
  CommandAnswer SendKey(const CommandBlock& command);
  CommandAnswer ReadDvdStructure(const CommandBlock& command);
  bool ReadDiscConfig(const nlohmann::json& disc, const std::string& where, std::string* error);
  bool ReadRegionConfig(const nlohmann::json& region, const std::string& where, std::string* error);
  nlohmann::json SaveRegionState() const;
  // The region of a kept state, checked; the drive is not changed.
  bool LoadRegionState(const nlohmann::json& state, RpcRegion* loaded, std::string* error) const;

  // Before a command changes kept state, what it is about to replace.
  struct KeptSnapshot {
    std::vector<std::uint8_t> memory;
    std::array<std::uint8_t, kInquiryDataSize> inquiry{};
    RpcRegion region;
    SpeedState speed;
    std::uint32_t programmingCount = 0;
    bool notReady = false;
    std::uint32_t readyAtMs = 0;
    int corruptionsLeft = -1;
  };
  void RememberKeptState();

  std::uint8_t peripheralType_ = 0x05;
  std::array<std::uint8_t, kInquiryDataSize> inquiry_{};
  std::array<std::uint8_t, kSenseDataSize> pendingSense_{};
  bool sensePending_ = false;
  DiscKind disc_ = DiscKind::kNone;
  DiscCopyright discCopyright_;
  bool dvdCapable_ = false;  // a DVD drive: answers the region commands
  RpcRegion region_;

  // Firmware side; empty memory for devices without TAVREON firmware.
  std::vector<std::uint8_t> memory_;
  std::vector<std::uint8_t> factoryMemory_;
  std::array<std::uint8_t, kInquiryDataSize> factoryInquiry_{};
  std::uint32_t identityOffset_ = 0;
  std::vector<std::uint8_t> staged_;
  bool downloadOpen_ = false;
  std::size_t chunksReceived_ = 0;
  std::uint32_t programmingCount_ = 0;

  bool notReady_ = false;
  std::uint32_t readyAtMs_ = 0;
  std::uint32_t notReadyAfterProgrammingMs_ = kDefaultNotReadyAfterProgrammingMs;

  bool corruptDuringProgramming_ = false;
  std::uint32_t corruptOffset_ = 0;
  int corruptionsLeft_ = -1;  // -1: every programming run
  std::vector<BufferFault> bufferFaults_;

  // Speed side (emulated_drive_speed.cpp): SET CD SPEED, START STOP UNIT, MODE
  // SENSE of page 2Ah, and TEST UNIT READY while the spindle is stopped.
  std::optional<CommandAnswer> ExecuteSpeedCommand(const CommandBlock& command);
  CommandAnswer SetCdSpeed(const CommandBlock& command);
  CommandAnswer StartStopUnit(const CommandBlock& command);
  CommandAnswer ModeSense(const CommandBlock& command);
  std::uint16_t CurrentReadSpeed(SpeedMode mode) const;
  bool ReadSpeedFields(const nlohmann::json& device, std::string_view modelName,
                       const std::string& where, std::string* error);
  void SaveSpeedState(nlohmann::json& state) const;
  bool LoadSpeedState(const nlohmann::json& state, std::string* error);
  SpeedState speed_;

  std::optional<KeptSnapshot> beforeChange_;
};

}  // namespace emu

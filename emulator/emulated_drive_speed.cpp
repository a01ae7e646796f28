// The emulated drive's speed commands: SET CD SPEED with the vendor mode-control
// byte (00h extraction speed, 01h temporary mode, 03h permanent mode), START
// STOP UNIT, MODE SENSE(6)/(10) of the capabilities page 2Ah, and the machine
// file's speed fields and the kept permanent mode.
#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "emulator/emulated_drive.h"

namespace emu {
namespace {

using nlohmann::json;

constexpr std::uint8_t kOpTestUnitReady = 0x00;
constexpr std::uint8_t kOpStartStopUnit = 0x1B;
constexpr std::uint8_t kOpModeSense6 = 0x1A;
constexpr std::uint8_t kOpModeSense10 = 0x5A;
constexpr std::uint8_t kOpSetCdSpeed = 0xBB;
// Commands that read the disc and so spin a stopped spindle up again.
constexpr std::uint8_t kMediaAccessOpcodes[] = {0x25, 0x28, 0x43, 0xA8, 0xAD, 0xBE};

// SET CD SPEED.
constexpr std::size_t kModeControlByte = 1;
constexpr std::size_t kReadSpeedByte = 2;
constexpr std::uint8_t kModeExtraction = 0x00;
constexpr std::uint8_t kModeTemporary = 0x01;
constexpr std::uint8_t kModePermanent = 0x03;
constexpr std::uint16_t kSpeedQuiet = 0x0000;
constexpr std::uint16_t kSpeedPerformance = 0xFFFF;
constexpr std::uint16_t kSlowestReadSpeed = 176;  // 1X: a lower request gets this

// START STOP UNIT byte 4.
constexpr std::size_t kStartStopControlByte = 4;
constexpr std::uint8_t kStartBit = 0x01;
constexpr std::uint8_t kLoadEjectBit = 0x02;
constexpr std::uint8_t kPowerConditionMask = 0xF0;

// MODE SENSE.
constexpr std::size_t kPageControlByte = 2;
constexpr std::uint8_t kPageCodeMask = 0x3F;
constexpr std::uint8_t kPageControlShift = 6;
constexpr std::uint8_t kPageControlCurrent = 0;
constexpr std::uint8_t kPageControlChangeable = 1;
constexpr std::uint8_t kPageControlDefault = 2;
constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::uint8_t kAllPages = 0x3F;
constexpr std::size_t kAllocation6Byte = 4;
constexpr std::size_t kAllocation10Byte = 7;
constexpr std::size_t kHeader6Length = 4;
constexpr std::size_t kHeader10Length = 8;

// Page 2Ah as an MMC-2 drive lays it out (page length 18h).
constexpr std::size_t kPageLength = 26;
constexpr std::size_t kPageLengthByte = 1;
constexpr std::size_t kReadCapabilitiesByte = 2;
constexpr std::size_t kAudioCapabilitiesByte = 4;
constexpr std::size_t kCdDaCapabilitiesByte = 5;
constexpr std::size_t kMechanismByte = 6;
constexpr std::size_t kMaximumReadSpeedByte = 8;
constexpr std::size_t kVolumeLevelsByte = 10;
constexpr std::size_t kBufferSizeByte = 12;
constexpr std::size_t kCurrentReadSpeedByte = 14;
constexpr std::uint8_t kReadsCdRCdRwMethod2DvdRom = 0x0F;
constexpr std::uint8_t kAudioPlayForm1Form2MultiSession = 0x71;
constexpr std::uint8_t kCdDaCommandsAccurateStream = 0x03;
constexpr std::uint8_t kTrayWithLockAndEject = 0x29;
constexpr std::uint16_t kVolumeLevels = 256;
constexpr std::uint16_t kBufferKbytes = 512;

constexpr SenseCode kInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr SenseCode kNotReadyStartRequired{0x02, 0x04, 0x02};

struct ModelSpeeds {
  std::string_view model;
  SpeedProfile profile;
};

// G5 drives read CDs at up to 31X and DVDs at 4X (5540 kbytes/s); quiet mode
// halves that. G6 drives reach 40X on CDs.
constexpr SpeedProfile kG5Speeds{5540, 5540, 2816, 5540, 2770};
constexpr SpeedProfile kG6Speeds{7040, 7040, 3520, 5540, 2770};
constexpr ModelSpeeds kModelSpeeds[] = {
    {"KD-310", kG5Speeds},
    {"KD-320", kG5Speeds},
    {"KD-600", {8448, 8448, 4224, 8310, 4155}},
};

void PutBe16(std::uint8_t* field, std::uint16_t value) {
  field[0] = static_cast<std::uint8_t>(value >> 8);
  field[1] = static_cast<std::uint8_t>(value);
}

std::uint16_t GetBe16(const std::uint8_t* field) {
  return static_cast<std::uint16_t>(field[0] << 8 | field[1]);
}

const char* ModeName(SpeedMode mode) { return mode == SpeedMode::kQuiet ? "quiet" : "performance"; }

bool ModeFromName(const json& value, SpeedMode* mode) {
  if (!value.is_string()) return false;
  const std::string name = value.get<std::string>();
  if (name == "quiet") {
    *mode = SpeedMode::kQuiet;
  } else if (name == "performance") {
    *mode = SpeedMode::kPerformance;
  } else {
    return false;
  }
  return true;
}

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

}  // namespace

SpeedProfile SpeedProfileOf(std::string_view modelName) {
  for (const ModelSpeeds& entry : kModelSpeeds) {
    if (entry.model == modelName) return entry.profile;
  }
  return kG6Speeds;
}

std::optional<CommandAnswer> EmulatedDrive::ExecuteSpeedCommand(const CommandBlock& command) {
  if (!speed_.supported) return std::nullopt;
  const std::uint8_t opcode = command.cdb[0];
  if (std::find(std::begin(kMediaAccessOpcodes), std::end(kMediaAccessOpcodes), opcode) !=
      std::end(kMediaAccessOpcodes)) {
    speed_.spindleStopped = false;
    return std::nullopt;
  }
  switch (opcode) {
    case kOpTestUnitReady:
      // A stopped disc needs a START UNIT (or a read) before the drive is ready.
      if (speed_.spindleStopped && disc_ != DiscKind::kNone) return Check(kNotReadyStartRequired);
      return std::nullopt;
    case kOpSetCdSpeed:
      return SetCdSpeed(command);
    case kOpStartStopUnit:
      return StartStopUnit(command);
    case kOpModeSense6:
    case kOpModeSense10:
      return ModeSense(command);
    default:
      return std::nullopt;
  }
}

CommandAnswer EmulatedDrive::SetCdSpeed(const CommandBlock& command) {
  const std::uint8_t modeControl = command.cdb[kModeControlByte];
  const std::uint16_t readSpeed = GetBe16(&command.cdb[kReadSpeedByte]);
  if (modeControl == kModeExtraction) {
    speed_.extractionSpeed = std::max(readSpeed, kSlowestReadSpeed);
    return Good();
  }
  if ((modeControl != kModeTemporary && modeControl != kModePermanent) ||
      (readSpeed != kSpeedQuiet && readSpeed != kSpeedPerformance)) {
    return Check(kInvalidFieldInCdb);
  }
  const SpeedMode mode = readSpeed == kSpeedQuiet ? SpeedMode::kQuiet : SpeedMode::kPerformance;
  if (modeControl == kModePermanent) RememberKeptState();
  speed_.currentMode = mode;
  CommandAnswer answer = Good();
  if (modeControl == kModePermanent) {
    speed_.permanentMode = mode;
    answer.keptChange = KeptKind::kSpeedMode;
  }
  return answer;
}

CommandAnswer EmulatedDrive::StartStopUnit(const CommandBlock& command) {
  const std::uint8_t control = command.cdb[kStartStopControlByte];
  // Power conditions and the tray are not emulated.
  if ((control & (kPowerConditionMask | kLoadEjectBit)) != 0) return Check(kInvalidFieldInCdb);
  speed_.spindleStopped = (control & kStartBit) == 0 && disc_ != DiscKind::kNone;
  return Good();
}

std::uint16_t EmulatedDrive::CurrentReadSpeed(SpeedMode mode) const {
  const SpeedProfile& p = speed_.profile;
  const bool quiet = mode == SpeedMode::kQuiet;
  if (disc_ == DiscKind::kDvd) return quiet ? p.dvdQuiet : p.dvdPerformance;
  const std::uint16_t cd = quiet ? p.cdQuiet : p.cdPerformance;
  // The CD-DA extraction speed caps the CD speed; without a disc the drive
  // reports the CD speed it would spin up to.
  return disc_ == DiscKind::kCd ? std::min(cd, speed_.extractionSpeed) : cd;
}

CommandAnswer EmulatedDrive::ModeSense(const CommandBlock& command) {
  const bool tenByte = command.cdb[0] == kOpModeSense10;
  const std::uint8_t pageCode = command.cdb[kPageControlByte] & kPageCodeMask;
  const std::uint8_t pageControl = command.cdb[kPageControlByte] >> kPageControlShift;
  if (pageCode != kCapabilitiesPage && pageCode != kAllPages) return Check(kInvalidFieldInCdb);

  const std::size_t header = tenByte ? kHeader10Length : kHeader6Length;
  std::array<std::uint8_t, kHeader10Length + kPageLength> reply{};
  const std::size_t total = header + kPageLength;
  if (tenByte) {
    PutBe16(&reply[0], static_cast<std::uint16_t>(total - 2));
  } else {
    reply[0] = static_cast<std::uint8_t>(total - 1);
  }
  std::uint8_t* page = reply.data() + header;
  page[0] = kCapabilitiesPage;
  page[kPageLengthByte] = static_cast<std::uint8_t>(kPageLength - 2);
  if (pageControl != kPageControlChangeable) {  // nothing in this page can be changed
    page[kReadCapabilitiesByte] = kReadsCdRCdRwMethod2DvdRom;
    page[kAudioCapabilitiesByte] = kAudioPlayForm1Form2MultiSession;
    page[kCdDaCapabilitiesByte] = kCdDaCommandsAccurateStream;
    page[kMechanismByte] = kTrayWithLockAndEject;
    PutBe16(&page[kVolumeLevelsByte], kVolumeLevels);
    PutBe16(&page[kBufferSizeByte], kBufferKbytes);
    PutBe16(&page[kMaximumReadSpeedByte], speed_.profile.maximum);
    SpeedMode mode = speed_.currentMode;
    if (pageControl == kPageControlDefault) mode = speed_.factoryMode;
    if (pageControl != kPageControlCurrent && pageControl != kPageControlDefault) {
      mode = speed_.permanentMode;  // saved values
    }
    PutBe16(&page[kCurrentReadSpeedByte], CurrentReadSpeed(mode));
  }
  const std::uint32_t allocation =
      tenByte ? GetBe16(&command.cdb[kAllocation10Byte]) : command.cdb[kAllocation6Byte];
  const std::size_t n = std::min<std::size_t>({allocation, total, command.data.size()});
  if (command.direction != DataDirection::kIn) return Good();
  std::copy_n(reply.begin(), n, command.data.begin());
  return Good(static_cast<std::uint32_t>(n));
}

bool EmulatedDrive::ReadSpeedFields(const json& device, std::string_view modelName,
                                    const std::string& where, std::string* error) {
  SpeedState speed;
  speed.supported = true;
  speed.profile = SpeedProfileOf(modelName);
  if (device.contains("speeds")) {
    const json& speeds = device.at("speeds");
    const std::string here = where + ".speeds";
    if (!speeds.is_object()) return Fail(error, here + ": expected an object");
    const std::pair<const char*, std::uint16_t*> fields[] = {
        {"maximum", &speed.profile.maximum},
        {"cdPerformance", &speed.profile.cdPerformance},
        {"cdQuiet", &speed.profile.cdQuiet},
        {"dvdPerformance", &speed.profile.dvdPerformance},
        {"dvdQuiet", &speed.profile.dvdQuiet}};
    for (const auto& item : speeds.items()) {
      // Named, not a structured binding: clang 14 cannot capture one in the lambda.
      const std::string& key = item.key();
      const json& value = item.value();
      const auto* field = std::find_if(std::begin(fields), std::end(fields),
                                       [&](const auto& f) { return key == f.first; });
      if (field == std::end(fields)) return Fail(error, here + "." + key + ": unknown key");
      if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFF) {
        return Fail(error, here + "." + key + ": expected kbytes/s from 0 to 65535");
      }
      *field->second = static_cast<std::uint16_t>(value.get<std::uint64_t>());
    }
  }
  if (device.contains("speedMode") && !ModeFromName(device.at("speedMode"), &speed.factoryMode)) {
    return Fail(error, where + ".speedMode: expected \"quiet\" or \"performance\"");
  }
  speed.permanentMode = speed.factoryMode;
  speed.currentMode = speed.factoryMode;
  speed_ = speed;
  return true;
}

void EmulatedDrive::SaveSpeedState(json& state) const {
  // Only a permanent mode that differs from the factory's is kept.
  if (speed_.supported && speed_.permanentMode != speed_.factoryMode) {
    state[kSpeedModeStateKey] = ModeName(speed_.permanentMode);
  }
}

bool EmulatedDrive::LoadSpeedState(const json& state, std::string* error) {
  SpeedMode mode = speed_.factoryMode;
  if (state.contains(kSpeedModeStateKey) && !ModeFromName(state.at(kSpeedModeStateKey), &mode)) {
    return Fail(error, std::string("state.") + kSpeedModeStateKey +
                           ": expected \"quiet\" or \"performance\"");
  }
  // A start of the machine: the permanent mode is in force, temporary settings are gone.
  speed_.permanentMode = mode;
  speed_.currentMode = mode;
  return true;
}

}  // namespace emu

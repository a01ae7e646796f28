// The emulated drive's kept state: drive memory stored as runs of bytes that
// differ from the factory memory (hex text), and the INQUIRY identity.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "emulator/emulated_drive.h"
#include "emulator/field_reader.h"

namespace emu {
namespace {

using nlohmann::json;

constexpr std::size_t kIdentityOffset = 8;  // INQUIRY bytes 8-39
constexpr std::size_t kIdentitySize = 32;
// Differences closer than this are stored as one run.
constexpr std::size_t kRunJoinGap = 16;

std::string ToHex(std::span<const std::uint8_t> bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

bool FromHex(const std::string& text, std::vector<std::uint8_t>* out) {
  if (text.size() % 2 != 0) return false;
  out->clear();
  out->reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigitValue(text[i]);
    const int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    out->push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return true;
}

std::string OffsetText(std::size_t offset) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%05zX", offset);
  return text;
}

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

constexpr std::string_view kFirmwareFields[] = {"memory", "inquiry"};
constexpr std::string_view kRegionFields[] = {"region"};
constexpr std::string_view kSpeedModeFields[] = {kSpeedModeStateKey};

}  // namespace

std::span<const std::string_view> EmulatedDrive::StateFields(KeptKind kind) {
  switch (kind) {
    case KeptKind::kFirmware:
      return kFirmwareFields;
    case KeptKind::kRegion:
      return kRegionFields;
    case KeptKind::kSpeedMode:
      return kSpeedModeFields;
    case KeptKind::kNone:
      break;
  }
  return {};
}

json EmulatedDrive::SaveState(KeptKind kind) const {
  const json whole = SaveState();
  json fields = json::object();
  for (const std::string_view name : StateFields(kind)) {
    const std::string key(name);
    if (whole.contains(key)) fields[key] = whole.at(key);
  }
  return fields;
}

void EmulatedDrive::RememberKeptState() {
  beforeChange_ = KeptSnapshot{memory_,           inquiry_,  region_,    speed_,
                               programmingCount_, notReady_, readyAtMs_, corruptionsLeft_};
}

void EmulatedDrive::TakeBackKeptChange() {
  if (!beforeChange_) return;
  KeptSnapshot& before = *beforeChange_;
  memory_ = std::move(before.memory);
  inquiry_ = before.inquiry;
  region_ = before.region;
  speed_ = before.speed;
  programmingCount_ = before.programmingCount;
  notReady_ = before.notReady;
  readyAtMs_ = before.readyAtMs;
  corruptionsLeft_ = before.corruptionsLeft;
  beforeChange_.reset();
}

json EmulatedDrive::SaveState() const {
  json state = json::object();
  if (region_.supported) state["region"] = SaveRegionState();
  if (!HasFirmware()) return state;
  json runs = json::array();
  std::size_t i = 0;
  while (i < memory_.size()) {
    if (memory_[i] == factoryMemory_[i]) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    std::size_t lastDiff = i;
    while (end < memory_.size() && end - lastDiff <= kRunJoinGap) {
      if (memory_[end] != factoryMemory_[end]) lastDiff = end;
      ++end;
    }
    const auto run = std::span<const std::uint8_t>(memory_).subspan(i, lastDiff + 1 - i);
    runs.push_back({{"offset", OffsetText(i)}, {"bytes", ToHex(run)}});
    i = lastDiff + 1;
  }
  state["memory"] = std::move(runs);
  state["inquiry"] =
      ToHex(std::span<const std::uint8_t>(inquiry_).subspan(kIdentityOffset, kIdentitySize));
  SaveSpeedState(state);
  return state;
}

bool EmulatedDrive::LoadState(const json& state, std::string* error) {
  if (state.is_null()) return true;
  if (!state.is_object()) return Fail(error, "state: expected an object");
  RpcRegion region = region_;
  if (state.contains("region") && !LoadRegionState(state.at("region"), &region, error)) {
    return false;
  }
  if (!HasFirmware()) {
    for (const auto& [key, value] : state.items()) {
      if (key != "region") return Fail(error, "state: this device keeps no state");
    }
    region_ = region;
    return true;
  }
  for (const auto& [key, value] : state.items()) {
    if (key != "memory" && key != "inquiry" && key != kSpeedModeStateKey && key != "region") {
      return Fail(error, "state." + key + ": unknown key");
    }
  }

  // Build into copies so that a bad state changes nothing.
  std::vector<std::uint8_t> memory = factoryMemory_;
  auto inquiry = factoryInquiry_;
  if (state.contains("memory")) {
    const json& runs = state.at("memory");
    if (!runs.is_array()) return Fail(error, "state.memory: expected an array");
    std::vector<std::uint8_t> bytes;
    for (std::size_t n = 0; n < runs.size(); ++n) {
      const std::string where = "state.memory[" + std::to_string(n) + "]";
      const json& run = runs[n];
      if (!run.is_object() || !run.contains("offset") || !run.contains("bytes") ||
          !run.at("offset").is_string() || !run.at("bytes").is_string()) {
        return Fail(error, where + ": expected {\"offset\": \"0x...\", \"bytes\": \"...\"}");
      }
      const auto offsetText = run.at("offset").get<std::string>();
      std::size_t offset = 0;
      std::size_t used = 0;
      try {
        offset = std::stoul(offsetText, &used, 16);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != offsetText.size()) {
        return Fail(error, where + ".offset: \"" + offsetText + "\" is not a hex number");
      }
      if (!FromHex(run.at("bytes").get<std::string>(), &bytes)) {
        return Fail(error, where + ".bytes: expected pairs of hex digits");
      }
      if (offset > memory.size() || bytes.size() > memory.size() - offset) {
        return Fail(error, where + ": run lies outside drive memory");
      }
      std::copy(bytes.begin(), bytes.end(), memory.begin() + static_cast<std::ptrdiff_t>(offset));
    }
  }
  if (state.contains("inquiry")) {
    std::vector<std::uint8_t> identity;
    const json& value = state.at("inquiry");
    if (!value.is_string() || !FromHex(value.get<std::string>(), &identity) ||
        identity.size() != kIdentitySize) {
      return Fail(error, "state.inquiry: expected 32 bytes as hex digits");
    }
    std::copy(identity.begin(), identity.end(), inquiry.begin() + kIdentityOffset);
  }
  if (!LoadSpeedState(state, error)) return false;
  memory_ = std::move(memory);
  inquiry_ = inquiry;
  region_ = region;
  return true;
}

}  // namespace emu

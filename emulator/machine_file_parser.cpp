// Machine file parsing and validation.
#include "emulator/machine_file_parser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <utility>

#include "emulator/field_reader.h"

namespace emu {

namespace {

constexpr std::size_t kMaxCsdVersionLength = sizeof(platform::OsVersionInfoA{}.szCSDVersion) - 1;
constexpr std::size_t kMaxIdentifierLength = 255;
constexpr std::uint64_t kMaxDelayMs = 3'600'000;
constexpr std::uint64_t kMaxTimes = 1'000'000;
constexpr int kMaxAdapters = 255;
constexpr int kMaxTargets = 16;
constexpr int kMaxPathId = 7;  // a host's buses
constexpr int kMaxLun = 7;
// Each drive with firmware holds its memory twice (about 270 KB): a bound keeps a
// hostile file from taking the program's memory.
constexpr std::size_t kMaxDevices = 32;

constexpr std::array<std::string_view, 0> kNoExtraKeys{};

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

bool ReadPlatform(const FieldReader& root, PlatformReport* report, std::string* error) {
  // Windows 2000 on a Pentium III unless the file says otherwise.
  auto& version = report->version;
  auto& system = report->system;
  std::uint64_t platformId = platform::kVerPlatformWin32Nt, major = 5, minor = 0, build = 2195;
  std::uint64_t architecture = 0, level = 6, revision = 0x0803, type = 586, processors = 1,
                pageSize = 4096;
  std::string csdVersion;
  if (root.Has("platform")) {
    const FieldReader reader(root.Object().at("platform"), root.File(), root.Child("platform"));
    if (!reader.IsObject(error) ||
        !reader.OnlyKeys({"platformId", "majorVersion", "minorVersion", "buildNumber", "csdVersion",
                          "processorArchitecture", "processorLevel", "processorRevision",
                          "processorType", "numberOfProcessors", "pageSize"},
                         kNoExtraKeys, error) ||
        !reader.Unsigned("platformId", Need::kOptional, 0xFFFFFFFF, &platformId, error) ||
        !reader.Unsigned("majorVersion", Need::kOptional, 0xFFFFFFFF, &major, error) ||
        !reader.Unsigned("minorVersion", Need::kOptional, 0xFFFFFFFF, &minor, error) ||
        !reader.Unsigned("buildNumber", Need::kOptional, 0xFFFFFFFF, &build, error) ||
        !reader.String("csdVersion", Need::kOptional, kMaxCsdVersionLength, &csdVersion, error) ||
        !reader.Unsigned("processorArchitecture", Need::kOptional, 0xFFFF, &architecture, error) ||
        !reader.Unsigned("processorLevel", Need::kOptional, 0xFFFF, &level, error) ||
        !reader.Unsigned("processorRevision", Need::kOptional, 0xFFFF, &revision, error) ||
        !reader.Unsigned("processorType", Need::kOptional, 0xFFFFFFFF, &type, error) ||
        !reader.Unsigned("numberOfProcessors", Need::kOptional, 0xFFFFFFFF, &processors, error) ||
        !reader.Unsigned("pageSize", Need::kOptional, 0xFFFFFFFF, &pageSize, error)) {
      return false;
    }
  }
  version.dwMajorVersion = static_cast<platform::Dword>(major);
  version.dwMinorVersion = static_cast<platform::Dword>(minor);
  version.dwBuildNumber = static_cast<platform::Dword>(build);
  version.dwPlatformId = static_cast<platform::Dword>(platformId);
  std::copy(csdVersion.begin(), csdVersion.end(), version.szCSDVersion);
  system.wProcessorArchitecture = static_cast<platform::Word>(architecture);
  system.wProcessorLevel = static_cast<platform::Word>(level);
  system.wProcessorRevision = static_cast<platform::Word>(revision);
  system.dwProcessorType = static_cast<platform::Dword>(type);
  system.dwNumberOfProcessors = static_cast<platform::Dword>(processors);
  system.dwPageSize = static_cast<platform::Dword>(pageSize);
  return true;
}

bool ReadComponent(const FieldReader& root, const PlatformReport& report, ComponentValues* out,
                   std::string* error) {
  // By default the component agrees with the version report.
  const auto& version = report.version;
  std::int64_t platformId = static_cast<platform::Short>(version.dwPlatformId & 0xFFFF);
  std::int64_t build = static_cast<platform::Short>(version.dwBuildNumber & 0xFFFF);
  float versionNumber = static_cast<float>(version.dwMajorVersion) +
                        static_cast<float>(version.dwMinorVersion) / 100.0f;
  bool createFails = false;
  std::string failingRead;
  if (root.Has("systemInfoComponent")) {
    const FieldReader reader(root.Object().at("systemInfoComponent"), root.File(),
                             root.Child("systemInfoComponent"));
    if (!reader.IsObject(error) ||
        !reader.OnlyKeys({"platform", "version", "build", "createFails", "failingRead"},
                         kNoExtraKeys, error) ||
        !reader.Signed("platform", Need::kOptional, -32768, 32767, &platformId, error) ||
        !reader.Float("version", Need::kOptional, &versionNumber, error) ||
        !reader.Signed("build", Need::kOptional, -32768, 32767, &build, error) ||
        !reader.Boolean("createFails", Need::kOptional, &createFails, error) ||
        !reader.String("failingRead", Need::kOptional, 16, &failingRead, error)) {
      return false;
    }
    static const std::array<std::pair<std::string_view, ComponentRead>, 4> kReads = {{
        {"", ComponentRead::kNone},
        {"build", ComponentRead::kBuild},
        {"version", ComponentRead::kVersion},
        {"platform", ComponentRead::kPlatform},
    }};
    const auto found = std::find_if(kReads.begin(), kReads.end(),
                                    [&](const auto& entry) { return entry.first == failingRead; });
    if (found == kReads.end()) {
      return Fail(
          error, reader.Where("failingRead") + ": expected \"build\", \"version\" or \"platform\"");
    }
    out->failingRead = found->second;
  }
  out->platform = static_cast<platform::Short>(platformId);
  out->build = static_cast<platform::Short>(build);
  out->version = versionNumber;
  out->createFails = createFails;
  return true;
}

bool ReadClockAndMemory(const FieldReader& root, MachineDescription* out, std::string* error) {
  if (root.Has("clock")) {
    const FieldReader reader(root.Object().at("clock"), root.File(), root.Child("clock"));
    std::uint64_t minimumPeriod = out->clock.minimumPeriod, startMs = out->clock.startMs;
    if (!reader.IsObject(error) ||
        !reader.OnlyKeys({"minimumPeriod", "startMs"}, kNoExtraKeys, error) ||
        !reader.Unsigned("minimumPeriod", Need::kOptional, 0xFFFFFFFF, &minimumPeriod, error) ||
        !reader.Unsigned("startMs", Need::kOptional, 0xFFFFFFFF, &startMs, error)) {
      return false;
    }
    if (minimumPeriod == 0)
      return Fail(error, reader.Where("minimumPeriod") + ": must be 1 or more");
    out->clock.minimumPeriod = static_cast<platform::Uint>(minimumPeriod);
    out->clock.startMs = static_cast<std::uint32_t>(startMs);
  }
  if (root.Has("memory")) {
    const FieldReader reader(root.Object().at("memory"), root.File(), root.Child("memory"));
    std::uint64_t failAllocation = 0;
    if (!reader.IsObject(error) || !reader.OnlyKeys({"failAllocation"}, kNoExtraKeys, error) ||
        !reader.Unsigned("failAllocation", Need::kOptional, 0xFFFFFFFF, &failAllocation, error)) {
      return false;
    }
    out->failAllocation = static_cast<std::uint32_t>(failAllocation);
  }
  return true;
}

bool ReadAspi(const FieldReader& root, MachineDescription* out, std::string* error) {
  if (root.Has("aspi")) {
    const FieldReader reader(root.Object().at("aspi"), root.File(), root.Child("aspi"));
    std::string manager = "present";
    if (!reader.IsObject(error) || !reader.OnlyKeys({"manager"}, kNoExtraKeys, error) ||
        !reader.String("manager", Need::kOptional, 32, &manager, error)) {
      return false;
    }
    static const std::array<std::pair<std::string_view, AspiManagerState>, 4> kStates = {{
        {"present", AspiManagerState::kPresent},
        {"missing", AspiManagerState::kMissing},
        {"failsInit", AspiManagerState::kFailsInit},
        {"noAdapters", AspiManagerState::kNoAdapters},
    }};
    const auto found = std::find_if(kStates.begin(), kStates.end(),
                                    [&](const auto& entry) { return entry.first == manager; });
    if (found == kStates.end()) {
      return Fail(error,
                  reader.Where("manager") +
                      ": expected \"present\", \"missing\", \"failsInit\" or \"noAdapters\"");
    }
    out->aspi = found->second;
  }
  if (!root.Has("adapters")) return true;
  const auto& list = root.Object().at("adapters");
  if (!list.is_array() || list.size() > kMaxAdapters) {
    return Fail(error, root.Where("adapters") + ": expected a list of at most " +
                           std::to_string(kMaxAdapters) + " adapters");
  }
  std::vector<bool> seen(list.size(), false);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const FieldReader reader(list[i], root.File(), "adapters[" + std::to_string(i) + "]");
    std::uint64_t number = 0, scsiId = 7;
    AdapterConfig adapter;
    if (!reader.IsObject(error) ||
        !reader.OnlyKeys({"number", "identifier", "scsiId"}, kNoExtraKeys, error) ||
        !reader.Unsigned("number", Need::kRequired, kMaxAdapters - 1, &number, error) ||
        !reader.String("identifier", Need::kRequired, kMaxIdentifierLength, &adapter.identifier,
                       error) ||
        !reader.Unsigned("scsiId", Need::kOptional, kMaxTargets - 1, &scsiId, error)) {
      return false;
    }
    // ASPI numbers its adapters 0..count-1 without gaps.
    if (number >= list.size() || seen[number]) {
      return Fail(error, reader.Where("number") + ": adapters must be numbered 0 to " +
                             std::to_string(list.size() - 1) + ", each once");
    }
    seen[number] = true;
    adapter.number = static_cast<int>(number);
    adapter.scsiId = static_cast<std::uint8_t>(scsiId);
    out->adapters.push_back(std::move(adapter));
  }
  std::sort(out->adapters.begin(), out->adapters.end(),
            [](const auto& a, const auto& b) { return a.number < b.number; });
  return true;
}

bool ReadFault(const FieldReader& reader, FaultRule* fault, std::string* error) {
  std::uint64_t opcode = 0, byte2 = 0, delayMs = 0;
  std::string sense;
  if (!reader.IsObject(error) ||
      !reader.OnlyKeys({"opcode", "byte2", "sense", "times", "delayMs", "transportFailure"},
                       kNoExtraKeys, error) ||
      !reader.Unsigned("opcode", Need::kRequired, 0xFF, &opcode, error) ||
      !reader.Unsigned("delayMs", Need::kOptional, kMaxDelayMs, &delayMs, error) ||
      !reader.Boolean("transportFailure", Need::kOptional, &fault->transportFailure, error)) {
    return false;
  }
  fault->opcode = static_cast<std::uint8_t>(opcode);
  fault->delayMs = static_cast<std::uint32_t>(delayMs);
  if (reader.Has("byte2")) {
    if (!reader.Unsigned("byte2", Need::kRequired, 0xFF, &byte2, error)) return false;
    fault->byte2 = static_cast<std::uint8_t>(byte2);
  }
  if (reader.Has("sense")) {
    SenseCode code;
    if (!reader.String("sense", Need::kRequired, 8, &sense, error) ||
        !ParseSenseText(sense, &code)) {
      return Fail(error, reader.Where("sense") + ": expected \"KK-AA-QQ\" (e.g. \"05-24-00\")");
    }
    fault->sense = code;
  }
  if (reader.Has("times")) {
    const auto& times = reader.Object().at("times");
    if (times.is_string() && times.get<std::string>() == "always") {
      fault->timesLeft = -1;
    } else {
      std::uint64_t count = 0;
      if (!ParseUnsignedValue(times, kMaxTimes, &count) || count == 0) {
        return Fail(error, reader.Where("times") + ": expected a count from 1 to " +
                               std::to_string(kMaxTimes) + " or \"always\"");
      }
      fault->timesLeft = static_cast<int>(count);
    }
  }
  if (fault->transportFailure && fault->sense) {
    return Fail(error, reader.WhereSelf() + ": a transport failure carries no sense");
  }
  if (!fault->transportFailure && !fault->sense && fault->delayMs == 0) {
    return Fail(error, reader.WhereSelf() +
                           ": a fault needs \"sense\", \"delayMs\" or \"transportFailure\"");
  }
  return true;
}

constexpr std::size_t kMaxNodeLength = 255;

bool ReadDevice(const FieldReader& reader, DeviceConfig* device, std::string* error) {
  std::uint64_t adapter = 0, target = 0, pathId = 0, lun = 0;
  if (!reader.IsObject(error) ||
      // The machine's own device keys; the drive's keys come from the drive.
      !reader.OnlyKeys({"letter", "adapter", "target", "pathId", "lun", "openFails", "answers",
                        "node", "faults"},
                       EmulatedDrive::DeviceKeys(), error) ||
      !reader.Unsigned("adapter", Need::kRequired, kMaxAdapters - 1, &adapter, error) ||
      !reader.Unsigned("target", Need::kRequired, kMaxTargets - 1, &target, error) ||
      !reader.Unsigned("pathId", Need::kOptional, kMaxPathId, &pathId, error) ||
      !reader.Unsigned("lun", Need::kOptional, kMaxLun, &lun, error) ||
      !reader.Boolean("openFails", Need::kOptional, &device->openFails, error) ||
      !reader.Boolean("answers", Need::kOptional, &device->answers, error) ||
      !reader.String("node", Need::kOptional, kMaxNodeLength, &device->node, error)) {
    return false;
  }
  device->adapter = static_cast<int>(adapter);
  device->target = static_cast<int>(target);
  device->pathId = static_cast<std::uint8_t>(pathId);
  device->lun = static_cast<std::uint8_t>(lun);
  if (reader.Has("letter")) {
    const auto& letter = reader.Object().at("letter");
    const bool valid =
        letter.is_string() && letter.get_ref<const std::string&>().size() == 1 &&
        std::toupper(static_cast<unsigned char>(letter.get<std::string>()[0])) >= 'C' &&
        std::toupper(static_cast<unsigned char>(letter.get<std::string>()[0])) <= 'Z';
    if (!valid) return Fail(error, reader.Where("letter") + ": expected a single letter C..Z");
    device->letter =
        static_cast<char>(std::toupper(static_cast<unsigned char>(letter.get<std::string>()[0])));
  }
  if (reader.Has("faults")) {
    const auto& faults = reader.Object().at("faults");
    if (!faults.is_array()) return Fail(error, reader.Where("faults") + ": expected a list");
    for (std::size_t i = 0; i < faults.size(); ++i) {
      FaultRule fault;
      const FieldReader faultReader(faults[i], reader.File(),
                                    reader.Child("faults") + "[" + std::to_string(i) + "]");
      if (!ReadFault(faultReader, &fault, error)) return false;
      device->faults.push_back(fault);
    }
  }
  device->object = reader.Object();
  device->where = reader.WhereSelf();
  return true;
}

bool ReadDevices(const FieldReader& root, MachineDescription* out, std::string* error) {
  if (!root.Has("devices")) return true;
  const auto& list = root.Object().at("devices");
  if (!list.is_array() || list.size() > kMaxDevices) {
    return Fail(error, root.Where("devices") + ": expected a list of at most " +
                           std::to_string(kMaxDevices) + " devices");
  }
  std::set<char> letters;
  std::set<std::pair<int, int>> addresses;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const FieldReader reader(list[i], root.File(), "devices[" + std::to_string(i) + "]");
    DeviceConfig device;
    if (!ReadDevice(reader, &device, error)) return false;
    if (device.letter != 0 && !letters.insert(device.letter).second) {
      return Fail(error,
                  reader.Where("letter") + ": drive letter " + device.letter + " is used twice");
    }
    if (!addresses.insert({device.adapter, device.target}).second) {
      return Fail(error, reader.Where("target") + ": adapter " + std::to_string(device.adapter) +
                             " target " + std::to_string(device.target) + " is used twice");
    }
    out->devices.push_back(std::move(device));
  }
  return true;
}

}  // namespace

bool ParseSenseText(const std::string& text, SenseCode* out) {
  if (text.size() != 8 || text[2] != '-' || text[5] != '-') return false;
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = HexDigitValue(text[i * 3]);
    const int low = HexDigitValue(text[i * 3 + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  *out = SenseCode{bytes[0], bytes[1], bytes[2]};
  return true;
}

bool ParseJsonText(const std::string& text, const std::string& name, nlohmann::json* out,
                   std::string* error) {
  try {
    *out = nlohmann::json::parse(text);
    return true;
  } catch (const nlohmann::json::parse_error& e) {
    // Count lines ourselves so the message does not depend on the library's wording.
    const std::size_t end = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, text.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < end; ++i) {
      if (text[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    std::string detail = e.what();
    const auto colon = detail.find(": ", detail.find("column"));
    if (colon != std::string::npos) detail = detail.substr(colon + 2);
    return Fail(error, name + ": line " + std::to_string(line) + ", column " +
                           std::to_string(column) + ": " + detail);
  } catch (const nlohmann::json::exception& e) {
    // A number out of range: the library's text without its "[json.exception...]" tag.
    std::string detail = e.what();
    const auto tagEnd = detail.find("] ");
    if (detail.starts_with("[json.exception.") && tagEnd != std::string::npos) {
      detail = detail.substr(tagEnd + 2);
    }
    return Fail(error, name + ": " + detail);
  }
}

bool ParseMachineJson(const nlohmann::json& root, const std::string& name, MachineDescription* out,
                      std::string* error) {
  *out = MachineDescription{};
  const FieldReader reader(root, name, "");
  if (!root.is_object()) return Fail(error, name + ": expected a JSON object at the top");
  std::string description;
  if (!reader.OnlyKeys({"description", "platform", "systemInfoComponent", "clock", "memory", "aspi",
                        "adapters", "devices", "driveStates"},
                       kNoExtraKeys, error) ||
      !reader.String("description", Need::kOptional, 4096, &description, error) ||
      !ReadPlatform(reader, &out->report, error) ||
      !ReadComponent(reader, out->report, &out->component, error) ||
      !ReadClockAndMemory(reader, out, error) || !ReadAspi(reader, out, error) ||
      !ReadDevices(reader, out, error)) {
    return false;
  }
  if (reader.Has("driveStates")) {
    const auto& states = root.at("driveStates");
    if (!states.is_object())
      return Fail(error, reader.Where("driveStates") + ": expected an object");
    out->driveStates = states;
  }
  return true;
}

bool ParseMachineText(const std::string& text, const std::string& name, MachineDescription* out,
                      std::string* error) {
  nlohmann::json root;
  return ParseJsonText(text, name, &root, error) && ParseMachineJson(root, name, out, error);
}

}  // namespace emu

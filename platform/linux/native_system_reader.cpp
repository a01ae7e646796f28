// os-release and uname into a NativeSystem.
#include "platform/linux/native_system_reader.h"

#include <sys/utsname.h>

#include <fstream>
#include <optional>

namespace platform {

namespace {

constexpr std::size_t kOsReleaseLimit = 16 * 1024;
// The first processor's entry is all that is read; it comes first.
constexpr std::size_t kCpuinfoLimit = 16 * 1024;
constexpr std::string_view kCpuinfoKeys[] = {"model name", "Processor", "cpu model", "cpu"};
constexpr std::string_view kUnnamedDistribution = "Linux";

// The value of KEY=value, with one level of shell quoting and its escapes removed.
std::optional<std::string> OsReleaseValue(std::string_view text, std::string_view key) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=') continue;
    line.remove_prefix(key.size() + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.size() >= 2 && (line.front() == '"' || line.front() == '\'') &&
        line.back() == line.front()) {
      line = line.substr(1, line.size() - 2);
    }
    std::string value;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      value += line[i];
    }
    return value;
  }
  return std::nullopt;
}

// The value of "key<blanks>: value" lines in /proc/cpuinfo, blanks collapsed.
std::optional<std::string> CpuinfoValue(std::string_view text, std::string_view key) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name != key) continue;
    std::string value;
    for (const char c : line.substr(colon + 1)) {
      const bool blank = c == ' ' || c == '\t' || c == '\r';
      if (blank && (value.empty() || value.back() == ' ')) continue;
      value += blank ? ' ' : c;
    }
    if (!value.empty() && value.back() == ' ') value.pop_back();
    if (!value.empty()) return value;
  }
  return std::nullopt;
}

std::string ReadLimited(const char* path, std::size_t limit = kOsReleaseLimit) {
  std::ifstream file(path);
  std::string text(limit, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

std::string DistributionFromOsRelease(std::string_view osRelease) {
  if (auto pretty = OsReleaseValue(osRelease, "PRETTY_NAME"); pretty && !pretty->empty()) {
    return *pretty;
  }
  return OsReleaseValue(osRelease, "NAME").value_or(std::string());
}

std::string ProcessorFromCpuinfo(std::string_view cpuinfo) {
  for (const std::string_view key : kCpuinfoKeys) {
    if (auto value = CpuinfoValue(cpuinfo, key)) return *value;
  }
  return {};
}

NativeSystem RunningNativeSystem() {
  NativeSystem system;
  system.distribution = DistributionFromOsRelease(ReadLimited("/etc/os-release"));
  if (system.distribution.empty()) {
    system.distribution = DistributionFromOsRelease(ReadLimited("/usr/lib/os-release"));
  }
  if (system.distribution.empty()) system.distribution = kUnnamedDistribution;
  utsname names{};
  if (::uname(&names) == 0) system.kernel = std::string(names.sysname) + " " + names.release;
  system.processor = ProcessorFromCpuinfo(ReadLimited("/proc/cpuinfo", kCpuinfoLimit));
  return system;
}

}  // namespace platform

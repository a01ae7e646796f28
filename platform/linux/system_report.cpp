// uname/cpuinfo -> SYSTEM_INFO / OSVERSIONINFOA fields.
#include "platform/linux/system_report.h"

#include <sys/utsname.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

namespace platform {

namespace {

constexpr char kCsdPrefix[] = "Linux ";
constexpr Word kRevisionModelShift = 8;
constexpr std::size_t kCpuInfoLimit = 64 * 1024;

// Leading decimal number of the text, advancing past it.
std::optional<Dword> TakeNumber(std::string_view* text) {
  Dword value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc{}) return std::nullopt;
  text->remove_prefix(static_cast<std::size_t>(end - text->data()));
  return value;
}

// The value of the first "key : value" line of cpuinfo with this key.
std::optional<Dword> CpuInfoNumber(std::string_view cpuinfo, std::string_view key) {
  while (!cpuinfo.empty()) {
    const std::size_t end = cpuinfo.find('\n');
    std::string_view line = cpuinfo.substr(0, end);
    cpuinfo.remove_prefix(end == std::string_view::npos ? cpuinfo.size() : end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name != key) continue;
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    return TakeNumber(&value);
  }
  return std::nullopt;
}

Word ClampWord(Dword value) {
  return static_cast<Word>(std::min<Dword>(value, std::numeric_limits<Word>::max()));
}

bool IsX86(std::string_view machine) {
  return machine == "x86_64" || machine == "amd64" ||
         (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86");
}

}  // namespace

KernelRelease ParseKernelRelease(std::string_view release) {
  KernelRelease result;
  Dword* parts[] = {&result.major, &result.minor, &result.patch};
  for (Dword* part : parts) {
    const auto number = TakeNumber(&release);
    if (!number) break;
    *part = *number;
    if (release.empty() || release.front() != '.') break;
    release.remove_prefix(1);
  }
  return result;
}

void FillProcessorInfo(std::string_view machine, std::string_view cpuinfo, SystemInfo* info) {
  info->dwProcessorType = 0;
  info->wProcessorLevel = 0;
  info->wProcessorRevision = 0;
  if (IsX86(machine)) {
    const Dword family = CpuInfoNumber(cpuinfo, "cpu family").value_or(0);
    const Dword model = CpuInfoNumber(cpuinfo, "model").value_or(0);
    const Dword stepping = CpuInfoNumber(cpuinfo, "stepping").value_or(0);
    info->wProcessorArchitecture = kProcessorArchitectureIntel;
    info->wProcessorLevel = ClampWord(family);
    info->wProcessorRevision = static_cast<Word>(
        (std::min<Dword>(model, 0xFF) << kRevisionModelShift) | std::min<Dword>(stepping, 0xFF));
    info->dwProcessorType = family == 3   ? kProcessorIntel386
                            : family == 4 ? kProcessorIntel486
                                          : kProcessorIntelPentium;
  } else if (machine == "ia64") {
    info->wProcessorArchitecture = kProcessorArchitectureIa64;
    info->dwProcessorType = kProcessorIntelIa64;
  } else if (machine == "aarch64" || machine == "arm64") {
    info->wProcessorArchitecture = kProcessorArchitectureArm64;
  } else if (machine.starts_with("arm")) {
    info->wProcessorArchitecture = kProcessorArchitectureArm;
  } else if (machine.starts_with("mips")) {
    info->wProcessorArchitecture = kProcessorArchitectureMips;
    info->dwProcessorType = kProcessorMipsR4000;
  } else if (machine == "alpha") {
    info->wProcessorArchitecture = kProcessorArchitectureAlpha;
    info->dwProcessorType = kProcessorAlpha21064;
  } else if (machine.starts_with("ppc")) {
    info->wProcessorArchitecture = kProcessorArchitecturePpc;
    info->dwProcessorType = kProcessorPpc601;
  } else {
    info->wProcessorArchitecture = kProcessorArchitectureUnknown;
  }
}

void FillVersionInfo(std::string_view release, OsVersionInfoA* info) {
  const KernelRelease version = ParseKernelRelease(release);
  info->dwMajorVersion = version.major;
  info->dwMinorVersion = version.minor;
  info->dwBuildNumber = version.patch;
  info->dwPlatformId = kVerPlatformWin32Nt;
  std::string text = std::string(kCsdPrefix) + std::string(release);
  const std::size_t length = std::min(text.size(), sizeof info->szCSDVersion - 1);
  std::memcpy(info->szCSDVersion, text.data(), length);
  std::memset(info->szCSDVersion + length, 0, sizeof info->szCSDVersion - length);
}

std::string RunningKernelRelease() {
  utsname names{};
  if (::uname(&names) != 0) return {};
  return names.release;
}

std::string RunningMachine() {
  utsname names{};
  if (::uname(&names) != 0) return {};
  return names.machine;
}

std::string RunningCpuInfo() {
  std::ifstream file("/proc/cpuinfo");
  std::string text;
  char chunk[4096];
  while (text.size() < kCpuInfoLimit && file.read(chunk, sizeof chunk).gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(file.gcount()));
  }
  return text;
}

}  // namespace platform

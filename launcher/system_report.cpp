// Processor and OS tables of the system report.
#include "launcher/system_report.h"

#include <cstdio>
#include <cstring>

namespace launcher {

namespace {

using platform::Dword;

constexpr platform::Word kArchitectureIntel = 0;
constexpr platform::Word kArchitectureMips = 1;
constexpr platform::Word kArchitectureAlpha = 2;
constexpr platform::Word kArchitecturePpc = 3;
constexpr platform::Word kArchitectureIa64 = 6;

constexpr Dword kMinorWindows98 = 0;
constexpr Dword kMinorWindows98SecondEdition = 10;
constexpr Dword kMinorWindowsMe = 90;
constexpr Dword kMajorWindowsNt4 = 4;
constexpr Dword kMajorWindows2000 = 5;
constexpr Dword kBuildMask = 0xFFFF;

constexpr std::size_t kLineCapacity = 512;

// Processor lines.
constexpr char kIntel386[] = "Intel 80386 Processor : Revision %04xh\r\n";
constexpr char kIntel486[] = "Intel 80486 Processor : Revision %04xh\r\n";
constexpr char kIntelPentium[] = "Intel Pentium/Pentium MMX Processor : Revision %04xh\r\n";
constexpr char kIntelPentium2[] = "Intel Pentium 2/3 or Celeron Processor : Revision %04xh\r\n";
constexpr char kIntelOther[] = "Intel Architecture Processor : Revision %04xh\r\n";
constexpr char kMips[] = "MIPS RISC Architecture Processor\r\n";
constexpr char kAlpha[] = "DEC Alpha Architecture Processor\r\n";
constexpr char kPowerPc[] = "Motrola/IBM Power PC Architecture Processor\r\n";
constexpr char kIa64[] = "Intel Architecture 64bits Processor\r\n";
constexpr char kUnknownProcessor[] = "Unknown type processor\r\n";

// OS lines.
constexpr char kWindows98[] = "Windows 98 (Build %d.%d.%d)\r\n";
constexpr char kWindows98SecondEdition[] = "Windows 98 Second Edition (Build %d.%d.%d)\r\n";
constexpr char kWindowsMe[] = "Windows Millenium Edition (Build %d.%d.%d)\r\n";
constexpr char kWindowsNt4[] = "Windows NT4.0 (Build %d.%d.%d)\r\n%s\r\n";
constexpr char kWindows2000[] = "Windows 2000 (Build %d.%d.%d)\r\n%s\r\n";
constexpr char kUnknownPlatform[] = "Unknown platform\r\n";
// Versions no row names: the family with the numbers, naming no product.
constexpr char kOtherWindows[] = "Windows (Build %d.%d.%d)\r\n";
constexpr char kOtherWindowsNt[] = "Windows NT (Build %d.%d.%d)\r\n%s\r\n";
constexpr char kNativeSystem[] = "%s\r\n%s\r\n";
constexpr char kNativeProcessor[] = "%s\r\n";

std::string Formatted(const char* format, auto... values) {
  char line[kLineCapacity] = {};
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

std::string IntelLine(platform::Word level, platform::Word revision) {
  const char* format = level == 3   ? kIntel386
                       : level == 4 ? kIntel486
                       : level == 5 ? kIntelPentium
                       : level == 6 ? kIntelPentium2
                                    : kIntelOther;
  return Formatted(format, static_cast<unsigned>(revision));
}

// szCSDVersion up to its terminator, never past the field.
std::string ServicePack(const platform::OsVersionInfoA& version) {
  return std::string(version.szCSDVersion,
                     ::strnlen(version.szCSDVersion, sizeof version.szCSDVersion));
}

int AsInt(Dword value) { return static_cast<int>(value); }

}  // namespace

std::string ProcessorLine(const platform::SystemInfo& processor) {
  switch (processor.wProcessorArchitecture) {
    case kArchitectureIntel:
      return IntelLine(processor.wProcessorLevel, processor.wProcessorRevision);
    case kArchitectureMips:
      return kMips;
    case kArchitectureAlpha:
      return kAlpha;
    case kArchitecturePpc:
      return kPowerPc;
    case kArchitectureIa64:
      return kIa64;
    default:
      return kUnknownProcessor;
  }
}

std::string ProcessorLine(const platform::SystemInfo& processor,
                          const platform::NativeSystem& native) {
  if (native.processor.empty()) return ProcessorLine(processor);
  return Formatted(kNativeProcessor, native.processor.c_str());
}

std::string OsLine(const platform::OsVersionInfoA& version, const platform::NativeSystem& native) {
  if (native.Known()) {
    return Formatted(kNativeSystem, native.distribution.c_str(), native.kernel.c_str());
  }
  const int major = AsInt(version.dwMajorVersion);
  const int minor = AsInt(version.dwMinorVersion);
  const int build = AsInt(version.dwBuildNumber & kBuildMask);
  if (version.dwPlatformId == platform::kVerPlatformWin32Windows) {
    switch (version.dwMinorVersion) {
      case kMinorWindows98:
        return Formatted(kWindows98, major, 0, build);
      case kMinorWindows98SecondEdition:
        return Formatted(kWindows98SecondEdition, major, 10, build);
      case kMinorWindowsMe:
        return Formatted(kWindowsMe, major, 90, build);
      default:
        return Formatted(kOtherWindows, major, minor, build);
    }
  }
  if (version.dwPlatformId == platform::kVerPlatformWin32Nt) {
    const std::string servicePack = ServicePack(version);
    switch (version.dwMajorVersion) {
      case kMajorWindowsNt4:
        return Formatted(kWindowsNt4, 4, minor, build, servicePack.c_str());
      case kMajorWindows2000:
        return Formatted(kWindows2000, 5, minor, build, servicePack.c_str());
      default:
        return Formatted(kOtherWindowsNt, major, minor, build, servicePack.c_str());
    }
  }
  return kUnknownPlatform;
}

std::string SystemReport(const platform::SystemInfo& processor,
                         const platform::OsVersionInfoA& version,
                         const platform::NativeSystem& native) {
  return kProcessorHeading + ProcessorLine(processor, native) + kOsHeading +
         OsLine(version, native);
}

}  // namespace launcher

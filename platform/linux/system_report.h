// The version and processor report of the running Linux system in the shape of
// the Windows records. Pure functions over uname/cpuinfo texts, plus readers.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace platform {

// wProcessorArchitecture values.
inline constexpr Word kProcessorArchitectureIntel = 0;
inline constexpr Word kProcessorArchitectureMips = 1;
inline constexpr Word kProcessorArchitectureAlpha = 2;
inline constexpr Word kProcessorArchitecturePpc = 3;
inline constexpr Word kProcessorArchitectureArm = 5;
inline constexpr Word kProcessorArchitectureIa64 = 6;
inline constexpr Word kProcessorArchitectureArm64 = 12;
inline constexpr Word kProcessorArchitectureUnknown = 0xFFFF;

// dwProcessorType values.
inline constexpr Dword kProcessorIntel386 = 386;
inline constexpr Dword kProcessorIntel486 = 486;
inline constexpr Dword kProcessorIntelPentium = 586;
inline constexpr Dword kProcessorIntelIa64 = 2200;
inline constexpr Dword kProcessorMipsR4000 = 4000;
inline constexpr Dword kProcessorAlpha21064 = 21064;
inline constexpr Dword kProcessorPpc601 = 601;

struct KernelRelease {
  Dword major = 0;
  Dword minor = 0;
  Dword patch = 0;
};

// "6.1.0-18-amd64" -> 6, 1, 0. Missing or malformed parts are 0.
KernelRelease ParseKernelRelease(std::string_view release);

// Processor fields from uname's machine and /proc/cpuinfo. The programs were
// built as 32-bit x86 code, so x86-64 reports what such a program sees there:
// the Intel architecture, level = "cpu family", revision = model << 8 | stepping,
// type Pentium (386/486 for families 3 and 4). Other machines map to their
// architecture with level and revision 0.
void FillProcessorInfo(std::string_view machine, std::string_view cpuinfo, SystemInfo* info);

// The version record of a system with this release: NT platform, major/minor/build
// from the release, szCSDVersion "Linux <release>" cut to fit.
void FillVersionInfo(std::string_view release, OsVersionInfoA* info);

// The running system's uname fields and /proc/cpuinfo text.
std::string RunningKernelRelease();
std::string RunningMachine();
std::string RunningCpuInfo();

}  // namespace platform

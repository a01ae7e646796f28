// The launcher's system report: a processor line and an OS line chosen from
// the captured processor and version records.
#pragma once

#include <string>

#include "platform/kernel.h"
#include "platform/native_system.h"

namespace launcher {

inline constexpr char kProcessorHeading[] = "[Processor information]\r\n";
inline constexpr char kOsHeading[] = "\r\n[OS information]\r\n";

std::string ProcessorLine(const platform::SystemInfo& processor);
// A processor the native system names (Linux) is named as it is: an AMD or
// ARM processor must not read as an Intel one.
std::string ProcessorLine(const platform::SystemInfo& processor,
                          const platform::NativeSystem& native);

// A known native system (Linux) is named as it is: its distribution and kernel.
std::string OsLine(const platform::OsVersionInfoA& version, const platform::NativeSystem& native);

// The whole report as the dialog shows it once both lines are in.
std::string SystemReport(const platform::SystemInfo& processor,
                         const platform::OsVersionInfoA& version,
                         const platform::NativeSystem& native);

}  // namespace launcher

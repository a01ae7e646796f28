// The launcher program's state and operations: the processor and version
// records captured once at start-up, one start-up and one process record per
// tool, the system report and LaunchTool. The dialog owns one.
#pragma once

#include <array>
#include <string>

#include "launcher/launcher_ui.h"
#include "launcher/tool_table.h"
#include "platform/platform.h"

namespace launcher {

// The version record's size as the launcher sets it before GetVersionExA.
inline constexpr platform::Dword kVersionRecordSize = 148;
static_assert(sizeof(platform::OsVersionInfoA) == kVersionRecordSize);

inline constexpr platform::Dword kLangDefault =
    0x0400;  // MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)
inline constexpr platform::Dword kMessageTextCapacity = 128;

inline constexpr char kUnsupportedPlatformFormat[] =
    "This platform is not supported.\r\nPlatform #%d\r\nVersion : %1d.%02d.%08d";
inline constexpr char kFormatMessageFailedFormat[] = "Format message failed.  Error: %d\n";

struct ToolRecords {
  platform::StartupInfoA startup;
  platform::ProcessInformation process;
};

class Launcher {
 public:
  explicit Launcher(platform::Platform& system);

  // GetSystemInfo, then GetVersionExA with the record's size set to 148; its
  // result is not looked at.
  void CaptureSystem();

  // The report, refreshed into the information box after each line.
  void BuildSystemReport(LauncherUi& ui) const;

  // Starts the build of `tool` that fits the platform and waits until it has
  // ended; a refusal or a failed start is shown in a message box.
  void LaunchTool(Tool tool, LauncherUi& ui);

  const platform::SystemInfo& Processor() const { return processor_; }
  const platform::OsVersionInfoA& Version() const { return version_; }
  const platform::NativeSystem& Native() const { return native_; }
  const ToolRecords& Records(Tool tool) const { return records_[static_cast<std::size_t>(tool)]; }

 private:
  std::string UnsupportedPlatformText() const;
  std::string StartFailureText();

  platform::Kernel& kernel_;
  platform::ProcessService& processes_;
  platform::Platform& system_;
  platform::SystemInfo processor_{};
  platform::OsVersionInfoA version_{};
  platform::NativeSystem native_;
  std::array<ToolRecords, kToolCount> records_{};
};

}  // namespace launcher

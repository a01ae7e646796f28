// Start-up capture, the system report and LaunchTool.
#include "launcher/launcher.h"

#include <cstdio>
#include <vector>

#include "launcher/system_report.h"

namespace launcher {

namespace {

constexpr std::size_t kMessageCapacity = 256;
constexpr platform::Dword kBuildMask = 0xFFFF;

}  // namespace

Launcher::Launcher(platform::Platform& system)
    : kernel_(system.Kernel32()), processes_(system.Processes()), system_(system) {}

void Launcher::CaptureSystem() {
  kernel_.GetSystemInfo(&processor_);
  version_.dwOSVersionInfoSize = kVersionRecordSize;
  kernel_.GetVersionExA(&version_);
  native_ = system_.Native();
}

void Launcher::BuildSystemReport(LauncherUi& ui) const {
  std::string report = kProcessorHeading;
  report += ProcessorLine(processor_, native_);
  ui.SetReportText(report);
  ui.RefreshReport();
  report += kOsHeading;
  report += OsLine(version_, native_);
  ui.SetReportText(report);
  ui.RefreshReport();
}

std::string Launcher::UnsupportedPlatformText() const {
  char text[kMessageCapacity] = {};
  std::snprintf(text, sizeof text, kUnsupportedPlatformFormat,
                static_cast<int>(version_.dwPlatformId), static_cast<int>(version_.dwMajorVersion),
                static_cast<int>(version_.dwMinorVersion),
                static_cast<int>(version_.dwBuildNumber & kBuildMask));
  return text;
}

std::string Launcher::StartFailureText() {
  const platform::Dword error = kernel_.GetLastError();
  char text[kMessageTextCapacity] = {};
  if (kernel_.FormatMessageA(platform::kFormatMessageFromSystem, nullptr, error, kLangDefault, text,
                             kMessageTextCapacity) != 0) {
    return text;
  }
  char fallback[kMessageCapacity] = {};
  std::snprintf(fallback, sizeof fallback, kFormatMessageFailedFormat,
                static_cast<int>(kernel_.GetLastError()));
  return fallback;
}

void Launcher::LaunchTool(Tool tool, LauncherUi& ui) {
  ToolRecords& records = records_[static_cast<std::size_t>(tool)];
  processes_.GetStartupInfoA(&records.startup);
  const std::optional<ToolStart> start = ChooseToolStart(tool, version_.dwPlatformId);
  if (!start) {
    ui.MessageBox(UnsupportedPlatformText(), kMbOk);
    return;
  }
  // CreateProcessA may write into its command line.
  std::vector<char> commandLine(start->commandLine.begin(), start->commandLine.end());
  commandLine.push_back('\0');
  if (processes_.CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, platform::kFalse,
                                start->creationFlags, nullptr, nullptr, &records.startup,
                                &records.process) == platform::kFalse) {
    ui.MessageBox(StartFailureText(), kMbOk);
    return;
  }
  const platform::Handle process = records.process.hProcess;
  ui.WaitForTool(
      [this, process] { return kernel_.WaitForSingleObject(process, platform::kInfinite); });
  // The tool has ended: its handles are of no further use.
  kernel_.CloseHandle(records.process.hThread);
  kernel_.CloseHandle(records.process.hProcess);
}

}  // namespace launcher

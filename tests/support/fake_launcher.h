// Scripted stand-ins for the launcher's seams: a UI that records every report
// refresh, message box and wait, a process service that records every start
// and answers from a script, and a platform with a settable system report.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "launcher/launcher_ui.h"
#include "platform/platform.h"
#include "tests/support/fake_platform.h"

namespace testsupport {

class FakeLauncherUi : public launcher::LauncherUi {
 public:
  void SetReportText(const std::string& text) override { report = text; }
  void RefreshReport() override { refreshed.push_back(report); }
  int MessageBox(const std::string& text, unsigned style) override {
    messages.push_back(text);
    styles.push_back(style);
    return 1;
  }
  platform::Dword WaitForTool(const std::function<platform::Dword()>& wait) override {
    ++waitsForTool;
    return wait();
  }

  std::string report;
  std::vector<std::string> refreshed;  // the box's content at each refresh
  std::vector<std::string> messages;
  std::vector<unsigned> styles;
  int waitsForTool = 0;
};

// A kernel whose process handles are events, with a report to hand out.
class LauncherKernel : public FakeKernel {
 public:
  void GetSystemInfo(platform::SystemInfo* info) override { *info = processor; }
  platform::Bool GetVersionExA(platform::OsVersionInfoA* info) override {
    sizeSeen = info->dwOSVersionInfoSize;
    const platform::Dword size = info->dwOSVersionInfoSize;
    *info = version;
    info->dwOSVersionInfoSize = size;
    return versionResult;
  }
  platform::Dword FormatMessageA(platform::Dword flags, const void* source, platform::Dword id,
                                 platform::Dword language, char* buffer,
                                 platform::Dword size) override {
    formatCalls.push_back({flags, id, language, size});
    return FakeKernel::FormatMessageA(flags, source, id, language, buffer, size);
  }

  struct FormatCall {
    platform::Dword flags, id, language, size;
  };
  platform::SystemInfo processor{};
  platform::OsVersionInfoA version{};
  platform::Bool versionResult = platform::kTrue;
  platform::Dword sizeSeen = 0;
  std::vector<FormatCall> formatCalls;
};

struct RecordedStart {
  bool applicationNameGiven = false;
  std::string commandLine;
  bool securityGiven = false;
  platform::Bool inheritHandles = platform::kTrue;
  platform::Dword creationFlags = 0;
  bool environmentGiven = false;
  bool currentDirectoryGiven = false;
  const platform::StartupInfoA* startupInfo = nullptr;
  platform::StartupInfoA startupSeen{};
  const platform::ProcessInformation* processInformation = nullptr;
};

// Starts nothing. A start succeeds with two fresh handles, the process one
// already signalled (the tool has ended), or fails with `failWith`.
class FakeProcessService : public platform::ProcessService {
 public:
  explicit FakeProcessService(LauncherKernel& kernel) : kernel_(kernel) {}

  void GetStartupInfoA(platform::StartupInfoA* info) override {
    ++startupInfoCalls;
    *info = platform::StartupInfoA{};
    info->dwFlags = kStartupFlags;
    info->wShowWindow = kShowWindow;
  }
  platform::Bool CreateProcessA(const char* applicationName, char* commandLine,
                                platform::SecurityAttributes* processAttributes,
                                platform::SecurityAttributes* threadAttributes,
                                platform::Bool inheritHandles, platform::Dword creationFlags,
                                void* environment, const char* currentDirectory,
                                platform::StartupInfoA* startupInfo,
                                platform::ProcessInformation* processInformation) override {
    starts.push_back({applicationName != nullptr, commandLine != nullptr ? commandLine : "",
                      processAttributes != nullptr || threadAttributes != nullptr, inheritHandles,
                      creationFlags, environment != nullptr, currentDirectory != nullptr,
                      startupInfo, startupInfo != nullptr ? *startupInfo : platform::StartupInfoA{},
                      processInformation});
    if (failWith) {
      kernel_.SetLastError(*failWith);
      return platform::kFalse;
    }
    processInformation->hProcess = kernel_.CreateEventA(platform::kTrue, platform::kTrue);
    processInformation->hThread = kernel_.CreateEventA(platform::kTrue, platform::kFalse);
    processInformation->dwProcessId = processInformation->dwThreadId = 4242;
    return platform::kTrue;
  }

  static constexpr platform::Dword kStartupFlags = 0x81;
  static constexpr platform::Word kShowWindow = 7;
  int startupInfoCalls = 0;
  std::vector<RecordedStart> starts;
  std::optional<platform::Dword> failWith;

 private:
  LauncherKernel& kernel_;
};

class FakeLauncherPlatform : public FakePlatform {
 public:
  platform::Kernel& Kernel32() override { return launcherKernel; }
  platform::ProcessService& Processes() override { return processes; }
  platform::NativeSystem Native() override { return native; }

  LauncherKernel launcherKernel;
  FakeProcessService processes{launcherKernel};
  platform::NativeSystem native;
};

}  // namespace testsupport

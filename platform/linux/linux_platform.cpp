// Assembles the Linux services into one Platform.
#include "platform/linux/linux_platform.h"

#include <cstdlib>

#include "platform/linux/drive_map.h"
#include "platform/linux/linux_aspi.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_pass_through.h"
#include "platform/linux/linux_processes.h"
#include "platform/linux/linux_system_info_component.h"
#include "platform/linux/native_system_reader.h"

namespace platform {

namespace {

class LinuxPlatform : public Platform {
 public:
  LinuxPlatform(const SysfsLayout& layout, std::optional<DriveMap> drives,
                std::shared_ptr<DeviceIo> io, const DiagnosticSink& diagnostics,
                ProgramSearch programs)
      : io_(std::move(io)),
        passThrough_(kernel_, *io_, layout, std::move(drives), diagnostics),
        aspi_(kernel_, *io_, layout, diagnostics),
        processes_(kernel_, std::move(programs)) {}

  Kernel& Kernel32() override { return kernel_; }
  PassThroughService& PassThrough() override { return passThrough_; }
  AspiManager& Aspi() override { return aspi_; }
  Clock& Timer() override { return clock_; }
  SystemInfoComponentFactory& SystemInfoComponents() override { return systemInfo_; }
  void SetBlockNodeFallback(bool allowed) override {
    passThrough_.SetBlockNodeFallback(allowed);
    aspi_.SetBlockNodeFallback(allowed);
  }
  // Only the pass-through's refusals reach the program's box: the ASPI
  // stand-in completes requests on threads of its own, and tells standard error.
  void SetFailureNotice(std::function<void(const std::string& text)> notice) override {
    passThrough_.SetFailureNotice(std::move(notice));
  }
  std::vector<std::string> NodesOfLetter(char letter) override {
    return passThrough_.NodesOfLetter(letter);
  }
  std::vector<std::string> NodesOfTarget(Byte adapter, Byte target) override {
    return aspi_.NodesOfTarget(adapter, target);
  }
  ProcessService& Processes() override { return processes_; }
  NativeSystem Native() override { return RunningNativeSystem(); }

 private:
  std::shared_ptr<DeviceIo> io_;
  LinuxKernel kernel_;
  LinuxPassThrough passThrough_;
  LinuxAspiManager aspi_;
  LinuxClock clock_;
  LinuxSystemInfoComponentFactory systemInfo_;
  LinuxProcessService processes_;
};

}  // namespace

std::unique_ptr<Platform> CreateLinuxPlatform(const LinuxPlatformOptions& options,
                                              std::string* error) {
  std::optional<DriveMap> drives;
  if (options.drives && !options.drives->empty()) {
    DriveMap map;
    std::string parseError;
    if (!ParseDriveMap(*options.drives, &map, &parseError)) {
      if (error != nullptr) *error = parseError;
      return nullptr;
    }
    drives = std::move(map);
  }
  auto io = options.deviceIo ? options.deviceIo : std::make_shared<SystemDeviceIo>();
  const DiagnosticSink diagnostics =
      options.diagnostics ? options.diagnostics : StandardErrorSink();
  return std::make_unique<LinuxPlatform>(options.layout, std::move(drives), std::move(io),
                                         diagnostics,
                                         options.programs.value_or(ProgramSearch::Running()));
}

std::unique_ptr<Platform> CreateLinuxPlatform(std::string* error,
                                              const DiagnosticSink& diagnostics) {
  LinuxPlatformOptions options;
  options.diagnostics = diagnostics;
  if (const char* drives = std::getenv(kDrivesEnvironmentVariable)) options.drives = drives;
  return CreateLinuxPlatform(options, error);
}

}  // namespace platform

// Assembles the Windows services into one Platform.
#include "platform/windows/windows_platform.h"

#include "platform/windows/windows_aspi.h"
#include "platform/windows/windows_clock.h"
#include "platform/windows/windows_kernel.h"
#include "platform/windows/windows_pass_through.h"
#include "platform/windows/windows_processes.h"
#include "platform/windows/windows_system_info_component.h"

namespace platform {

namespace {

class WindowsPlatform : public Platform {
 public:
  explicit WindowsPlatform(std::shared_ptr<DeviceCalls> calls)
      : calls_(std::move(calls)), passThrough_(*calls_) {}

  Kernel& Kernel32() override { return kernel_; }
  PassThroughService& PassThrough() override { return passThrough_; }
  AspiManager& Aspi() override { return aspi_; }
  Clock& Timer() override { return clock_; }
  SystemInfoComponentFactory& SystemInfoComponents() override { return systemInfo_; }
  ProcessService& Processes() override { return processes_; }
  // The version record describes Windows itself.
  NativeSystem Native() override { return {}; }

 private:
  std::shared_ptr<DeviceCalls> calls_;
  WindowsKernel kernel_;
  WindowsPassThrough passThrough_;
  WindowsAspiManager aspi_;
  WindowsClock clock_;
  WindowsSystemInfoComponentFactory systemInfo_;
  WindowsProcessService processes_;
};

}  // namespace

std::unique_ptr<Platform> CreateWindowsPlatform(std::shared_ptr<DeviceCalls> deviceCalls) {
  if (!deviceCalls) deviceCalls = std::make_shared<SystemDeviceCalls>();
  return std::make_unique<WindowsPlatform>(std::move(deviceCalls));
}

}  // namespace platform

// LinuxSystemInfoComponentFactory and its component.
#include "platform/linux/linux_system_info_component.h"

#include <algorithm>
#include <limits>

#include "platform/kernel.h"
#include "platform/linux/system_report.h"

namespace platform {

namespace {

class LinuxSystemInfoComponent : public SystemInfoComponent {
 public:
  explicit LinuxSystemInfoComponent(const KernelRelease& release) : release_(release) {}

  HResult get_OSBuildNumber(Short* build) override {
    if (build == nullptr) return kEFail;
    *build = static_cast<Short>(std::min<Dword>(release_.patch, std::numeric_limits<Short>::max()));
    return kSOk;
  }
  HResult get_OSPlatform(Short* platformId) override {
    if (platformId == nullptr) return kEFail;
    *platformId = static_cast<Short>(kVerPlatformWin32Nt);
    return kSOk;
  }
  HResult get_OSVersion(float* version) override {
    if (version == nullptr) return kEFail;
    *version = KernelVersionNumber(release_.major, release_.minor);
    return kSOk;
  }

 private:
  KernelRelease release_;
};

}  // namespace

float KernelVersionNumber(Dword major, Dword minor) {
  double scale = 1;
  for (Dword rest = minor; rest > 0; rest /= 10) scale *= 10;
  return static_cast<float>(major + minor / scale);
}

LinuxSystemInfoComponentFactory::LinuxSystemInfoComponentFactory(std::string release)
    : release_(std::move(release)) {}

std::unique_ptr<SystemInfoComponent> LinuxSystemInfoComponentFactory::CreateSystemInfoComponent() {
  const std::string release = release_.empty() ? RunningKernelRelease() : release_;
  return std::make_unique<LinuxSystemInfoComponent>(ParseKernelRelease(release));
}

}  // namespace platform

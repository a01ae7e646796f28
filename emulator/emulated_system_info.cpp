// System-information component of the emulated machine.
#include "emulator/emulated_system_info.h"

namespace emu {

namespace {

class EmulatedSystemInfo : public platform::SystemInfoComponent {
 public:
  explicit EmulatedSystemInfo(const ComponentValues& values) : values_(values) {}

  platform::HResult get_OSBuildNumber(platform::Short* build) override {
    return Read(ComponentRead::kBuild, build, values_.build);
  }
  platform::HResult get_OSPlatform(platform::Short* platformId) override {
    return Read(ComponentRead::kPlatform, platformId, values_.platform);
  }
  platform::HResult get_OSVersion(float* version) override {
    return Read(ComponentRead::kVersion, version, values_.version);
  }

 private:
  template <typename T>
  platform::HResult Read(ComponentRead which, T* out, T value) const {
    if (values_.failingRead == which) return platform::kEFail;
    if (out == nullptr) return platform::kEFail;  // E_POINTER in spirit
    *out = value;
    return platform::kSOk;
  }

  const ComponentValues values_;
};

}  // namespace

std::unique_ptr<platform::SystemInfoComponent>
EmulatedSystemInfoFactory::CreateSystemInfoComponent() {
  if (values_.createFails) return nullptr;
  return std::make_unique<EmulatedSystemInfo>(values_);
}

}  // namespace emu

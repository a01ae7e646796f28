// System Info text from the component's build, version and platform reads.
#include "flash/window/system_info_command.h"

#include <cstdio>

#include "resources/flash/flash_strings.h"

namespace flash {
namespace {

constexpr std::size_t kSystemInfoCapacity = 128;

bool Succeeded(platform::HResult result) { return result >= 0; }

}  // namespace

std::optional<std::string> SystemInfoText(platform::SystemInfoComponent* component) {
  if (component == nullptr) return std::nullopt;
  platform::Short build = 0;
  float version = 0.0f;
  platform::Short platformId = 0;
  // Build number, version, platform: the order the component is read in.
  if (!Succeeded(component->get_OSBuildNumber(&build))) return std::nullopt;
  if (!Succeeded(component->get_OSVersion(&version))) return std::nullopt;
  if (!Succeeded(component->get_OSPlatform(&platformId))) return std::nullopt;
  char text[kSystemInfoCapacity] = {};
  std::snprintf(text, sizeof text, resources::kSystemInfoFormat,
                static_cast<unsigned>(static_cast<int>(platformId)), static_cast<double>(version),
                static_cast<int>(build));
  return std::string(text);
}

}  // namespace flash

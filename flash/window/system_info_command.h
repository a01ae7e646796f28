// flashaspi's System Info command: three reads from the system-information
// component, formatted for a message box.
#pragma once

#include <optional>
#include <string>

#include "platform/system_info_component.h"

namespace flash {

// The "Platform = ..." text, or nothing when the component is missing or a
// read fails.
std::optional<std::string> SystemInfoText(platform::SystemInfoComponent* component);

}  // namespace flash

// The real system on Linux behind the platform seam.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/linux/access_report.h"
#include "platform/linux/device_io.h"
#include "platform/linux/program_search.h"
#include "platform/linux/sysfs_tree.h"
#include "platform/platform.h"

namespace platform {

struct LinuxPlatformOptions {
  SysfsLayout layout;
  // The DVDUTIL_DRIVES text; nullopt (or empty) takes the drives from sysfs.
  std::optional<std::string> drives;
  // The device calls; null means the real ones.
  std::shared_ptr<DeviceIo> deviceIo;
  // Where the user is told why a drive cannot be reached; empty means
  // standard error.
  DiagnosticSink diagnostics;
  // Where started programs are found; nullopt means this program's folder and PATH.
  std::optional<ProgramSearch> programs;
};

// Null with a message when the options are unusable (a malformed drive map).
std::unique_ptr<Platform> CreateLinuxPlatform(const LinuxPlatformOptions& options,
                                              std::string* error);

// With the drive map from DVDUTIL_DRIVES and the real sysfs and /dev.
std::unique_ptr<Platform> CreateLinuxPlatform(std::string* error,
                                              const DiagnosticSink& diagnostics = {});

}  // namespace platform

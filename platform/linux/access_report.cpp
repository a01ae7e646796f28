// AccessReport and the texts it tells.
#include "platform/linux/access_report.h"

#include <errno.h>

#include <cstring>
#include <iostream>

namespace platform {

DiagnosticSink StandardErrorSink() {
  return [](const std::string& line) {
    std::cerr << program_invocation_short_name << ": " << line << std::endl;
  };
}

std::string NodeOpenFailureText(const std::string& node, int error) {
  std::string text = node + " cannot be opened: " + std::strerror(error);
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return text + "; " + kAccessFixText;
    case EBUSY:
      return text + "; the drive is in use by another program (close it, or unmount the disc)";
    case ENXIO:
    case ENODEV:
      return text + "; the drive is gone or switched off";
    default:
      return text;
  }
}

void AccessReport::Once(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    if (!told_.insert(line).second) return;
  }
  if (sink_) sink_(line);
}

}  // namespace platform

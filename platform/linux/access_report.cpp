// AccessReport and the texts it tells.
#include "platform/linux/access_report.h"

#include <errno.h>

#include <cstdio>
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

namespace {

constexpr unsigned char kOpRequestSense = 0x03;
constexpr unsigned char kOpWriteBuffer = 0x3B;

}  // namespace

std::string CommandRefusalText(const std::string& node, unsigned char opcode) {
  // The kernel lets anyone who opened a generic node read-write send it, and
  // refuses it on block nodes and read-only opens to all but root.
  if (opcode == kOpWriteBuffer) {
    return node +
           ": the kernel refused WRITE BUFFER (3Bh), the firmware command: on this node "
           "it needs root; " +
           kRootFixText + ", or reach the drive through its SCSI generic node (" +
           kSgModuleFixText + ")";
  }
  char command[8] = {};
  std::snprintf(command, sizeof command, "%02Xh", opcode);
  return node + ": the kernel refused command " + command + " to this user; " + kRootFixText;
}

void AccessReport::CommandRefused(const std::string& node, const unsigned char* cdb, int rc) {
  if ((rc != -EPERM && rc != -EACCES) || cdb == nullptr || cdb[0] == kOpRequestSense) return;
  const std::string text = CommandRefusalText(node, cdb[0]);
  std::function<void(const std::string&)> notice;
  {
    std::lock_guard lock(mutex_);
    notice = refusalNotice_;
  }
  if (Once(text) && notice) notice(text);
}

bool AccessReport::Once(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    if (!told_.insert(line).second) return false;
  }
  if (sink_) sink_(line);
  return true;
}

void AccessReport::SetRefusalNotice(std::function<void(const std::string&)> notice) {
  std::lock_guard lock(mutex_);
  refusalNotice_ = std::move(notice);
}

}  // namespace platform

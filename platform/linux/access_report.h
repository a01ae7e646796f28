// What the Linux services tell the user on standard error when a drive cannot
// be reached: which node, why, and what to do about it. Each text is told once
// per run, however often the programs probe the drive.
#pragma once

#include <mutex>
#include <set>
#include <string>

#include "platform/diagnostics.h"

namespace platform {

// Writes "<program>: <line>" to standard error.
DiagnosticSink StandardErrorSink();

// The fix for a node the user may not open.
inline constexpr char kAccessFixText[] =
    "join the cdrom group (sudo usermod -aG cdrom $USER, then log in again) or run as root";
inline constexpr char kSgModuleFixText[] = "load it with: sudo modprobe sg";

// "<node> cannot be opened: <reason>" followed by the fix that fits errno.
std::string NodeOpenFailureText(const std::string& node, int error);

// The fix for a command the kernel refuses to a process without
// CAP_SYS_RAWIO: -E keeps the display for the windows.
inline constexpr char kRootFixText[] =
    "run the program as root with sudo -E (-E keeps the display)";

// "<node>: the kernel refused <command> ..." for a command refused with
// EPERM or EACCES; WRITE BUFFER is named as the firmware command.
std::string CommandRefusalText(const std::string& node, unsigned char opcode);

class AccessReport {
 public:
  explicit AccessReport(DiagnosticSink sink) : sink_(std::move(sink)) {}
  // Passes the line on the first time it is given; true then.
  bool Once(const std::string& line);
  // Where a refused command is also shown to the user (the program's error
  // box); empty for standard error alone. Called on the requesting thread.
  void SetRefusalNotice(std::function<void(const std::string&)> notice);
  // Tells why the kernel refused a command (SG_IO gave -errno `rc`) when it
  // was for lack of privilege. A REQUEST SENSE refused after such a command
  // is not told again.
  void CommandRefused(const std::string& node, const unsigned char* cdb, int rc);

 private:
  DiagnosticSink sink_;
  std::function<void(const std::string&)> refusalNotice_;
  std::mutex mutex_;
  std::set<std::string> told_;
};

}  // namespace platform

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

class AccessReport {
 public:
  explicit AccessReport(DiagnosticSink sink) : sink_(std::move(sink)) {}
  // Passes the line on the first time it is given.
  void Once(const std::string& line);

 private:
  DiagnosticSink sink_;
  std::mutex mutex_;
  std::set<std::string> told_;
};

}  // namespace platform

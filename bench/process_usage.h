// What the running process uses: resident memory and processor time.
#pragma once

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace bench {

// VmRSS from /proc/self/status in kilobytes, or -1 when it cannot be read.
inline long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// User plus system time of this process (not of its children), in milliseconds.
inline double ProcessCpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto milliseconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
  };
  return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

}  // namespace bench

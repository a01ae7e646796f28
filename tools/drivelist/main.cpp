// drivelist: prints the drive list each of the five programs would show on
// this machine (or the emulated machine named by DVDUTIL_MACHINE).
#include <iostream>
#include <string>

#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/drivelist/drive_list_report.h"

int main() {
  platform::UseBinaryStandardOutput();
  std::string error;
  // Why a drive cannot be reached goes into the report, beside the line that
  // names the drive.
  const auto system = startup::OpenStartupPlatform(
      &error, [](const std::string& line) { std::cout << "drivelist: " << line << '\n'; });
  if (!system) {
    std::cerr << "drivelist: " << (error.empty() ? "the platform could not be opened" : error)
              << '\n';
    return 1;
  }
  const int result = tools::ReportDriveLists(*system, std::cout);
  std::cout.flush();
  return result;
}

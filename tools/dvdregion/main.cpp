// dvdregion: the region utility's query and change on the command line.
#include <iostream>
#include <string>

#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/dvdregion/dvdregion_command.h"

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  std::string error;
  const auto system = startup::OpenStartupPlatform(&error);
  if (!system) {
    std::cerr << "dvdregion: " << (error.empty() ? "the platform could not be opened" : error)
              << '\n';
    return tools::kRegionExitStartFailed;
  }
  // The disc box is asked on the terminal only; without one it answers Cancel.
  std::istream* answers = platform::StandardInputIsTerminal() ? &std::cin : nullptr;
  return tools::RunDvdRegion(argc, argv, *system, std::cout, std::cerr, answers);
}

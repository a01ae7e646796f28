// dvdregion: the region utility's query and change on the command line.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "startup/startup_platform.h"
#include "tools/dvdregion/dvdregion_command.h"

int main(int argc, char** argv) {
  std::unique_ptr<platform::Platform> system;
  const auto open = [&system](std::string* error) {
    system = startup::OpenStartupPlatform(error);
    return system.get();
  };
  // The disc box is asked on the terminal only; without one it answers Cancel.
  std::istream* answers = isatty(STDIN_FILENO) != 0 ? &std::cin : nullptr;
  return tools::RunDvdRegion(argc, argv, open, std::cout, std::cerr, answers);
}

// dvdregion: the region utility's query and change on the command line.
#include <iostream>
#include <memory>
#include <string>

#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/dvdregion/dvdregion_command.h"

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  std::unique_ptr<platform::Platform> system;
  const auto open = [&system](std::string* error) {
    system = startup::OpenStartupPlatform(error);
    return system.get();
  };
  // The disc box is asked on the terminal only; without one it answers Cancel.
  std::istream* answers = platform::StandardInputIsTerminal() ? &std::cin : nullptr;
  return tools::RunDvdRegion(argc, argv, open, std::cout, std::cerr, answers);
}

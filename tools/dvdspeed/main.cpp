// dvdspeed: the speed utility's operations on the command line.
#include <iostream>
#include <memory>
#include <string>

#include "platform/console_io.h"
#include "startup/startup_platform.h"
#include "tools/dvdspeed/dvdspeed_command.h"

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  std::unique_ptr<platform::Platform> system;
  const auto open = [&system](std::string* error) {
    system = startup::OpenStartupPlatform(error);
    return system.get();
  };
  // The spindle question is asked on a terminal only.
  std::istream* answers = platform::StandardInputIsTerminal() ? &std::cin : nullptr;
  const int status = tools::RunDvdSpeed(argc, argv, open, std::cout, std::cerr, answers);
  std::cout.flush();
  return status;
}

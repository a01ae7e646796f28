// fwgen: generates firmware HEX files for the emulated drives.
#include <iostream>

#include "platform/console_io.h"
#include "tools/fwgen/fwgen_command.h"

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  std::vector<std::string> args(argv + 1, argv + argc);
  return tools::RunFwgen(args, std::cout, std::cerr);
}

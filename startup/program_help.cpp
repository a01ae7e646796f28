// The windowed programs' terminal answers.
#include "startup/program_help.h"

#include <cstdio>
#include <cstring>

#include "dvdutil_version.h"

namespace startup {

std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv, const ProgramHelp& help) {
  if (argc != 2) return std::nullopt;
  const char* argument = argv[1];
  if (std::strcmp(argument, "--version") == 0 || std::strcmp(argument, "-V") == 0) {
    std::printf("%s %s\n", help.name, DVDUTIL_VERSION);
    return 0;
  }
  if (std::strcmp(argument, "--help") != 0 && std::strcmp(argument, "-h") != 0) {
    return std::nullopt;
  }
  std::printf(
      "%s%s"
      "Options:\n"
      "  -h, --help        print this help and exit\n"
      "  -V, --version     print the version and exit\n"
      "Environment:\n"
      "  DVDUTIL_MACHINE   a machine file: run on that emulated machine instead of\n"
      "                    the real drives\n"
      "  DVDUTIL_DRIVES    the drive letters of the real drives (D=/dev/sr0,E=/dev/sg3)\n"
      "Exit status:\n"
      "  0  done\n"
      "  1  the drive or the system refused\n"
      "  2  usage error, or no such drive\n"
      "  3  machine file or set-up error\n",
      help.usage, help.arguments);
  return 0;
}

}  // namespace startup

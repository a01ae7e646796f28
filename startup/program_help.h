// --help and --version of the windowed programs, answered on the terminal
// before any window (or QApplication) exists.
#pragma once

#include <optional>

namespace startup {

struct ProgramHelp {
  const char* name;       // "flashspti"
  const char* usage;      // "usage: flashspti [FILE.HEX]\n" and what the program does
  const char* arguments;  // the program's own arguments ("" when it takes none)
};

// The exit status when the one argument is -h/--help or -V/--version (the
// answer printed on standard output); nullopt otherwise, so any other
// argument (an updater's document) goes on to the program.
std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv, const ProgramHelp& help);

}  // namespace startup

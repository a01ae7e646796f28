// The command-line conventions the five tools share: long options with
// "--opt value" or "--opt=value", "--" before operands, -h/--help,
// -V/--version, -v/--verbose (repeatable), one exit-status table.
#pragma once

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // the drive or the system refused
inline constexpr int kExitUsage = 2;    // usage error, or no such drive
inline constexpr int kExitSetup = 3;    // machine file or set-up error

// The table every --help ends with.
inline constexpr char kExitStatusHelp[] =
    "Exit status:\n"
    "  0  done\n"
    "  1  the drive or the system refused\n"
    "  2  usage error, or no such drive\n"
    "  3  machine file or set-up error\n";

// The options every tool takes, for its --help.
inline constexpr char kCommonOptionsHelp[] =
    "  -h, --help        print this help and exit\n"
    "  -V, --version     print the version and exit\n"
    "  -v, --verbose     print every command block sent and what came back, on\n"
    "                    standard error (repeat for the sense and data bytes)\n";

struct OptionSpec {
  std::string_view name;  // without the leading "--"
  bool takesValue = false;
};

struct CommandLine {
  std::map<std::string, std::string, std::less<>> options;  // name -> value ("" for a flag)
  std::vector<std::string> operands;
  int verbosity = 0;
  bool help = false;
  bool version = false;

  bool Has(std::string_view name) const { return options.find(name) != options.end(); }
  // The option's value, or empty.
  std::string Value(std::string_view name) const;
};

// Reads argv[1..argc-1] against the tool's own options. Returns the reason the
// line is refused (an unknown option, a missing or unwanted value, an option
// given twice), or empty.
std::string ParseCommandLine(int argc, const char* const* argv, std::span<const OptionSpec> specs,
                             CommandLine& line);

// "<tool>: <reason>" and the usage on `err`; returns kExitUsage.
int UsageError(std::ostream& err, std::string_view tool, std::string_view reason,
               std::string_view usage);
// "<tool> <project version>".
void PrintVersion(std::ostream& out, std::string_view tool);
// What --help (the usage, the common options and the exit statuses) or
// --version asks for, on `out`; false when the line asks for neither.
bool AnswerHelpOrVersion(const CommandLine& line, std::ostream& out, std::string_view tool,
                         std::string_view usage);

}  // namespace tools

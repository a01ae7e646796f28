// The shared option reader of the command-line tools.
#include "tools/common/command_line.h"

#include <algorithm>

#include "dvdutil_version.h"

namespace tools {
namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
  const auto found = std::find_if(specs.begin(), specs.end(),
                                  [&](const OptionSpec& spec) { return spec.name == name; });
  return found == specs.end() ? nullptr : &*found;
}

// -h, -V and -v, also run together ("-vv").
std::string ReadShortOptions(std::string_view letters, CommandLine& line) {
  for (const char letter : letters) {
    if (letter == 'h') {
      line.help = true;
    } else if (letter == 'V') {
      line.version = true;
    } else if (letter == 'v') {
      ++line.verbosity;
    } else {
      return "unknown option \"-" + std::string(1, letter) + "\"";
    }
  }
  return {};
}

}  // namespace

std::string CommandLine::Value(std::string_view name) const {
  const auto found = options.find(name);
  return found == options.end() ? std::string() : found->second;
}

std::string ParseCommandLine(int argc, const char* const* argv, std::span<const OptionSpec> specs,
                             CommandLine& line) {
  bool operandsOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (operandsOnly || argument == "-" || !argument.starts_with("-")) {
      line.operands.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      operandsOnly = true;
      continue;
    }
    if (!argument.starts_with("--")) {
      if (std::string problem = ReadShortOptions(argument.substr(1), line); !problem.empty()) {
        return problem;
      }
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string_view name =
        argument.substr(2, equals == std::string_view::npos ? std::string_view::npos : equals - 2);
    const bool inlineValue = equals != std::string_view::npos;
    if (name == "help" || name == "version" || name == "verbose") {
      if (inlineValue) return "--" + std::string(name) + " takes no value";
      if (name == "help") line.help = true;
      if (name == "version") line.version = true;
      if (name == "verbose") ++line.verbosity;
      continue;
    }
    const OptionSpec* spec = FindSpec(specs, name);
    if (spec == nullptr) return "unknown option \"--" + std::string(name) + "\"";
    if (line.Has(name)) return "--" + std::string(name) + " is given twice";
    std::string value;
    if (spec->takesValue) {
      if (inlineValue) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        return "--" + std::string(name) + " needs a value";
      }
    } else if (inlineValue) {
      return "--" + std::string(name) + " takes no value";
    }
    line.options.emplace(std::string(name), std::move(value));
  }
  return {};
}

int UsageError(std::ostream& err, std::string_view tool, std::string_view reason,
               std::string_view usage) {
  err << tool << ": " << reason << '\n' << usage;
  return kExitUsage;
}

void PrintVersion(std::ostream& out, std::string_view tool) {
  out << tool << ' ' << DVDUTIL_VERSION << '\n';
}

bool AnswerHelpOrVersion(const CommandLine& line, std::ostream& out, std::string_view tool,
                         std::string_view usage) {
  if (line.help) {
    out << usage << kCommonOptionsHelp << kExitStatusHelp;
  } else if (line.version) {
    PrintVersion(out, tool);
  }
  return line.help || line.version;
}

}  // namespace tools

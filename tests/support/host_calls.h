// What the tests need of the system they run on, the same on every system: a
// temporary folder of their own, environment variables, and running a built
// program with its output caught. One source file per system implements the
// system calls.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A new, empty folder under the system's temporary folder, named prefix plus
// a random part; empty when none could be made.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);

// Sets (or, with a null value, removes) an environment variable of this process.
void SetEnvironment(const char* name, const char* value);

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs `program` with the words of `arguments` (blanks separate them, single
// quotes group blanks into a word, as in the shell), with `environment` added
// to this process's, nothing on its standard input (no terminal), and waits
// for it. Its standard output and error come back byte for byte.
ToolRun RunTool(const std::string& program, const std::string& arguments,
                const Environment& environment = {});

// A file that opens for reading but whose first read fails with EIO (Linux's
// /proc/self/mem); empty where the system has none.
std::string OpenableUnreadableFile();

// Whether a program can be run on a terminal that the test types into
// (script(1)); false where there is no such tool.
bool TerminalRunsAvailable();

// Runs `program` as RunTool does, but on a terminal that is given `typedLine`
// and a line end as typed input; everything the terminal showed is in `out`.
ToolRun RunToolOnTerminal(const std::string& program, const std::string& arguments,
                          const std::string& typedLine, const Environment& environment = {});

// Runs body in a child process whose files may grow to at most `bytes` (a
// limit that binds root too) and says whether body returned true; nullopt
// where the system has no such limit.
std::optional<bool> RunWithFileSizeLimit(std::size_t bytes, const std::function<bool()>& body);

}  // namespace testsupport

// The tests' host calls on POSIX systems: setenv, and programs run by the
// shell with their streams redirected to files.
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/host_calls.h"

namespace testsupport {

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void SetEnvironment(const char* name, const char* value) {
  if (value == nullptr) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value, 1);
  }
}

ToolRun RunTool(const std::string& program, const std::string& arguments,
                const Environment& environment) {
  ToolRun run;
  const std::filesystem::path folder = MakeTemporaryFolder("tool-run-");
  if (folder.empty()) return run;
  const std::string out = (folder / "out.txt").string();
  const std::string err = (folder / "err.txt").string();
  std::string command;
  for (const auto& [name, value] : environment) command += name + "='" + value + "' ";
  command += "'" + program + "' " + arguments + " </dev/null >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = ReadWhole(out);
  run.err = ReadWhole(err);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return run;
}

std::string OpenableUnreadableFile() {
  return std::filesystem::exists("/proc/self/mem") ? "/proc/self/mem" : "";
}

bool TerminalRunsAvailable() { return true; }

std::optional<bool> RunWithFileSizeLimit(std::size_t bytes, const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(body() ? 0 : 1);
  }
  int status = -1;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ToolRun RunToolOnTerminal(const std::string& program, const std::string& arguments,
                          const std::string& typedLine, const Environment& environment) {
  ToolRun run;
  const std::filesystem::path folder = MakeTemporaryFolder("tool-terminal-");
  if (folder.empty()) return run;
  const std::string out = (folder / "terminal.txt").string();
  std::string command = "printf '%s\\n' '" + typedLine + "' | ";
  for (const auto& [name, value] : environment) command += name + "='" + value + "' ";
  command += "script -qec \"'" + program + "' " + arguments + "\" /dev/null >'" + out + "' 2>&1";
  const int status = std::system(command.c_str());
  if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = ReadWhole(out);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return run;
}

}  // namespace testsupport

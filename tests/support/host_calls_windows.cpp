// The tests' host calls on Windows: SetEnvironmentVariableA, and programs
// started with CreateProcessA, their standard streams inherited file handles.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "tests/support/host_calls.h"

namespace testsupport {

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The shell's words: blanks separate, single quotes group.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (const char c : text) {
    if (c == '\'') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One word of a command line as the C runtime splits it again: quotes around
// it, backslashes doubled before a quote.
std::string Quoted(const std::string& word) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::optional<std::string> Variable(const std::string& name) {
  const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::string value(size, '\0');
  value.resize(::GetEnvironmentVariableA(name.c_str(), value.data(), size));
  return value;
}

HANDLE InheritedFile(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void SetEnvironment(const char* name, const char* value) {
  ::SetEnvironmentVariableA(name, value);
  // The C runtime keeps a copy of its own, which getenv reads.
  ::_putenv_s(name, value != nullptr ? value : "");
}

ToolRun RunTool(const std::string& program, const std::string& arguments,
                const Environment& environment) {
  ToolRun run;
  const std::filesystem::path folder = MakeTemporaryFolder("tool-run-");
  if (folder.empty()) return run;
  const std::string out = (folder / "out.txt").string();
  const std::string err = (folder / "err.txt").string();

  std::string commandLine = Quoted(program);
  for (const std::string& word : Words(arguments)) commandLine += " " + Quoted(word);

  // The program inherits this process's environment with the additions.
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
  for (const auto& [name, value] : environment) {
    saved.emplace_back(name, Variable(name));
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
  }

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritedFile("NUL", GENERIC_READ, OPEN_EXISTING);
  startup.hStdOutput = InheritedFile(out, GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = InheritedFile(err, GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION process{};
  if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) run.exitCode = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  for (const auto& [name, value] : saved) {
    ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
  }
  run.out = ReadWhole(out);
  run.err = ReadWhole(err);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return run;
}

std::string OpenableUnreadableFile() { return {}; }

// No script(1): a console that a test types into is not to be had.
bool TerminalRunsAvailable() { return false; }

std::optional<bool> RunWithFileSizeLimit(std::size_t /*bytes*/,
                                         const std::function<bool()>& /*body*/) {
  return std::nullopt;
}

ToolRun RunToolOnTerminal(const std::string& /*program*/, const std::string& /*arguments*/,
                          const std::string& /*typedLine*/, const Environment& /*environment*/) {
  return {};
}

}  // namespace testsupport

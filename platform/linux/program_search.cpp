// Command-line words, program names and the program search.
#include "platform/linux/program_search.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/win_errors.h"

namespace platform {

namespace {

constexpr std::string_view kWindowsProgramExtension = ".exe";
// An environment block is read no further than this.
constexpr std::size_t kEnvironmentBlockLimit = 1024 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

enum class Candidate { kMissing, kNotRunnable, kRunnable };

Candidate Probe(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Candidate::kMissing;
  if (!S_ISREG(info.st_mode)) return Candidate::kNotRunnable;
  return ::access(path.c_str(), X_OK) == 0 ? Candidate::kRunnable : Candidate::kNotRunnable;
}

}  // namespace

ProgramSearch ProgramSearch::Running() {
  ProgramSearch search;
  std::array<char, 4096> path{};
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length > 0) search.programFolder = FolderOf(std::string(path.data(), std::size_t(length)));
  if (const char* searchPath = std::getenv("PATH")) search.searchPath = searchPath;
  return search;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size()) break;
    std::string word;
    bool quoted = false;
    for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
      if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == '"') {
        word += '"';
        ++at;
      } else if (line[at] == '"') {
        quoted = !quoted;
      } else {
        word += line[at];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string LinuxProgramName(std::string_view name) {
  const std::size_t extension = kWindowsProgramExtension.size();
  if (name.size() > extension && ::strncasecmp(name.data() + name.size() - extension,
                                               kWindowsProgramExtension.data(), extension) == 0) {
    name.remove_suffix(extension);
  }
  return std::string(name);
}

FoundProgram FindProgram(const std::string& name, const ProgramSearch& search) {
  if (name.empty()) return {{}, kErrorFileNotFound};
  if (name.find('/') != std::string::npos) {
    switch (Probe(name)) {
      case Candidate::kRunnable:
        return {name, kErrorSuccess};
      case Candidate::kNotRunnable:
        return {{}, kErrorAccessDenied};
      case Candidate::kMissing:
        return {{}, kErrorFileNotFound};
    }
  }
  std::vector<std::string> folders;
  if (!search.programFolder.empty()) folders.push_back(search.programFolder);
  std::string_view path = search.searchPath;
  while (!path.empty()) {
    const std::size_t colon = path.find(':');
    const std::string_view folder = path.substr(0, colon);
    // An empty entry is the current folder, as the shells read PATH.
    folders.emplace_back(folder.empty() ? "." : folder);
    if (colon == std::string_view::npos) break;
    path.remove_prefix(colon + 1);
    if (path.empty()) folders.emplace_back(".");
  }
  Dword error = kErrorFileNotFound;
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + name;
    switch (Probe(candidate)) {
      case Candidate::kRunnable:
        return {candidate, kErrorSuccess};
      case Candidate::kNotRunnable:
        error = kErrorAccessDenied;
        break;
      case Candidate::kMissing:
        break;
    }
  }
  return {{}, error};
}

std::vector<std::string> SplitEnvironmentBlock(const char* block) {
  std::vector<std::string> entries;
  std::size_t total = 0;
  while (block != nullptr && *block != '\0' && total < kEnvironmentBlockLimit) {
    const std::size_t length = ::strnlen(block, kEnvironmentBlockLimit - total);
    entries.emplace_back(block, length);
    total += length + 1;
    block += length + 1;
  }
  return entries;
}

}  // namespace platform

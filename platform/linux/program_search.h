// How a CreateProcessA command line becomes a Linux program start: the line
// split into words, a Windows program name mapped to the Linux one, and the
// program found along the search order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace platform {

// Where bare program names are looked for: this program's own folder first,
// then each folder of the search path (PATH's syntax).
struct ProgramSearch {
  std::string programFolder;
  std::string searchPath;

  // The running program's folder and the PATH it was given.
  static ProgramSearch Running();
};

// The words of a command line: blanks separate them, double quotes group
// blanks into a word, and a backslash before a quote keeps the quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// "flashspti.EXE" -> "flashspti": the ".exe" extension (any case) names the
// extension-less Linux program.
std::string LinuxProgramName(std::string_view windowsName);

struct FoundProgram {
  std::string path;  // empty when not found
  Dword error = 0;   // ERROR_FILE_NOT_FOUND or ERROR_ACCESS_DENIED then
};

// A name with a slash is taken as it stands (relative to the current folder);
// a bare name is searched. A file that exists but may not be run is passed
// over, as the search goes on; it is the error only when nothing else is found.
FoundProgram FindProgram(const std::string& name, const ProgramSearch& search);

// "NAME=value\0NAME=value\0\0" as CreateProcessA takes it.
std::vector<std::string> SplitEnvironmentBlock(const char* block);

}  // namespace platform

// Standard streams on Windows: the C library translates "\n" in text mode,
// which would turn the status texts' "\r\n" into "\r\r\n".
#include "platform/console_io.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/windows/win32.h"

namespace platform {

// A console, not any character device: _isatty is true for NUL as well.
bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

void UseBinaryStandardOutput() {
  std::fflush(stdout);
  std::fflush(stderr);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace platform

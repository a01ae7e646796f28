// Standard streams on Windows: the C library translates "\n" in text mode,
// which would turn the status texts' "\r\n" into "\r\r\n".
#include "platform/console_io.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace platform {

bool StandardInputIsTerminal() { return ::_isatty(::_fileno(stdin)) != 0; }

void UseBinaryStandardOutput() {
  std::fflush(stdout);
  std::fflush(stderr);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace platform

// Standard streams on POSIX systems: no translation to switch off.
#include "platform/console_io.h"

#include <unistd.h>

namespace platform {

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }

void UseBinaryStandardOutput() {}

}  // namespace platform

// The command-line tools' view of their standard streams, the same on every
// system: whether a person types the input, and output that carries exactly
// the bytes written (no "\n" to "\r\n" translation where the C library would
// make one).
#pragma once

namespace platform {

bool StandardInputIsTerminal();

// Call before the first output.
void UseBinaryStandardOutput();

}  // namespace platform

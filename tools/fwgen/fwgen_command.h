// The fwgen command: writes one of our own firmware HEX files for an emulated
// drive model, or lists the models.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// Arguments without the program name. Returns the process exit code:
// 0 done, 1 the file could not be written, 2 bad usage (tools::kExit*).
int RunFwgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools

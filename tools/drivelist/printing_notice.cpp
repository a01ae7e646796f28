// Message boxes printed as lines.
#include "tools/drivelist/printing_notice.h"

namespace tools {

int PrintingNotice::MessageBox(const std::string& text, const std::string& caption, unsigned) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  out_ << "[message]";
  if (!caption.empty()) out_ << " (" << caption << ")";
  out_ << ' ' << line << '\n';
  messages_.push_back(line);
  return drvcmd::kIdOk;
}

}  // namespace tools

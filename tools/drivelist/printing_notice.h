// A Notice that prints each message box as one line, e.g.
// "[message] No ATAPI I/F found.", and answers OK.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "drvcmd/notice.h"

namespace tools {

class PrintingNotice : public drvcmd::Notice {
 public:
  // Each message's text is also appended to `messages` (a JSON array).
  PrintingNotice(std::ostream& out, nlohmann::json& messages) : out_(out), messages_(messages) {}
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

 private:
  std::ostream& out_;
  nlohmann::json& messages_;
};

}  // namespace tools

// A Notice that prints each message box as one line, e.g.
// "[message] No ATAPI I/F found.", and answers OK.
#pragma once

#include <ostream>
#include <string>

#include "drvcmd/notice.h"

namespace tools {

class PrintingNotice : public drvcmd::Notice {
 public:
  explicit PrintingNotice(std::ostream& out) : out_(out) {}
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

 private:
  std::ostream& out_;
};

}  // namespace tools

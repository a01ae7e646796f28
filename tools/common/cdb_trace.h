// -v for the tools that talk to drives: every command block sent, with the
// outcome, SCSI status, sense and byte count that came back, on standard
// error (-vv adds the sense bytes and the data read).
#pragma once

#include <ostream>
#include <string>

#include "drvcmd/transport.h"

namespace tools {

class CdbTrace : public drvcmd::RequestObserver {
 public:
  CdbTrace(std::ostream& err, std::string tool, int verbosity)
      : err_(err), tool_(std::move(tool)), verbosity_(verbosity) {}

  // Sets this trace on the transport when -v was given.
  void Watch(drvcmd::Transport& transport) {
    if (verbosity_ > 0) transport.SetRequestObserver(this);
  }
  void RequestDone(const drvcmd::ScsiRequest& request, int outcome) override;

 private:
  std::ostream& err_;
  std::string tool_;
  int verbosity_;
};

}  // namespace tools

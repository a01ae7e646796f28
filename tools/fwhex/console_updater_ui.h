// An UpdaterUi for the command line: the file dialog answers with the file
// named on the command line, the status text is collected for printing, and
// message boxes go to standard error. Nothing here asks the user anything.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "drvcmd/progress_window.h"
#include "flash/updater_ui.h"

namespace tools {

class ConsoleUpdaterUi : public flash::UpdaterUi {
 public:
  explicit ConsoleUpdaterUi(std::string fileName) : fileName_(std::move(fileName)) {}

  void SetStatusText(const std::string& text) override { statusText_ = text; }
  void AppendStatusText(const std::string& text) override { statusText_ += text; }
  void RefreshStatusBox() override {}
  void ReadBackStatusBox() override {}
  std::string StatusText() const override { return statusText_; }

  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest&) override {
    return fileName_;
  }
  int ConfirmUpdate(const flash::FirmwareIdentity&, const flash::FirmwareIdentity&) override {
    return drvcmd::kIdCancel;
  }
  drvcmd::ProgressWindow& UpdateProgress() override { return progress_; }
  void PumpEvents() override {}

  int MessageBox(const std::string& text, const std::string&, unsigned) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return drvcmd::kIdOk;
  }

 private:
  std::string fileName_;
  std::string statusText_;
  drvcmd::NoProgressWindow progress_;
};

}  // namespace tools

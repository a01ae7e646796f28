// A SpeedUi for the command line: the drive and the extraction entry chosen on
// the command line, the spindle question asked on the terminal (or answered by
// --yes; with no terminal it is cancelled), message boxes on standard error.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "pace/speed_ui.h"

namespace tools {

class ConsoleSpeedUi : public pace::SpeedUi {
 public:
  // `answers` null: no terminal to ask on.
  ConsoleSpeedUi(std::string applicationTitle, bool stopWithoutAsking,
                 std::optional<int> extractionEntry, std::ostream& err, std::istream* answers)
      : applicationTitle_(std::move(applicationTitle)),
        stopWithoutAsking_(stopWithoutAsking),
        extractionEntry_(extractionEntry),
        err_(err),
        answers_(answers) {}

  void SelectDrive(int index) { selected_ = index; }
  std::optional<int> SelectedDrive() override { return selected_; }
  std::optional<int> SelectedExtractionSpeed() override { return extractionEntry_; }
  void SetStatusText(const std::string& text) override { statusText_ = text; }
  void RefreshStatusBox() override {}
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

  const std::string& StatusText() const { return statusText_; }

 private:
  int AskOkCancel(const std::string& text, const std::string& caption);

  std::string applicationTitle_;
  bool stopWithoutAsking_;
  std::optional<int> extractionEntry_;
  std::ostream& err_;
  std::istream* answers_;
  int selected_ = 0;
  std::string statusText_;
};

// The status text with CR LF line ends as terminal lines, without a final line end.
std::string AsLines(const std::string& statusText);

}  // namespace tools

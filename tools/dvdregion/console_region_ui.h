// A RegionUi for the command line: the status text is printed line by line as
// the sequences refresh it, the controls are kept as states, and the disc box
// asks on the terminal (no terminal, or the end of the input, answers Cancel).
#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <string>

#include "zone/region_ui.h"

namespace tools {

struct ConsoleControl {
  bool enabled = false;
  bool checked = false;
  bool pushed = false;
};

class ConsoleRegionUi : public zone::RegionUi {
 public:
  // `answers` null: nobody to ask. Prompts and other message boxes go to `prompts`.
  ConsoleRegionUi(std::ostream& status, std::istream* answers, std::ostream& prompts)
      : status_(status), answers_(answers), prompts_(prompts) {}

  void SelectDrive(int index) { selected_ = index; }
  // The user picks region choice n: the other choices of the group are cleared.
  void Pick(int region);
  const ConsoleControl& Choice(int region) const { return choices_.at(Slot(region)); }
  const ConsoleControl& Disc(int region) const { return discs_.at(Slot(region)); }
  const std::string& ChangesLeftText() const { return changesLeft_; }
  const std::string& StatusText() const { return statusText_; }

  void AppendStatusText(const std::string& text) override { statusText_ += text; }
  void RefreshStatusBox() override;
  int SelectedDriveIndex() override { return selected_; }
  void EnableRegionChoice(int region, bool enabled) override;
  void CheckRegionChoice(int region, bool checked) override;
  void PushRegionChoice(int region) override;
  bool RegionChoiceChecked(int region) override;
  void EnableDiscIndicator(int region, bool enabled) override;
  void CheckDiscIndicator(int region, bool checked) override;
  void SetChangesLeftText(const std::string& text) override { changesLeft_ = text; }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

 private:
  static std::size_t Slot(int region) { return static_cast<std::size_t>(region - 1); }
  static bool Valid(int region) { return region >= 1 && region <= 6; }

  std::ostream& status_;
  std::istream* answers_;
  std::ostream& prompts_;
  std::string statusText_;
  std::size_t printed_ = 0;
  int selected_ = -1;
  std::array<ConsoleControl, 6> choices_{};
  std::array<ConsoleControl, 6> discs_{};
  std::string changesLeft_ = "Regional code can can be changed 5 times";
};

// A status text with CR LF line ends as terminal lines.
std::string TerminalLines(const std::string& statusText);

}  // namespace tools

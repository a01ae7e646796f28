// A scripted RegionUi for headless tests: keeps the control states the
// sequences set, the status text and every refresh of its box, the label, the
// selection, and every message box, answered from a queue (Cancel when the
// queue is empty, so that a disc-presence loop always ends).
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "drvcmd/drive_list.h"
#include "tests/support/recording_notice.h"
#include "zone/region_ui.h"

namespace testsupport {

struct ControlState {
  bool enabled = false;
  bool checked = false;
  bool pushed = false;
};

class FakeRegionUi : public zone::RegionUi {
 public:
  static constexpr char kTemplateLabel[] = "Regional code can can be changed 5 times";

  void AppendStatusText(const std::string& text) override { statusText += text; }
  void RefreshStatusBox() override { boxHistory.push_back(statusText); }
  int SelectedDriveIndex() override { return selected; }

  void EnableRegionChoice(int region, bool enabled) override { Choice(region).enabled = enabled; }
  void CheckRegionChoice(int region, bool checked) override { Choice(region).checked = checked; }
  void PushRegionChoice(int region) override { Choice(region).pushed = true; }
  bool RegionChoiceChecked(int region) override { return Choice(region).checked; }
  void EnableDiscIndicator(int region, bool enabled) override { Disc(region).enabled = enabled; }
  void CheckDiscIndicator(int region, bool checked) override { Disc(region).checked = checked; }
  void SetChangesLeftText(const std::string& text) override { changesLeft = text; }

  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    if (onMessage) onMessage(notice.messages.size());
    if (notice.answers.empty()) notice.answers.push_back(drvcmd::kIdCancel);
    return notice.MessageBox(text, caption, style);
  }
  const std::vector<ShownMessage>& Messages() const { return notice.messages; }

  // The user picks region choice n: the others of the group are cleared.
  void Pick(int region) {
    for (ControlState& choice : choices) choice.checked = false;
    Choice(region).checked = true;
  }

  ControlState& Choice(int region) { return choices.at(static_cast<std::size_t>(region - 1)); }
  ControlState& Disc(int region) { return discs.at(static_cast<std::size_t>(region - 1)); }

  // Regions whose choice is enabled / checked, as "1 2 ..." for readable failures.
  std::string EnabledChoices() const { return List(choices, &ControlState::enabled); }
  std::string CheckedChoices() const { return List(choices, &ControlState::checked); }
  std::string PushedChoices() const { return List(choices, &ControlState::pushed); }
  std::string EnabledDiscs() const { return List(discs, &ControlState::enabled); }
  std::string CheckedDiscs() const { return List(discs, &ControlState::checked); }

  std::string statusText;
  std::vector<std::string> boxHistory;
  std::string changesLeft = kTemplateLabel;
  int selected = drvcmd::kNoItem;
  std::array<ControlState, 6> choices{};
  std::array<ControlState, 6> discs{};
  RecordingNotice notice;
  // Called before a message box answers, with the number of boxes shown before it.
  std::function<void(std::size_t)> onMessage;

 private:
  static std::string List(const std::array<ControlState, 6>& controls, bool ControlState::*flag) {
    std::string text;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (!(controls[i].*flag)) continue;
      if (!text.empty()) text += ' ';
      text += std::to_string(i + 1);
    }
    return text;
  }
};

}  // namespace testsupport

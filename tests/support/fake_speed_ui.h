// A scripted SpeedUi for headless tests: the two selections are set by the
// test, message boxes are recorded and answered from a queue (IDOK when
// empty), and every status-text change and box refresh is recorded in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pace/speed_ui.h"
#include "tests/support/recording_notice.h"

namespace testsupport {

class FakeSpeedUi : public pace::SpeedUi {
 public:
  std::optional<int> SelectedDrive() override { return drive; }
  std::optional<int> SelectedExtractionSpeed() override { return extraction; }
  void SetStatusText(const std::string& text) override {
    statusText = text;
    events.push_back("set " + text);
  }
  void RefreshStatusBox() override {
    box = statusText;
    events.push_back("refresh");
  }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    events.push_back("box " + caption);
    return notice.MessageBox(text, caption, style);
  }

  const std::vector<ShownMessage>& Messages() const { return notice.messages; }
  void Clear() {
    notice.messages.clear();
    events.clear();
    statusText.clear();
    box.clear();
  }

  std::optional<int> drive;
  std::optional<int> extraction;
  std::string statusText;
  std::string box;  // what the status box shows after the last refresh
  std::vector<std::string> events;
  RecordingNotice notice;  // its `answers` queue answers the boxes
};

}  // namespace testsupport

// A scripted UpdaterUi for headless tests: records every status-text change,
// box refresh, message box, file-dialog request, confirm dialog, progress
// window call and event pump, and answers the dialogs from queues.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "drvcmd/notice.h"
#include "drvcmd/progress_window.h"
#include "flash/updater_ui.h"
#include "tests/support/recording_notice.h"

namespace testsupport {

// One progress-window call, in order: "create", "range 0 100", "step 1",
// "stepit", "text <t>", "destroy".
class FakeProgressWindow : public drvcmd::ProgressWindow {
 public:
  void Create() override {
    calls.push_back("create");
    visible = true;
  }
  void SetRange(int low, int high) override {
    calls.push_back("range " + std::to_string(low) + " " + std::to_string(high));
  }
  void SetStep(int step) override { calls.push_back("step " + std::to_string(step)); }
  void StepIt() override {
    calls.push_back("stepit");
    ++stepCount;
  }
  void SetText(const std::string& text) override {
    calls.push_back("text " + text);
    texts.push_back(text);
  }
  void Destroy() override {
    calls.push_back("destroy");
    visible = false;
  }

  std::vector<std::string> calls;
  std::vector<std::string> texts;
  int stepCount = 0;
  bool visible = false;
};

struct ConfirmCall {
  flash::FirmwareIdentity oldIdentity{};
  flash::FirmwareIdentity newIdentity{};
};

// The kinds of status-text event, recorded in order in `statusEvents`.
enum class StatusEventKind { kSet, kAppend, kRefresh, kReadBack };

struct StatusEvent {
  StatusEventKind kind;
  std::string text;  // the piece for set/append, the box content for refresh/read-back
};

class FakeUpdaterUi : public flash::UpdaterUi {
 public:
  // Status text.
  void SetStatusText(const std::string& text) override {
    statusText = text;
    statusEvents.push_back({StatusEventKind::kSet, text});
  }
  void AppendStatusText(const std::string& text) override {
    statusText += text;
    statusEvents.push_back({StatusEventKind::kAppend, text});
  }
  void RefreshStatusBox() override {
    box = statusText;
    boxHistory.push_back(box);
    statusEvents.push_back({StatusEventKind::kRefresh, box});
  }
  void ReadBackStatusBox() override {
    statusText = box;
    statusEvents.push_back({StatusEventKind::kReadBack, box});
  }
  std::string StatusText() const override { return statusText; }

  // Message boxes: recorded, answered from `messageAnswers` (kIdOk when empty).
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    return notice.MessageBox(text, caption, style);
  }
  const std::vector<ShownMessage>& Messages() const { return notice.messages; }
  std::deque<int>& MessageAnswers() { return notice.answers; }

  // File dialog: recorded, answered from `fileAnswers` (cancel when empty).
  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }

  // Confirm dialog: recorded, answered from `confirmAnswers` (kIdOk when empty).
  int ConfirmUpdate(const flash::FirmwareIdentity& oldIdentity,
                    const flash::FirmwareIdentity& newIdentity) override {
    confirmCalls.push_back({oldIdentity, newIdentity});
    if (confirmAnswers.empty()) return drvcmd::kIdOk;
    const int answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

  drvcmd::ProgressWindow& UpdateProgress() override { return progress; }
  void PumpEvents() override { ++pumpCount; }

  // How many refreshes happened so far (each writes the text into the box).
  int RefreshCount() const { return static_cast<int>(boxHistory.size()); }

  std::string statusText;  // the status text variable
  std::string box;         // what the status box shows
  std::vector<std::string> boxHistory;
  std::vector<StatusEvent> statusEvents;

  RecordingNotice notice;

  std::vector<flash::OpenFileRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;

  std::vector<ConfirmCall> confirmCalls;
  std::deque<int> confirmAnswers;

  FakeProgressWindow progress;
  int pumpCount = 0;
};

}  // namespace testsupport

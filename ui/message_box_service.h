// Modal message boxes shaped like MessageBox: a caption (the application title
// when empty), MB_ button and icon styles, IDOK/IDCANCEL answers. Tests preset
// answers; a preset answer shows no dialog and records what would have shown.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "drvcmd/notice.h"

class QMessageBox;

namespace ui {

struct RecordedMessage {
  std::string text;
  std::string caption;  // as shown: never empty
  unsigned style = 0;
};

// The box MessageBox shows for a message: its caption, text, icon and buttons
// (OK is the default button), wide enough for the whole caption.
std::unique_ptr<QMessageBox> CreateMessageBox(const RecordedMessage& message, QWidget* owner);

class MessageBoxService : public drvcmd::Notice {
 public:
  explicit MessageBoxService(std::string applicationTitle);

  void SetOwner(QWidget* owner) { owner_ = owner; }
  const std::string& ApplicationTitle() const { return applicationTitle_; }
  void SetApplicationTitle(std::string title) { applicationTitle_ = std::move(title); }

  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

  // The next boxes answer from this queue without showing anything.
  void PresetAnswer(int answer) { presetAnswers_.push_back(answer); }
  // Never show a dialog: with no preset answer left, answer IDOK.
  void SetScripted(bool scripted) { scripted_ = scripted; }
  const std::vector<RecordedMessage>& Recorded() const { return recorded_; }
  void ClearRecorded() { recorded_.clear(); }

 private:
  int ShowModal(const RecordedMessage& message);

  std::string applicationTitle_;
  QPointer<QWidget> owner_;
  std::deque<int> presetAnswers_;
  bool scripted_ = false;
  std::vector<RecordedMessage> recorded_;
};

}  // namespace ui

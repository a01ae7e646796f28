// The Open-file dialog, with answers that tests can preset instead of showing
// a modal dialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <deque>
#include <optional>
#include <vector>

namespace ui {

struct OpenFileDialogRequest {
  QString title;
  QString initialFolder;
  QString initialFileName;
  QString filter;  // Qt filter string, e.g. "Hex File(.HEX) (*.hex *.HEX)"
};

class FileDialogService {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }

  // The chosen path, or nothing when the user cancelled.
  std::optional<QString> ChooseOpenFile(const OpenFileDialogRequest& request);

  // Preset the next answer: a chosen path, or a cancel.
  void PresetChoice(const QString& path) { presetChoices_.push_back({false, path}); }
  void PresetCancel() { presetChoices_.push_back({true, QString()}); }
  // Never show a dialog: with no preset choice left, cancel.
  void SetScripted(bool scripted) { scripted_ = scripted; }
  const std::vector<OpenFileDialogRequest>& Requests() const { return requests_; }

 private:
  struct PresetChoiceEntry {
    bool cancelled;
    QString path;
  };

  QPointer<QWidget> owner_;
  std::deque<PresetChoiceEntry> presetChoices_;
  bool scripted_ = false;
  std::vector<OpenFileDialogRequest> requests_;
};

}  // namespace ui

// Open-file dialog through QFileDialog, or a preset answer.
#include "ui/file_dialog_service.h"

#include <QDir>
#include <QFileDialog>

namespace ui {

std::optional<QString> FileDialogService::ChooseOpenFile(const OpenFileDialogRequest& request) {
  requests_.push_back(request);
  if (!presetChoices_.empty()) {
    const PresetChoiceEntry choice = presetChoices_.front();
    presetChoices_.pop_front();
    if (choice.cancelled) return std::nullopt;
    return choice.path;
  }
  if (scripted_) return std::nullopt;

  QFileDialog dialog(owner_.data(), request.title, request.initialFolder, request.filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::ReadOnly, true);
  if (!request.initialFileName.isEmpty()) dialog.selectFile(request.initialFileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().front());
}

}  // namespace ui

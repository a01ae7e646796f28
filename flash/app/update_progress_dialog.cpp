// The update progress dialog built from template 130.
#include "flash/app/update_progress_dialog.h"

#include <QLabel>
#include <QProgressBar>

#include "ui/dialog_builder.h"
#include "ui/event_pump.h"
#include "ui/window_placement.h"

namespace flash {

UpdateProgressDialog::UpdateProgressDialog(const ui::DialogTemplate& dialogTemplate, int barId,
                                           int labelId)
    : QDialog(nullptr) {
  ui::BuildDialog(*this, dialogTemplate);
  setModal(false);
  bar_ = ui::FindControl<QProgressBar>(this, barId);
  label_ = ui::FindControl<QLabel>(this, labelId);
}

UpdateProgressWindow::~UpdateProgressWindow() { Destroy(); }

void UpdateProgressWindow::Create() {
  Destroy();
  texts_.clear();
  step_ = 10;
  dialog_ = new UpdateProgressDialog(template_, barId_, labelId_);
  // Nothing else shows that the program is busy: keep it in sight.
  ui::ShowCentredAbove(*dialog_, anchor_.data());
  ui::PumpEvents();
}

void UpdateProgressWindow::SetRange(int low, int high) {
  if (dialog_ == nullptr || dialog_->Bar() == nullptr) return;
  dialog_->Bar()->setRange(low, high);
  dialog_->Bar()->setValue(low);
}

void UpdateProgressWindow::SetStep(int step) { step_ = step; }

void UpdateProgressWindow::StepIt() {
  if (dialog_ == nullptr || dialog_->Bar() == nullptr) return;
  QProgressBar& bar = *dialog_->Bar();
  int next = bar.value() + step_;
  // The progress control wraps to its start once a step passes the end.
  if (next > bar.maximum()) next = bar.minimum() + (next - bar.maximum());
  if (next < bar.minimum()) next = bar.minimum();
  bar.setValue(next);
  ui::PumpEvents();
}

void UpdateProgressWindow::SetText(const std::string& text) {
  texts_.push_back(text);
  if (dialog_ == nullptr || dialog_->Label() == nullptr) return;
  dialog_->Label()->setText(QString::fromStdString(text));
  ui::PumpEvents();
}

void UpdateProgressWindow::Destroy() {
  if (dialog_ == nullptr) return;
  dialog_->hide();
  delete dialog_;
  dialog_ = nullptr;
}

}  // namespace flash

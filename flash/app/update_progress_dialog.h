// UpdateProgressDialog: the modeless bar-and-label window of the update's
// timed wait and of flashspti's drive scan, behind drvcmd::ProgressWindow.
#pragma once

#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

#include "drvcmd/progress_window.h"
#include "ui/dialog_template.h"

class QLabel;
class QProgressBar;

namespace flash {

class UpdateProgressDialog : public QDialog {
  Q_OBJECT

 public:
  UpdateProgressDialog(const ui::DialogTemplate& dialogTemplate, int barId, int labelId);

  QProgressBar* Bar() const { return bar_; }
  QLabel* Label() const { return label_; }

 protected:
  // It takes no input: Escape and the close box leave it up.
  void reject() override {}

 private:
  QProgressBar* bar_ = nullptr;
  QLabel* label_ = nullptr;
};

class UpdateProgressWindow : public drvcmd::ProgressWindow {
 public:
  UpdateProgressWindow(const ui::DialogTemplate& dialogTemplate, int barId, int labelId)
      : template_(dialogTemplate), barId_(barId), labelId_(labelId) {}
  ~UpdateProgressWindow() override;

  // Shown centred on this widget's window and kept above it.
  void SetAnchor(QWidget* anchor) { anchor_ = anchor; }

  void Create() override;
  void SetRange(int low, int high) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetText(const std::string& text) override;
  void Destroy() override;

  UpdateProgressDialog* Dialog() const { return dialog_; }
  // Every text set since the last Create, in order.
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  const ui::DialogTemplate& template_;
  int barId_;
  int labelId_;
  QPointer<QWidget> anchor_;
  UpdateProgressDialog* dialog_ = nullptr;
  int step_ = 10;  // the progress control's default step
  std::vector<std::string> texts_;
};

}  // namespace flash

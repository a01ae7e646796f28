// UpdateProgressDialog (template 130): the modeless bar-and-label window of
// the update's timed wait and of flashspti's drive scan, behind
// drvcmd::ProgressWindow. The bar's range, step and position live here; the
// host only draws them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "drvcmd/progress_window.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_system.h"

namespace flash {

// The dialog takes no input while the operation that shows it runs: Enter,
// Escape and the close box (which sends IDCANCEL) leave it up.
class UpdateProgressLogic : public ui::DialogLogic {
 public:
  void OnInitDialog(ui::WindowHost& /*host*/) override {}
  bool OnCommand(int id, int code) override;
};

class UpdateProgress : public drvcmd::ProgressWindow {
 public:
  UpdateProgress(ui::WindowSystem& windows, const ui::DialogTemplate& dialogTemplate, int barId,
                 int labelId)
      : windows_(windows), template_(dialogTemplate), barId_(barId), labelId_(labelId) {}
  ~UpdateProgress() override { Destroy(); }

  void Create() override;
  void SetRange(int low, int high) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetText(const std::string& text) override;
  void Destroy() override;

  bool IsShown() const { return window_ != nullptr; }
  int Position() const { return position_; }
  // Every text set since the last Create, in order.
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  void DrawBar();

  ui::WindowSystem& windows_;
  const ui::DialogTemplate& template_;
  int barId_;
  int labelId_;
  UpdateProgressLogic logic_;
  std::unique_ptr<ui::OpenWindow> window_;
  // A new progress control's range and step.
  int low_ = 0;
  int high_ = 100;
  int step_ = 10;
  int position_ = 0;
  std::vector<std::string> texts_;
};

}  // namespace flash

// Logic for a dialog that only fills its controls when it opens (About boxes):
// OK and Cancel end it, as the dialog manager's defaults do.
#pragma once

#include <functional>
#include <utility>

#include "ui/host/dialog_logic.h"

namespace ui {

class SimpleDialogLogic : public DialogLogic {
 public:
  explicit SimpleDialogLogic(std::function<void(WindowHost&)> fill = {}) : fill_(std::move(fill)) {}
  void OnInitDialog(WindowHost& host) override {
    if (fill_) fill_(host);
  }

 private:
  std::function<void(WindowHost&)> fill_;
};

}  // namespace ui

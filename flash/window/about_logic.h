// UpdaterAboutDialog's logic (template 100): the build's version text in the
// read-only edit box (flashaspi) or the static text (flashspti).
#pragma once

#include <string>

#include "flash/window/app_variant.h"
#include "ui/host/dialog_logic.h"

namespace flash {

// "Firmware Update Utility Version 0.03", or the two-line flashspti text
// (with "\r\n").
std::string AboutText(const AppVariant& variant);

class UpdaterAboutLogic : public ui::DialogLogic {
 public:
  explicit UpdaterAboutLogic(const AppVariant& variant) : variant_(variant) {}
  void OnInitDialog(ui::WindowHost& host) override;

 private:
  const AppVariant& variant_;
};

}  // namespace flash

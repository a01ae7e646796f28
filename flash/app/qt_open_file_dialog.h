// The updater's File Open dialog on Qt: the request as a QFileDialog (or a
// test's preset answer) through the file dialog service.
#pragma once

#include "flash/window/open_file_dialog.h"
#include "ui/file_dialog_service.h"

namespace flash {

class QtOpenFileDialog : public OpenFileDialog {
 public:
  explicit QtOpenFileDialog(ui::FileDialogService& service) : service_(service) {}
  std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;

 private:
  ui::FileDialogService& service_;
};

}  // namespace flash

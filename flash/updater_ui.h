// Everything the updater's operations ask of the user interface. The form
// view (flash/window's UpdaterView) implements it on either window host;
// tests use a scripted fake that records every call.
#pragma once

#include <optional>
#include <string>

#include "drvcmd/notice.h"
#include "drvcmd/progress_window.h"
#include "flash/firmware_image.h"

namespace flash {

struct OpenFileRequest {
  std::string title;              // "Select the Update Hex File"
  std::string initialFolder;      // ".\\" : the current folder
  std::string initialFileName;    // the kept file path
  std::string filterDescription;  // "Hex File(.HEX)"
};

class UpdaterUi : public drvcmd::Notice {
 public:
  // Status text and its box: set/append change the text only; refresh writes
  // it into the box; read-back copies the box into the text.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void AppendStatusText(const std::string& text) = 0;
  virtual void RefreshStatusBox() = 0;
  virtual void ReadBackStatusBox() = 0;
  virtual std::string StatusText() const = 0;

  // The file chosen, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) = 0;
  // ConfirmUpdateDialog, modal: kIdOk or kIdCancel.
  virtual int ConfirmUpdate(const FirmwareIdentity& oldIdentity,
                            const FirmwareIdentity& newIdentity) = 0;
  // UpdateProgressDialog (modeless); also the scan progress window.
  virtual drvcmd::ProgressWindow& UpdateProgress() = 0;
  // Keeps the windows painted during a blocking wait; takes no user input.
  virtual void PumpEvents() = 0;
};

}  // namespace flash

// Everything the speed utility's sequences ask of the user interface: message
// boxes, the selections of the two lists and the status box. SpeedDialog
// implements it; tests use a scripted fake; dvdspeed a console one.
#pragma once

#include <optional>
#include <string>

#include "drvcmd/notice.h"

namespace pace {

class SpeedUi : public drvcmd::Notice {
 public:
  // The index of the selected entry, or nothing when none is selected.
  virtual std::optional<int> SelectedDrive() = 0;
  virtual std::optional<int> SelectedExtractionSpeed() = 0;

  // The status text holds one message; refreshing writes it into the box.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void RefreshStatusBox() = 0;
};

}  // namespace pace

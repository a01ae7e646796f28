// Everything the region sequences ask of the user interface: the status text
// and its box, the drive list's selection, the region choices, the disc
// indicators and the changes-left label, and message boxes. The Qt dialog
// implements it; tests and dvdregion use their own implementations.
#pragma once

#include <string>

#include "drvcmd/notice.h"

namespace zone {

class RegionUi : public drvcmd::Notice {
 public:
  // The status text only grows; the refresh writes the whole text into the box.
  virtual void AppendStatusText(const std::string& text) = 0;
  virtual void RefreshStatusBox() = 0;

  // Index of the selected drive-list entry, or drvcmd::kNoItem when nothing is
  // selected (also after the user typed into the list's edit field).
  virtual int SelectedDriveIndex() = 0;

  // Region choices and disc indicators, numbered 1 to 6.
  virtual void EnableRegionChoice(int region, bool enabled) = 0;
  virtual void CheckRegionChoice(int region, bool checked) = 0;
  // The pushed look of the drive's current region: set, never cleared.
  virtual void PushRegionChoice(int region) = 0;
  virtual bool RegionChoiceChecked(int region) = 0;
  virtual void EnableDiscIndicator(int region, bool enabled) = 0;
  virtual void CheckDiscIndicator(int region, bool checked) = 0;

  // Replaces the whole text of the changes-left label.
  virtual void SetChangesLeftText(const std::string& text) = 0;
};

}  // namespace zone

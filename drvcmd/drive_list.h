// The drive lists the programs show, built without any window: a one- or
// two-level tree (updaters) or a combo list (region and speed utilities).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drvcmd/scsi_request.h"

namespace drvcmd {

inline constexpr int kNoItem = -1;

struct DriveTreeItem {
  std::string text;
  int parent = kNoItem;  // index of the adapter item, or kNoItem for top level
  bool hasChildren = false;
};

struct DriveTree {
  std::vector<DriveTreeItem> items;  // in insertion order
  int selected = kNoItem;
};

struct DriveCombo {
  std::vector<std::string> labels;
  std::vector<DriveAddress> addresses;  // same index as labels
  int selected = kNoItem;
};

// What CheckSelectedDrive reads from the window holding the tree.
class DriveSelection {
 public:
  virtual ~DriveSelection() = default;
  // Framework data exchange from the window into the program (status box read-back).
  virtual void TakeFieldValues() = 0;
  virtual std::optional<std::string> SelectedText() = 0;
  virtual std::optional<std::string> SelectedParentText() = 0;
};

}  // namespace drvcmd

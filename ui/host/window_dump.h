// A window as the user reads it, as plain text: what DVDUTIL_SNAPSHOT writes
// beside a window's image as <folder>/<program>.txt on every host, so the
// texts of the Qt and the Win32 programs can be compared byte for byte.
//
//   caption "<window caption>"
//   <id> <kind> "<text>"[ disabled][ hidden][ pushed][ checked | unchecked][ selected <n>]
//     entry "<text>"                       a combo box's list, in list order
//     item <depth> "<text>"[ selected]     a tree's items, depth first from depth 0
//
// One line per control, a frame's form included. Controls with an id come
// first in id order; id-less static texts (id -1) follow, ordered by kind and
// text, as they have no other order both hosts share. <kind> is static, icon,
// edit, button, tree, combo, progress, group, radio or check; icons show no
// text. A button kept looking pressed (BM_SETSTATE) says pushed. Check boxes
// and radio buttons say checked or unchecked; a combo box
// says which entry is selected (-1: none). Texts are UTF-8 in double quotes,
// with \\, \", \r, \n, \t and \xNN (other control bytes) escaped. Every line
// ends with "\n".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host/window_host.h"

namespace ui {

struct DumpedTreeItem {
  int depth = 0;
  std::string text;
  bool selected = false;
};

struct DumpedControl {
  int id = kIdControlStatic;
  ControlKind kind = ControlKind::kStatic;
  std::string text;  // "\r\n" line ends, as the host interface holds them
  bool enabled = true;
  bool visible = true;
  bool pushed = false;
  std::optional<bool> checked;        // check boxes and radio buttons
  std::vector<std::string> entries;   // combo boxes
  int selection = kNoEntry;           // combo boxes
  std::vector<DumpedTreeItem> items;  // trees, depth first
};

struct DumpedWindow {
  std::string caption;
  std::vector<DumpedControl> controls;  // in any order
};

// The text above; the controls are ordered here, not by the caller.
std::string FormatWindowDump(const DumpedWindow& window);

}  // namespace ui

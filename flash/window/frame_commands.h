// The main frame's commands (menu items, accelerators, toolbar buttons), routed
// once for both frames: the form view's, the document cycle's, and the two that
// only a frame can carry out.
#pragma once

#include "flash/window/app_variant.h"
#include "flash/window/document_cycle.h"
#include "flash/window/updater_view.h"
#include "platform/system_info_component.h"

namespace flash {

class FrameCommandTarget {
 public:
  virtual ~FrameCommandTarget() = default;
  // The application exit command: the frame closes.
  virtual void CloseFrame() = 0;
  // View > Toolbar: shows or hides the toolbar and ticks the menu item to match.
  virtual void ToggleToolbar() = 0;
};

// Runs `command`; nothing while another command runs (the window takes no
// input then), nothing for the commands no one handles.
void DispatchFrameCommand(int command, const AppVariant& variant, UpdaterView& view,
                          DocumentCycle& documents, FrameCommandTarget& frame,
                          platform::SystemInfoComponent* systemInfo);

}  // namespace flash

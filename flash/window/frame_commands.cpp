// The frame's command routing: the view's commands first, then the frame's.
#include "flash/window/frame_commands.h"

#include "resources/flash/flash_resource_ids.h"

namespace flash {

void DispatchFrameCommand(int command, const AppVariant& variant, UpdaterView& view,
                          DocumentCycle& documents, FrameCommandTarget& frame,
                          platform::SystemInfoComponent* systemInfo) {
  if (view.Busy()) return;
  switch (command) {
    case resources::kIdFileOpen:
      view.OnFileOpen();
      break;
    case resources::kIdFileNew:
      documents.NewDocument();
      break;
    case resources::kIdAppExit:
      frame.CloseFrame();
      break;
    case resources::kIdAppAbout:
      view.ShowAbout();
      break;
    case resources::kIdViewToolbar:
      frame.ToggleToolbar();
      break;
    case resources::kIdAspiSystemInfo:
      if (variant.hasSystemInfo) view.ShowSystemInfo(systemInfo);
      break;
    default:
      break;  // commands without a handler
  }
}

}  // namespace flash

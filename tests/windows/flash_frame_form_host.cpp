// The shared updater window cases on the native frame: the form they open is
// hosted as the program hosts it, a child dialog in the client area of a
// FrameWindow with the build's menu bar and toolbar, shown.
#include <memory>

#include "flash/win32/frame_window.h"
#include "flash/window/app_variant.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_dialog_host.h"
#include "ui/win32/win32_window_system.h"

namespace {

// The frame first: the form is its child and goes before it.
struct FrameHolder {
  explicit FrameHolder(const flash::AppVariant& variant)
      : frame(variant.menus, flash::FrameCallbacks{}) {
    frame.Create(flash::FrameWindowStyle(variant.hasMaximizeBox), nullptr, nullptr);
  }
  flash::FrameWindow frame;
};

class FramedForm : private FrameHolder, public ui::win32::Win32OpenWindow {
 public:
  FramedForm(const flash::AppVariant& variant, ui::win32::Win32Session& session,
             const ui::DialogTemplate& form, ui::DialogLogic& logic)
      : FrameHolder(variant),
        Win32OpenWindow(
            ui::win32::Win32DialogHost::CreateChild(session, form, logic, frame.Handle())) {
    frame.AttachForm(DialogHost().Window());
    ::ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
  }
};

}  // namespace

std::unique_ptr<ui::OpenWindow> OpenUpdaterFormInFrame(const ui::DialogTemplate& form,
                                                       ui::DialogLogic& logic) {
  const flash::AppVariant& variant = &form == &flash::AppVariant::Aspi().dialogs.mainForm
                                         ? flash::AppVariant::Aspi()
                                         : flash::AppVariant::Spti();
  auto& windows = dynamic_cast<ui::win32::Win32WindowSystem&>(window_test::System());
  return std::make_unique<FramedForm>(variant, windows.Session(), form, logic);
}

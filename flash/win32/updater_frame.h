// CMainFrame on Win32: the native frame window with the form view (the shared
// UpdaterView in a child dialog from template 101), the document cycle and
// the frame's commands: File Open, New, the recent files, Exit, About,
// Toolbar and System Info.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flash/win32/frame_window.h"
#include "flash/window/app_variant.h"
#include "flash/window/document_cycle.h"
#include "flash/window/frame_commands.h"
#include "flash/window/open_file_dialog.h"
#include "flash/window/recent_file_list.h"
#include "flash/window/updater_view.h"
#include "platform/system_info_component.h"
#include "ui/win32/win32_window_system.h"

namespace flash {

class Win32UpdaterFrame : public DocumentFrame, private FrameCommandTarget {
 public:
  Win32UpdaterFrame(const AppVariant& variant, ui::win32::Win32WindowSystem& windows,
                    OpenFileDialog& fileDialog, RecentFileList& recentFiles);
  ~Win32UpdaterFrame() override;
  Win32UpdaterFrame(const Win32UpdaterFrame&) = delete;
  Win32UpdaterFrame& operator=(const Win32UpdaterFrame&) = delete;

  // Creates the frame (hidden) and its form; false when either cannot be made.
  bool Create();

  UpdaterView& View() { return view_; }
  DocumentCycle& Documents() { return documents_; }
  FrameWindow& Window() { return window_; }
  // The form as an open window: what a window test drives. Null before
  // Create and once the frame is gone.
  ui::OpenWindow* Form() { return form_.get(); }
  void SetSystemInfoComponent(platform::SystemInfoComponent* component) { systemInfo_ = component; }

  // A menu item, toolbar button or accelerator; nothing while a command runs.
  void Dispatch(int command);
  // Files dropped on the frame: each opened as a document.
  void DropFiles(const std::vector<std::string>& paths);

  // DocumentFrame
  void SetCaption(const std::string& caption) override { window_.SetCaption(caption); }
  void RecentFilesChanged() override;
  void InitialUpdate() override;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    return view_.MessageBox(text, caption, style);
  }

 private:
  // FrameCommandTarget
  void CloseFrame() override;
  void ToggleToolbar() override;

  HWND FormWindow() const;
  void LayOutForm();

  const AppVariant& variant_;
  ui::win32::Win32WindowSystem& windows_;
  RecentFileList& recentFiles_;
  UpdaterView view_;
  DocumentCycle documents_;
  FrameWindow window_;
  std::unique_ptr<ui::win32::Win32OpenWindow> form_;
  platform::SystemInfoComponent* systemInfo_ = nullptr;
};

}  // namespace flash

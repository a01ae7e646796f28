// The updater's main frame: menu bar, toolbar, accelerators, caption, the
// document cycle (new, opened, recent, dropped) and the window's placement.
#pragma once

#include <QMainWindow>
#include <map>

#include "flash/window/app_variant.h"
#include "flash/app/main_view.h"
#include "flash/app/recent_file_list.h"
#include "platform/system_info_component.h"
#include "ui/file_dialog_service.h"
#include "ui/message_box_service.h"
#include "ui/window_placement.h"

class QMenu;
class QToolBar;

namespace flash {

class MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  MainFrame(const AppVariant& variant, ui::MessageBoxService& messages,
            ui::FileDialogService& fileDialogs, RecentFileList& recentFiles);

  MainView& View() { return *view_; }
  void AttachUpdater(Updater& updater) { view_->AttachUpdater(&updater); }
  void SetSystemInfoComponent(platform::SystemInfoComponent* component) { systemInfo_ = component; }

  // The framework's document cycle. Neither loads firmware.
  void NewDocument();
  bool OpenDocument(const QString& path);
  // Rebuilds the tree, re-centres the window and lays out the form.
  void InitialUpdate();
  // Where the frame was last placed, title bar and border included.
  QRect PlacedFrame() const { return placer_->Target(); }

  // Runs a command as a menu item, toolbar button or accelerator would.
  void Dispatch(int command);

  const QString& DocumentTitle() const { return documentTitle_; }
  QAction* MenuAction(int command) const;
  QToolBar* ToolBar() const { return toolBar_; }
  QMenu* RecentFileMenu() const { return fileMenu_; }
  QList<QAction*> RecentFileActions() const { return recentActions_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolBar();
  void CreateAccelerators();
  void RebuildRecentFileMenu();
  void UpdateCaption();
  void PlaceFrame(const QRect& frameRect);
  void OpenRecentFile(const QString& path);
  void ShowAbout();
  void ShowSystemInfo();

  const AppVariant& variant_;
  ui::MessageBoxService& messages_;
  RecentFileList& recentFiles_;
  MainView* view_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* recentPlaceholder_ = nullptr;
  QList<QAction*> recentActions_;
  std::map<int, QAction*> menuActions_;
  QString documentTitle_;
  ui::FramePlacer* placer_ = nullptr;  // owned by this window
  platform::SystemInfoComponent* systemInfo_ = nullptr;
};

}  // namespace flash

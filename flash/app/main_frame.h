// The updater's main frame on Qt: menu bar, toolbar, accelerators, drag and
// drop and the window's placement. It hosts the form (template 101) with the
// shared UpdaterView through the Qt dialog host, and runs the shared document
// cycle.
#pragma once

#include <QMainWindow>
#include <map>

#include "flash/app/anchored_window_system.h"
#include "flash/window/app_variant.h"
#include "flash/window/document_cycle.h"
#include "flash/window/frame_commands.h"
#include "flash/window/open_file_dialog.h"
#include "flash/window/recent_file_list.h"
#include "flash/window/updater_view.h"
#include "platform/system_info_component.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/window_placement.h"

class QMenu;
class QToolBar;

namespace flash {

class MainFrame : public QMainWindow, private DocumentFrame, private FrameCommandTarget {
  Q_OBJECT

 public:
  MainFrame(const AppVariant& variant, ui::QtWindowSystem& windows, OpenFileDialog& fileDialog,
            RecentFileList& recentFiles);
  ~MainFrame() override;

  UpdaterView& View() { return view_; }
  // The form's dialog host: its controls by id.
  ui::QtDialogHost& Form() { return *form_; }
  void AttachUpdater(Updater& updater) { view_.AttachUpdater(&updater); }
  void SetSystemInfoComponent(platform::SystemInfoComponent* component) { systemInfo_ = component; }

  // The framework's document cycle. Neither loads firmware.
  void NewDocument() { documents_.NewDocument(); }
  bool OpenDocument(const QString& path);
  // Rebuilds the tree, re-centres the window and lays out the form.
  void InitialUpdate() override;
  // Where the frame was last placed, title bar and border included.
  QRect PlacedFrame() const { return placer_->Target(); }

  // Runs a command as a menu item, toolbar button or accelerator would.
  void Dispatch(int command);

  QString DocumentTitle() const { return QString::fromStdString(documents_.DocumentTitle()); }
  QAction* MenuAction(int command) const;
  QToolBar* ToolBar() const { return toolBar_; }
  QMenu* RecentFileMenu() const { return fileMenu_; }
  QList<QAction*> RecentFileActions() const { return recentActions_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The form's resizes: its controls follow.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // FrameCommandTarget
  void CloseFrame() override;
  void ToggleToolbar() override;

  // DocumentFrame
  void SetCaption(const std::string& caption) override;
  void RecentFilesChanged() override;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;

  void CreateForm();
  void CreateMenus();
  void CreateToolBar();
  void CreateAccelerators();
  void PlaceFrame(const QRect& frameRect);
  void OpenRecentFile(const QString& path);

  const AppVariant& variant_;
  ui::QtWindowSystem& windows_;
  RecentFileList& recentFiles_;
  AnchoredWindowSystem anchoredWindows_;
  UpdaterView view_;
  DocumentCycle documents_;
  ui::QtDialogHost* form_ = nullptr;  // the central widget, deleted before the view
  QToolBar* toolBar_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* recentPlaceholder_ = nullptr;
  QList<QAction*> recentActions_;
  std::map<int, QAction*> menuActions_;
  ui::FramePlacer* placer_ = nullptr;  // owned by this window
  platform::SystemInfoComponent* systemInfo_ = nullptr;
};

}  // namespace flash

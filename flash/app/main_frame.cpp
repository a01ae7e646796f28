// Main frame: menus and toolbar from the resource tables, the caption, the
// document cycle and the placement of the window on the screen.
#include "flash/app/main_frame.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <cstdio>

#include "flash/app/about_dialog.h"
#include "flash/app/pixel_icons.h"
#include "flash/window/form_layout.h"
#include "flash/window/system_info_command.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"

namespace flash {
namespace {

constexpr int kToolbarIconWidth = resources::kToolbarImageWidth;
constexpr int kToolbarIconHeight = resources::kToolbarImageHeight;

QRect ToQRect(const ui::ItemRect& place) {
  return QRect(place.x, place.y, place.width, place.height);
}

QRect AvailableScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// "&1 path": the framework's numbering of recent files.
QString RecentEntryText(int index, const QString& path) {
  return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}

std::string CannotOpenText(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  const int needed =
      std::snprintf(nullptr, 0, resources::kCannotOpenDocumentFormat, name.constData());
  std::string text(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  std::snprintf(text.data(), text.size() + 1, resources::kCannotOpenDocumentFormat,
                name.constData());
  return text;
}

}  // namespace

MainFrame::MainFrame(const AppVariant& variant, ui::MessageBoxService& messages,
                     ui::FileDialogService& fileDialogs, RecentFileList& recentFiles)
    : variant_(variant), messages_(messages), recentFiles_(recentFiles) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint;
  // flashaspi keeps the framework's maximize box; neither build has a sizing border.
  if (variant.hasMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);
  placer_ =
      new ui::FramePlacer(*this, variant.hasMaximizeBox ? ui::FramePlacer::Sizing::kMaximizable
                                                        : ui::FramePlacer::Sizing::kFixed);
  setAcceptDrops(true);

  view_ = new MainView(variant, messages, fileDialogs, this);
  setCentralWidget(view_);
  connect(view_, &MainView::ExitRequested, this, [this] { Dispatch(resources::kIdAppExit); });

  CreateMenus();
  CreateToolBar();
  CreateAccelerators();
  RebuildRecentFileMenu();
  UpdateCaption();

  if (variant.halfWidthFirstFrame) {
    const QRect screen = AvailableScreen();
    PlaceFrame(
        ToQRect(FirstFrameRect(screen.width(), screen.height())).translated(screen.topLeft()));
  }
}

void MainFrame::CreateMenus() {
  std::map<std::string, QMenu*> menus;
  for (const resources::MenuItemTemplate& item : variant_.menus.menuBar) {
    QMenu*& menu = menus[item.menu];
    if (menu == nullptr) menu = menuBar()->addMenu(QString::fromUtf8(item.menu));
    if ((item.flags & resources::kMenuSeparator) != 0) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromUtf8(item.text));
    const int command = item.command;
    if ((item.flags & resources::kMenuRecentFiles) != 0) {
      fileMenu_ = menu;
      recentPlaceholder_ = action;
      action->setEnabled(false);
      continue;
    }
    if ((item.flags & resources::kMenuAlwaysDisabled) != 0) action->setEnabled(false);
    if ((item.flags & resources::kMenuCheckable) != 0) action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, command] { Dispatch(command); });
    menuActions_[command] = action;
  }
}

void MainFrame::CreateToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  toolBar_->setObjectName(QStringLiteral("toolbar"));
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->setIconSize(QSize(kToolbarIconWidth, kToolbarIconHeight));
  for (const resources::ToolbarButtonTemplate& button : variant_.menus.toolbar) {
    QAction* action =
        toolBar_->addAction(IconFromPixels(resources::ToolbarImage(button.image)), QString());
    action->setToolTip(
        QString::fromUtf8(resources::CommandTooltip(variant_.menus, button.command)));
    action->setData(button.command);
    action->setEnabled(!button.alwaysDisabled);
    const int command = button.command;
    connect(action, &QAction::triggered, this, [this, command] { Dispatch(command); });
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);

  if (QAction* toggle = MenuAction(resources::kIdViewToolbar)) {
    toggle->setChecked(true);
    connect(toolBar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
  }
}

void MainFrame::CreateAccelerators() {
  for (const resources::AcceleratorTemplate& accelerator : variant_.menus.accelerators) {
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)));
    action->setShortcutContext(Qt::WindowShortcut);
    const int command = accelerator.command;
    connect(action, &QAction::triggered, this, [this, command] { Dispatch(command); });
    addAction(action);
  }
}

QAction* MainFrame::MenuAction(int command) const {
  const auto found = menuActions_.find(command);
  return found != menuActions_.end() ? found->second : nullptr;
}

void MainFrame::Dispatch(int command) {
  // While a command runs the window takes no input.
  if (view_->Busy()) return;
  switch (command) {
    case resources::kIdFileOpen:
      view_->OnFileOpen();
      break;
    case resources::kIdFileNew:
      NewDocument();
      break;
    case resources::kIdAppExit:
      close();
      break;
    case resources::kIdAppAbout:
      ShowAbout();
      break;
    case resources::kIdViewToolbar:
      // isHidden, not isVisible: a toolbar of a hidden frame is not visible either.
      toolBar_->setHidden(!toolBar_->isHidden());
      if (QAction* toggle = MenuAction(command)) toggle->setChecked(!toolBar_->isHidden());
      break;
    case resources::kIdAspiSystemInfo:
      if (variant_.hasSystemInfo) ShowSystemInfo();
      break;
    default:
      break;  // commands without a handler
  }
}

void MainFrame::NewDocument() {
  documentTitle_ = QString::fromUtf8(variant_.newDocumentTitle);
  UpdateCaption();
  InitialUpdate();
}

bool MainFrame::OpenDocument(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
    messages_.MessageBox(CannotOpenText(path), std::string(), drvcmd::kMbIconExclamation);
    recentFiles_.Remove(path);
    RebuildRecentFileMenu();
    return false;
  }
  file.close();  // the document carries no data: nothing is read
  recentFiles_.Add(path);
  RebuildRecentFileMenu();
  if (variant_.keepsDocumentTitles) documentTitle_ = QFileInfo(path).fileName();
  UpdateCaption();
  InitialUpdate();
  return true;
}

void MainFrame::OpenRecentFile(const QString& path) {
  if (view_->Busy()) return;
  OpenDocument(path);
}

void MainFrame::InitialUpdate() {
  view_->ScanDrives();
  const QRect screen = AvailableScreen();
  PlaceFrame(
      ToQRect(CentredFrameRect(screen.width(), screen.height())).translated(screen.topLeft()));
  view_->LayOutControls();
  if (variant_.refreshStatusAfterLayout) view_->RefreshStatusBox();
}

void MainFrame::PlaceFrame(const QRect& frameRect) {
  // The rectangle is the whole window's, title bar and border included.
  if (windowHandle() == nullptr) create();
  placer_->Place(frameRect);
}

void MainFrame::UpdateCaption() {
  const QString frameTitle = QString::fromUtf8(variant_.frameTitle);
  const QString separator = QStringLiteral(" - ");
  setWindowTitle(variant_.documentTitleFirst ? documentTitle_ + separator + frameTitle
                                             : frameTitle + separator + documentTitle_);
}

void MainFrame::RebuildRecentFileMenu() {
  if (fileMenu_ == nullptr || recentPlaceholder_ == nullptr) return;
  for (QAction* action : recentActions_) {
    fileMenu_->removeAction(action);
    action->deleteLater();
  }
  recentActions_.clear();
  const QStringList& entries = recentFiles_.Entries();
  recentPlaceholder_->setVisible(entries.isEmpty());
  for (int index = 0; index < entries.size(); ++index) {
    auto* action = new QAction(RecentEntryText(index, entries[index]), fileMenu_);
    const QString path = entries[index];
    connect(action, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    fileMenu_->insertAction(recentPlaceholder_, action);
    recentActions_.append(action);
  }
}

void MainFrame::ShowAbout() {
  UpdaterAboutDialog dialog(variant_, this);
  dialog.exec();
}

void MainFrame::ShowSystemInfo() {
  const std::optional<std::string> text = SystemInfoText(systemInfo_);
  if (text.has_value()) {
    messages_.MessageBox(*text, resources::kSystemInfoCaption, drvcmd::kMbOk);
  } else {
    messages_.MessageBox(resources::kSystemInfoUnavailable, resources::kSystemInfoCaption,
                         drvcmd::kMbIconHand);
  }
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
  if (view_->Busy()) return;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) OpenDocument(url.toLocalFile());
  }
  event->acceptProposedAction();
}

}  // namespace flash

// Main frame: menus and toolbar from the resource tables, the hosted form,
// drag and drop and the placement of the window on the screen.
#include "flash/app/main_frame.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "flash/app/pixel_icons.h"
#include "flash/window/form_layout.h"
#include "resources/flash/flash_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/tree_style.h"

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

}  // namespace

MainFrame::MainFrame(const AppVariant& variant, ui::QtWindowSystem& windows,
                     OpenFileDialog& fileDialog, RecentFileList& recentFiles)
    : variant_(variant),
      windows_(windows),
      recentFiles_(recentFiles),
      anchoredWindows_(windows, *this),
      view_(variant, anchoredWindows_, fileDialog, [this](int command) { Dispatch(command); }),
      documents_(variant, recentFiles, *this) {
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

  CreateForm();
  CreateMenus();
  CreateToolBar();
  CreateAccelerators();
  RecentFilesChanged();
  SetCaption(documents_.Caption());

  if (variant.halfWidthFirstFrame) {
    const QRect screen = AvailableScreen();
    PlaceFrame(
        ToQRect(FirstFrameRect(screen.width(), screen.height())).translated(screen.topLeft()));
  }
}

MainFrame::~MainFrame() {
  // The form's host tells the view it goes: before the view itself goes.
  delete form_;
  form_ = nullptr;
}

void MainFrame::CreateForm() {
  form_ = new ui::QtDialogHost(variant_.dialogs.mainForm, view_, windows_, this);
  // A form view: a child that fills the frame, not a dialog window of its own.
  form_->setWindowFlags(Qt::Widget);
  form_->setMinimumSize(0, 0);
  form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setCentralWidget(form_);
  form_->installEventFilter(this);
  form_->Initialise();
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
  DispatchFrameCommand(command, variant_, view_, documents_, *this, systemInfo_);
}

void MainFrame::CloseFrame() { close(); }

void MainFrame::ToggleToolbar() {
  // isHidden, not isVisible: a toolbar of a hidden frame is not visible either.
  toolBar_->setHidden(!toolBar_->isHidden());
  if (QAction* toggle = MenuAction(resources::kIdViewToolbar)) {
    toggle->setChecked(!toolBar_->isHidden());
  }
}

bool MainFrame::OpenDocument(const QString& path) {
  return documents_.OpenDocument(QFile::encodeName(path).toStdString());
}

void MainFrame::OpenRecentFile(const QString& path) {
  if (view_.Busy()) return;
  OpenDocument(path);
}

void MainFrame::InitialUpdate() {
  if (auto* tree = ui::FindControl<QTreeWidget>(form_, resources::kIdcDriveTree)) {
    ui::SetTreeStyle(*tree, ui::kTreeHasLines | ui::kTreeHasButtons | ui::kTreeLinesAtRoot);
  }
  view_.ScanDrives();
  const QRect screen = AvailableScreen();
  PlaceFrame(
      ToQRect(CentredFrameRect(screen.width(), screen.height())).translated(screen.topLeft()));
  view_.FinishInitialUpdate(form_->width(), form_->height());
}

void MainFrame::PlaceFrame(const QRect& frameRect) {
  // The rectangle is the whole window's, title bar and border included.
  if (windowHandle() == nullptr) create();
  placer_->Place(frameRect);
}

void MainFrame::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void MainFrame::RecentFilesChanged() {
  if (fileMenu_ == nullptr || recentPlaceholder_ == nullptr) return;
  for (QAction* action : recentActions_) {
    fileMenu_->removeAction(action);
    action->deleteLater();
  }
  recentActions_.clear();
  const std::vector<std::string>& entries = recentFiles_.Entries();
  recentPlaceholder_->setVisible(entries.empty());
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const QString path = QFile::decodeName(entries[index].c_str());
    auto* action = new QAction(
        QFile::decodeName(RecentFileMenuText(static_cast<int>(index), entries[index]).c_str()),
        fileMenu_);
    connect(action, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    fileMenu_->insertAction(recentPlaceholder_, action);
    recentActions_.append(action);
  }
}

int MainFrame::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return view_.MessageBox(text, caption, style);
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Resize) {
    const QSize size = static_cast<QResizeEvent*>(event)->size();
    view_.LayOut(size.width(), size.height());
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
  if (view_.Busy()) return;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) OpenDocument(url.toLocalFile());
  }
  event->acceptProposedAction();
}

}  // namespace flash

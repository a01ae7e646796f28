// Both updater builds' Qt frames end to end on an emulated machine with a fake
// clock: captions, menus, toolbar and accelerators, the placement of the
// window and its form, the real confirmation and countdown windows, the
// document cycle and start-up failures. What the form itself does is in the
// shared cases (tests/window/flash_window_cases.cpp).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <string>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_machine.h"
#include "emulator/firmware_builder.h"
#include "flash/app/updater_app.h"
#include "flash/window/form_layout.h"
#include "resources/flash/flash_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/settings_key.h"
#include "ui/status_box.h"
#include "ui/tree_style.h"
#include "ui/window_placement.h"

namespace {

using flash::AppVariant;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"},
               {"number": 1, "identifier": "NORTHSTAR ULTRA2 WIDE SCSI HOST"}],
  "systemInfoComponent": {"platform": 1, "version": 4.1, "build": 2222},
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"},
    {"letter": "E", "adapter": 1, "target": 0, "type": "0x04",
     "vendor": "WRITEON", "product": "CD-RW DRIVE 4012", "revision": "1.0C"},
    {"letter": "F", "adapter": 1, "target": 1, "type": "0x00",
     "vendor": "MAXIDISK", "product": "HD-9100 SCSI", "revision": "0102"}
  ]})";

constexpr char kNoAspiMachine[] = R"({"aspi": {"manager": "missing"}, "devices": []})";

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text.substr(0, width));
  padded.resize(width, ' ');
  return padded;
}

QRect ToQRect(const ui::ItemRect& place) {
  return QRect(place.x, place.y, place.width, place.height);
}

const emu::ModelSpec& Kd410() { return *emu::FindDriveModel("KD-410"); }

std::string Kd410VendorProduct() { return Padded(Kd410().vendor, 8) + Padded(Kd410().product, 16); }

QStringList ActionTexts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) {
    if (!action->isSeparator() && action->isVisible()) texts << action->text();
  }
  return texts;
}

bool SentWriteBuffer(emu::EmulatedMachine& machine) {
  for (const emu::LoggedCommand& command : machine.Log().Entries()) {
    if (command.cdb[0] == 0x3B) return true;
  }
  return false;
}

class FlashWindowTest : public testing::TestWithParam<const AppVariant*> {
 protected:
  const AppVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &AppVariant::Aspi(); }

  void SetUp() override {
    UserSettings()->remove(QStringLiteral("Recent File List"));
    hexPath_ = folder_.filePath(QStringLiteral("UPDATE.HEX"));
    QFile hex(hexPath_);
    ASSERT_TRUE(hex.open(QIODevice::WriteOnly));
    hex.write(QByteArray::fromStdString(emu::BuildFirmwareHex(Kd410(), "1.05")));
  }

  // Starts the program on a machine; false when start-up failed.
  bool Start(const char* machineJson, const QStringList& arguments = {}) {
    app_.reset();  // a program never outlives the machine it runs on
    machine_ = testsupport::LoadWindowTestMachine(machineJson);
    if (machine_ == nullptr) return false;
    app_ = std::make_unique<flash::UpdaterApp>(Variant(), *machine_);
    app_->Messages().SetScripted(true);
    app_->FileDialogs().SetScripted(true);
    if (app_->Start(arguments) != 0) return false;
    Frame().show();
    return true;
  }

  std::unique_ptr<QSettings> UserSettings() const {
    return ui::OpenUserSettings(QString::fromUtf8(Variant().settingsKey),
                                QString::fromUtf8(Variant().applicationTitle));
  }

  flash::MainFrame& Frame() { return app_->Frame(); }
  flash::UpdaterView& View() { return app_->Frame().View(); }
  ui::QtDialogHost& Form() { return app_->Frame().Form(); }
  QTreeWidget& Tree() { return *ui::FindControl<QTreeWidget>(&Form(), resources::kIdcDriveTree); }
  QPlainTextEdit& StatusEdit() {
    return *ui::FindControl<QPlainTextEdit>(&Form(), Variant().statusBoxId);
  }
  std::string StatusBox() { return ui::ReadStatusBox(StatusEdit()); }
  QPushButton& Button(int id) { return *ui::FindControl<QPushButton>(&Form(), id); }

  void SelectDriveD() {
    QTreeWidgetItem* item = IsAspi() ? Tree().topLevelItem(0)->child(0) : Tree().topLevelItem(0);
    Tree().setCurrentItem(item);
    item->setSelected(true);
  }

  void LoadImageThroughFileOpen() {
    app_->FileDialogs().PresetChoice(hexPath_);
    Button(Variant().fileOpenId).click();
  }

  QTemporaryDir folder_;
  QString hexPath_;
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<flash::UpdaterApp> app_;
};

TEST_P(FlashWindowTest, CaptionMenusAndToolbarAreTheBuildsOwn) {
  ASSERT_TRUE(Start(kMachine));
  QStringList menus;
  for (const QAction* menu : Frame().menuBar()->actions()) menus << menu->text();
  const QList<QAction*> toolbar = Frame().ToolBar()->actions();
  ASSERT_EQ(toolbar.size(), 3);
  EXPECT_EQ(toolbar[0]->toolTip(), QStringLiteral("Open"));
  EXPECT_FALSE(toolbar[1]->isEnabled());
  EXPECT_EQ(toolbar[2]->toolTip(), QStringLiteral("About"));
  EXPECT_TRUE(Frame().MenuAction(resources::kIdViewToolbar)->isChecked());

  const QStringList fileItems = ActionTexts(Frame().RecentFileMenu()->actions());
  EXPECT_EQ(fileItems, (QStringList{"&Open...\tCtrl+O", "Recent File", "E&xit"}));
  if (IsAspi()) {
    EXPECT_EQ(Frame().windowTitle(),
              QStringLiteral("DVD-ROM Firmware Update Tool for Win32 - FLASHKIT"));
    EXPECT_EQ(menus, (QStringList{"&File", "Tool", "&View", "&Help"}));
    EXPECT_FALSE(Frame().MenuAction(resources::kIdAspiFirmwareFileSearch)->isEnabled());
    EXPECT_EQ(Frame().MenuAction(resources::kIdAppAbout)->text(),
              QStringLiteral("&About FLASHKIT..."));
    EXPECT_NE(Frame().MenuAction(resources::kIdAspiSystemInfo), nullptr);
  } else {
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Update DVD for W2K - "));
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Help"}));
    EXPECT_EQ(Frame().MenuAction(resources::kIdAppAbout)->text(),
              QStringLiteral("&About flashspti..."));
    EXPECT_EQ(Frame().MenuAction(resources::kIdAspiSystemInfo), nullptr);
  }
}

TEST_P(FlashWindowTest, WindowIsCentredAndTheFormFollowsTheLayout) {
  ASSERT_TRUE(Start(kMachine));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(Frame().frameGeometry(),
            ToQRect(flash::CentredFrameRect(screen.width(), screen.height()))
                .translated(screen.topLeft()));
  const QWidget* firstLabel = ui::FindControl<QWidget>(
      &Form(), IsAspi() ? Variant().driveListLabelId : Variant().statusLabelId);
  const flash::FormLayout layout =
      flash::LayOutForm(Variant().layout, Form().width(), Form().height(), firstLabel->height(),
                        Button(Variant().fileOpenId).height());
  EXPECT_EQ(Tree().geometry(), ToQRect(layout.driveTree));
  EXPECT_EQ(StatusEdit().geometry(), ToQRect(layout.statusBox));
  EXPECT_EQ(Button(Variant().exitId).geometry(), ToQRect(layout.exit));
  EXPECT_EQ(StatusEdit().isReadOnly(), IsAspi());
}

TEST_P(FlashWindowTest, NewDocumentRescansAndRecentres) {
  ASSERT_TRUE(Start(kMachine));
  const QPoint centred = Frame().pos();
  const int items = Tree().topLevelItemCount();
  Frame().move(centred + QPoint(40, 30));
  Tree().clear();
  QAction* newDocument = nullptr;
  for (QAction* action : Frame().actions()) {
    if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+N"))) newDocument = action;
  }
  ASSERT_NE(newDocument, nullptr);
  newDocument->trigger();
  EXPECT_EQ(Tree().topLevelItemCount(), items);
  EXPECT_EQ(Frame().pos(), centred);
}

TEST_P(FlashWindowTest, OpenedDocumentGoesToTheRecentListAndLoadsNoFirmware) {
  ASSERT_TRUE(Start(kMachine));
  View().SetStatusText("before\r\n");
  View().RefreshStatusBox();
  ASSERT_TRUE(Frame().OpenDocument(hexPath_));
  EXPECT_EQ(StatusBox(), "before\r\n");
  EXPECT_EQ(Frame().windowTitle(), IsAspi() ? QStringLiteral("UPDATE.HEX - FLASHKIT")
                                            : QStringLiteral("Update DVD for W2K - "));
  const std::unique_ptr<QSettings> settings = UserSettings();
  EXPECT_EQ(settings->value("Recent File List/File1").toString(), hexPath_);
  ASSERT_EQ(Frame().RecentFileActions().size(), 1);
  EXPECT_EQ(Frame().RecentFileActions()[0]->text(), "&1 " + hexPath_);

  // The image in effect is still none: Update refuses without a confirmation.
  SelectDriveD();
  View().PresetConfirmAnswer(drvcmd::kIdCancel);
  Button(Variant().updateId).click();
  EXPECT_TRUE(View().Confirmations().empty());
  EXPECT_NE(StatusBox().find("This file is not available"), std::string::npos) << StatusBox();

  // A recent file that has gone is reported and dropped from the list.
  ASSERT_TRUE(QFile::remove(hexPath_));
  app_->Messages().ClearRecorded();
  Frame().RecentFileActions()[0]->trigger();
  ASSERT_EQ(app_->Messages().Recorded().size(), 1u);
  EXPECT_NE(app_->Messages().Recorded()[0].text.find("Cannot find this file."), std::string::npos);
  EXPECT_EQ(app_->Messages().Recorded()[0].caption, Variant().applicationTitle);
  EXPECT_TRUE(Frame().RecentFileActions().isEmpty());
  settings->sync();
  EXPECT_FALSE(settings->contains("Recent File List/File1"));
}

TEST_P(FlashWindowTest, RecentListKeepsTheBuildsNumberOfFiles) {
  ASSERT_TRUE(Start(kMachine));
  for (int index = 0; index < 12; ++index) {
    const QString path = folder_.filePath(QStringLiteral("f%1.hex").arg(index));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(Frame().OpenDocument(path));
  }
  EXPECT_EQ(Frame().RecentFileActions().size(), Variant().recentFileCount);
  EXPECT_EQ(Frame().RecentFileActions()[0]->text(), "&1 " + folder_.filePath("f11.hex"));
}

TEST_P(FlashWindowTest, DocumentNamedOnTheCommandLineIsOpened) {
  ASSERT_TRUE(Start(kMachine, {hexPath_}));
  const std::unique_ptr<QSettings> settings = UserSettings();
  EXPECT_EQ(settings->value("Recent File List/File1").toString(), hexPath_);
  EXPECT_TRUE(StatusBox().empty());
}

TEST_P(FlashWindowTest, FailedBufferAllocationEndsStartUpWithItsMessage) {
  EXPECT_FALSE(Start(R"({"memory": {"failAllocation": 1}, "devices": []})"));
  ASSERT_EQ(app_->Messages().Recorded().size(), 1u);
  EXPECT_EQ(app_->Messages().Recorded()[0].text, "Memory Allocation Error");
  EXPECT_EQ(app_->Messages().Recorded()[0].caption, Variant().applicationTitle);
  EXPECT_FALSE(Frame().isVisible());
}

TEST_P(FlashWindowTest, ExitButtonAndMenuItemCloseTheWindow) {
  ASSERT_TRUE(Start(kMachine));
  Button(Variant().exitId).click();
  EXPECT_FALSE(Frame().isVisible());
  Frame().show();
  Frame().MenuAction(resources::kIdAppExit)->trigger();
  EXPECT_FALSE(Frame().isVisible());
  EXPECT_TRUE(app_->Messages().Recorded().empty());
}

TEST_P(FlashWindowTest, CtrlOOpensTheFileDialogAndTheToolbarItemHidesTheToolbar) {
  ASSERT_TRUE(Start(kMachine));
  QAction* open = nullptr;
  for (QAction* action : Frame().actions()) {
    if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+O"))) open = action;
  }
  ASSERT_NE(open, nullptr);
  app_->FileDialogs().PresetCancel();
  open->trigger();
  const auto& requests = app_->FileDialogs().Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, QStringLiteral("Select the Update Hex File"));
  EXPECT_EQ(requests[0].filter, QStringLiteral("Hex File(.HEX) (*.hex *.HEX)"));
  EXPECT_EQ(requests[0].initialFileName, IsAspi() ? QStringLiteral("UPDATE.HEX") : QString());
  EXPECT_EQ(requests[0].initialFolder, QDir::currentPath());

  QAction* toggle = Frame().MenuAction(resources::kIdViewToolbar);
  toggle->trigger();
  EXPECT_TRUE(Frame().ToolBar()->isHidden());
  EXPECT_FALSE(toggle->isChecked());
  toggle->trigger();
  EXPECT_FALSE(Frame().ToolBar()->isHidden());
  EXPECT_TRUE(toggle->isChecked());
  // The toggle follows the user's choice, not whether the frame is on screen.
  Frame().hide();
  toggle->trigger();
  EXPECT_TRUE(Frame().ToolBar()->isHidden());
}

TEST_P(FlashWindowTest, DroppedFileOpensADocumentAndLoadsNoFirmware) {
  ASSERT_TRUE(Start(kMachine));
  View().SetStatusText("before\r\n");
  View().RefreshStatusBox();
  Tree().clear();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(hexPath_)});
  // A drop goes to the widget that accepted the drag's entry, as in a real drag.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Frame(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Frame(), &drop);
  EXPECT_EQ(StatusBox(), "before\r\n");
  EXPECT_GT(Tree().topLevelItemCount(), 0);  // the initial update ran again
  ASSERT_EQ(Frame().RecentFileActions().size(), 1);
  EXPECT_EQ(Frame().RecentFileActions()[0]->text(), "&1 " + hexPath_);
  EXPECT_EQ(Frame().windowTitle(), IsAspi() ? QStringLiteral("UPDATE.HEX - FLASHKIT")
                                            : QStringLiteral("Update DVD for W2K - "));
}

TEST_P(FlashWindowTest, RealConfirmationDialogIsAnsweredWithItsOkButton) {
  ASSERT_TRUE(Start(kMachine));
  LoadImageThroughFileOpen();
  SelectDriveD();
  machine_->Log().Clear();

  // Watches the windows while the update runs: the confirmation is answered
  // with its own OK button, the progress window's caption is noted.
  QStringList confirmTexts;
  QString progressCaption;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible()) continue;
      auto* dialog = qobject_cast<ui::QtDialogHost*>(window);
      if (dialog == nullptr) continue;
      if (window->windowTitle() == QString::fromUtf8(Variant().dialogs.confirmUpdate.caption)) {
        ui::QtDialogHost* confirm = dialog;
        for (int id : {resources::kIdcConfirmMessage, resources::kIdcConfirmOldFirmware,
                       resources::kIdcConfirmNewFirmware}) {
          confirmTexts << ui::FindControl<QLabel>(confirm, id)->text();
        }
        ui::FindControl<QPushButton>(confirm, ui::kIdControlOk)->click();
      } else {
        progressCaption = window->windowTitle();
      }
    }
  });
  watcher.start(0);
  Button(Variant().updateId).click();
  watcher.stop();

  EXPECT_EQ(confirmTexts, (QStringList{"Do you want to update the firmware ?",
                                       QString::fromStdString(Kd410VendorProduct() + " " +
                                                              std::string(Kd410().version)),
                                       QString::fromStdString(Kd410VendorProduct() + " 1.05")}));
  EXPECT_EQ(progressCaption, IsAspi() ? QStringLiteral("Update progressing...")
                                      : QStringLiteral("Now processing...."));
  EXPECT_TRUE(SentWriteBuffer(*machine_));
  EXPECT_NE(StatusBox().find("Verify OK\r\n"), std::string::npos) << StatusBox();
}

TEST_P(FlashWindowTest, CountdownIsCentredOnTheMovedMainWindowAndKeptAboveIt) {
  ASSERT_TRUE(Start(kMachine));
  LoadImageThroughFileOpen();
  SelectDriveD();
  View().PresetConfirmAnswer(drvcmd::kIdOk);
  // The user has moved the window away from the centre of the screen.
  Frame().move(Frame().frameGeometry().topLeft() + QPoint(-150, 90));
  QApplication::processEvents();
  const QRect mainFrame = Frame().frameGeometry();

  // Seen while the countdown runs: where the window is and what it stays above.
  QRect countdownFrame;
  QWindow* keptAbove = nullptr;
  bool ownedByTheFrame = true;
  int barMaximum = -1;
  int barValue = -1;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible() || qobject_cast<ui::QtDialogHost*>(window) == nullptr) {
        continue;
      }
      countdownFrame = window->frameGeometry();
      keptAbove = window->windowHandle()->transientParent();
      ownedByTheFrame = window->parent() != nullptr;
      if (const auto* bar = window->findChild<QProgressBar*>()) {
        barMaximum = bar->maximum();
        barValue = std::max(barValue, bar->value());
      }
    }
  });
  watcher.start(0);
  Button(Variant().updateId).click();
  watcher.stop();

  ASSERT_TRUE(countdownFrame.isValid());
  const QPoint offset = countdownFrame.center() - mainFrame.center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
  EXPECT_EQ(keptAbove, Frame().windowHandle());
  EXPECT_FALSE(ownedByTheFrame);
  // The countdown's bar runs over 0..30 seconds.
  EXPECT_EQ(barMaximum, 30);
  EXPECT_GT(barValue, 0);
  EXPECT_EQ(Frame().frameGeometry(), mainFrame);  // the update did not move the window back
  EXPECT_NE(StatusBox().find("Verify OK\r\n"), std::string::npos) << StatusBox();
}

TEST_P(FlashWindowTest, FrameBoxesAndSizeAreTheBuildsOwn) {
  ASSERT_TRUE(Start(kMachine));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect centred = ToQRect(flash::CentredFrameRect(screen.width(), screen.height()))
                            .translated(screen.topLeft());
  EXPECT_EQ(Frame().PlacedFrame(), centred);
  EXPECT_EQ(Frame().size(), centred.size().shrunkBy(ui::FrameMarginsOf(Frame())));
  const bool maximizeBox = (Frame().windowFlags() & Qt::WindowMaximizeButtonHint) != 0;
  EXPECT_EQ(maximizeBox, IsAspi());
  EXPECT_TRUE(Frame().windowFlags() & Qt::WindowMinimizeButtonHint);
  if (IsAspi()) {
    // A window manager offers maximize only for a window whose size may change.
    EXPECT_NE(Frame().minimumSize(), Frame().maximumSize());
    Frame().showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_GT(Frame().width(), centred.width());
    // The form follows the maximized window.
    const QWidget* label = ui::FindControl<QWidget>(&Form(), Variant().driveListLabelId);
    EXPECT_EQ(Button(Variant().exitId).geometry(),
              ToQRect(flash::LayOutForm(Variant().layout, Form().width(), Form().height(),
                                        label->height(), Button(Variant().fileOpenId).height())
                          .exit));
    Frame().showNormal();
    QApplication::processEvents();
    EXPECT_EQ(Frame().frameGeometry(), centred);
    // A new document puts a maximized window back in the centre too.
    Frame().showMaximized();
    QApplication::processEvents();
    Frame().NewDocument();
    QApplication::processEvents();
    EXPECT_FALSE(Frame().isMaximized());
    EXPECT_EQ(Frame().frameGeometry(), centred);
  } else {
    EXPECT_EQ(Frame().minimumSize(), Frame().maximumSize());
  }
}

TEST_P(FlashWindowTest, TreeHasLinesButtonsAndLinesAtTheRootInTheFormsFont) {
  ASSERT_TRUE(Start(kMachine));
  EXPECT_EQ(ui::TreeStyleOf(Tree()),
            ui::kTreeHasLines | ui::kTreeHasButtons | ui::kTreeLinesAtRoot);
  EXPECT_TRUE(Tree().rootIsDecorated());
  // "Arial Black" is a black face: whatever family stands in, it stays heavy.
  const QFontInfo font(Form().font());
  if (IsAspi()) {
    EXPECT_LT(font.weight(), QFont::DemiBold) << font.family().toStdString();
  } else {
    EXPECT_GE(font.weight(), QFont::Bold) << font.family().toStdString();
    EXPECT_EQ(font.pointSize(), 10);
  }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, FlashWindowTest,
                         testing::Values(&AppVariant::Aspi(), &AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>& info) {
                           return std::string(info.param->applicationTitle);
                         });

class FlashSptiWindowTest : public FlashWindowTest {};

TEST_P(FlashSptiWindowTest, DoubleClickUpdatesOnlyAfterFileOpenWasUsed) {
  ASSERT_TRUE(Start(kMachine));
  SelectDriveD();
  QTreeWidgetItem* item = Tree().topLevelItem(0);
  View().PresetConfirmAnswer(drvcmd::kIdCancel);
  emit Tree().itemDoubleClicked(item, 0);
  EXPECT_TRUE(StatusBox().empty());
  EXPECT_TRUE(app_->Messages().Recorded().empty());

  // A cancelled File Open still counts as used.
  app_->FileDialogs().PresetCancel();
  Button(Variant().fileOpenId).click();
  emit Tree().itemDoubleClicked(item, 0);
  EXPECT_NE(StatusBox().find("This file is not available"), std::string::npos) << StatusBox();
  EXPECT_FALSE(SentWriteBuffer(*machine_));
}

TEST_P(FlashSptiWindowTest, FocusInTheTreeSelectsNoDrive) {
  ASSERT_TRUE(Start(kMachine));
  // Qt makes the first item current when the tree takes the focus; that is
  // no choice of the user's, and the next layout must not make it one.
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(&Tree(), &focusIn);
  ASSERT_NE(Tree().currentItem(), nullptr);
  View().LayOut(Form().width(), Form().height());
  EXPECT_EQ(View().SelectedText(), std::nullopt);
  EXPECT_TRUE(Tree().selectedItems().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(NtBuild, FlashSptiWindowTest, testing::Values(&AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>&) {
                           return std::string("flashspti");
                         });

class FlashAspiWindowTest : public FlashWindowTest {};

TEST_P(FlashAspiWindowTest, AspiStartFailuresEndStartUpWithTheirMessages) {
  const struct {
    const char* machine;
    const char* message;
  } cases[] = {
      {kNoAspiMachine, "WNASPI32.DLL Load Error or is not found"},
      {R"({"aspi": {"manager": "failsInit"}, "devices": []})",
       "ASPI Initialize Error or Available device is not found"},
      {R"({"aspi": {"manager": "noAdapters"}, "devices": []})", "Generic error occured"},
  };
  for (const auto& failure : cases) {
    EXPECT_FALSE(Start(failure.machine));
    ASSERT_EQ(app_->Messages().Recorded().size(), 1u) << failure.message;
    EXPECT_EQ(app_->Messages().Recorded()[0].text, failure.message);
    EXPECT_EQ(app_->Messages().Recorded()[0].caption, "flashaspi");
    EXPECT_EQ(app_->Messages().Recorded()[0].style, drvcmd::kMbOk);
    EXPECT_FALSE(Frame().isVisible());
  }
}

TEST_P(FlashAspiWindowTest, PreselectedDriveDeepInALongTreeShowsWhole) {
  QFile demo(QStringLiteral(DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json"));
  ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
  ASSERT_TRUE(Start(demo.readAll().constData()));
  QCoreApplication::processEvents();
  QTreeWidgetItem* selected = Tree().currentItem();
  ASSERT_NE(selected, nullptr);
  ASSERT_NE(selected->parent(), nullptr);
  EXPECT_GT(selected->parent()->indexOfChild(selected), 3) << "deep enough to need scrolling";
  EXPECT_TRUE(Tree().viewport()->rect().contains(Tree().visualItemRect(selected)))
      << "selected drive cut at the tree's edge";
  // A window manager's decoration takes its room from the client area later;
  // the tree gets a third of what the form loses.
  Form().resize(Form().width(), Form().height() - 6 * Tree().visualItemRect(selected).height());
  QCoreApplication::processEvents();
  EXPECT_TRUE(Tree().viewport()->rect().contains(Tree().visualItemRect(selected)))
      << "selected drive cut once the form shrank";
}

TEST_P(FlashAspiWindowTest, SystemInfoShowsTheComponentsValues) {
  ASSERT_TRUE(Start(kMachine));
  Frame().MenuAction(resources::kIdAspiSystemInfo)->trigger();
  ASSERT_EQ(app_->Messages().Recorded().size(), 1u);
  EXPECT_EQ(app_->Messages().Recorded()[0].text, "Platform = 1\r\n OS Verison = 4.100.2222");
  EXPECT_EQ(app_->Messages().Recorded()[0].caption, "System Information");
}

TEST_P(FlashAspiWindowTest, SystemInfoWithoutTheComponentSaysSo) {
  ASSERT_TRUE(Start(R"({"systemInfoComponent": {"createFails": true},
                      "adapters": [{"number": 0, "identifier": "ESDI_506"}], "devices": []})"));
  EXPECT_TRUE(app_->Messages().Recorded().empty());  // the failed creation is silent
  Frame().MenuAction(resources::kIdAspiSystemInfo)->trigger();
  ASSERT_EQ(app_->Messages().Recorded().size(), 1u);
  EXPECT_EQ(app_->Messages().Recorded()[0].text,
            "The system information is not available on this computer.");
  EXPECT_EQ(app_->Messages().Recorded()[0].caption, "System Information");
}

INSTANTIATE_TEST_SUITE_P(OlderBuild, FlashAspiWindowTest, testing::Values(&AppVariant::Aspi()),
                         [](const testing::TestParamInfo<const AppVariant*>&) {
                           return std::string("flashaspi");
                         });

}  // namespace

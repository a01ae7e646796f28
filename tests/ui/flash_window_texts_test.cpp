// The updater windows' fixed texts and window boxes in both builds (menus,
// dialog labels, settings key, the dialogs' system-menu and close boxes), and
// the status box refresh at every initial update of flashspti.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_machine.h"
#include "emulator/firmware_builder.h"
#include "flash/app/updater_app.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/update_progress.h"
#include "resources/flash/flash_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/status_box.h"

namespace {

using flash::AppVariant;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"}],
  "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"}]})";

// Visible items of every menu of the bar, as "Menu|Item".
QStringList MenuItems(const QMenuBar& bar) {
  QStringList items;
  for (const QAction* menu : bar.actions()) {
    if (menu->menu() == nullptr) continue;
    for (const QAction* item : menu->menu()->actions()) {
      if (!item->isSeparator() && item->isVisible()) items << menu->text() + "|" + item->text();
    }
  }
  return items;
}

class FlashWindowTextsTest : public testing::TestWithParam<const AppVariant*> {
 protected:
  const AppVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &AppVariant::Aspi(); }

  void SetUp() override {
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(kMachine, "texts-test.json", options, &error);
    ASSERT_NE(machine_, nullptr) << error;
    app_ = std::make_unique<flash::UpdaterApp>(Variant(), *machine_);
    app_->Messages().SetScripted(true);
    app_->FileDialogs().SetScripted(true);
    ASSERT_EQ(app_->Start({}), 0);
    app_->Frame().show();
  }
  void TearDown() override { app_.reset(); }

  flash::MainFrame& Frame() { return app_->Frame(); }
  flash::UpdaterView& View() { return app_->Frame().View(); }
  ui::QtDialogHost& Form() { return app_->Frame().Form(); }
  QPlainTextEdit& StatusBox() {
    return *ui::FindControl<QPlainTextEdit>(&Form(), Variant().statusBoxId);
  }
  void NewDocument() {
    for (QAction* action : Frame().actions()) {
      if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+N"))) action->trigger();
    }
  }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<flash::UpdaterApp> app_;
};

TEST_P(FlashWindowTextsTest, MenuItemsAndSettingsKeyAreTheBuildsOwn) {
  const QStringList common = {"&File|&Open...\tCtrl+O", "&File|Recent File", "&File|E&xit"};
  if (IsAspi()) {
    const QStringList aspi = {"Tool|F/W File Search ", "&View|&Toolbar", "&Help|System Info",
                              "&Help|&About FLASHKIT..."};
    EXPECT_EQ(MenuItems(*Frame().menuBar()), common + aspi);
    EXPECT_STREQ(Variant().settingsKey, "Tavreon DVD-ROM F/W Updater");
  } else {
    const QStringList spti = {"&View|&Toolbar", "&Help|&About flashspti..."};
    EXPECT_EQ(MenuItems(*Frame().menuBar()), common + spti);
    EXPECT_STREQ(Variant().settingsKey, "Tavreon Firmware Update Utility for Win32");
  }
}

TEST_P(FlashWindowTextsTest, ConfirmationLabelsAndButtons) {
  const flash::FirmwareIdentity identity{};
  flash::ConfirmUpdateLogic logic(identity, identity);
  ui::QtDialogHost dialog(Variant().dialogs.confirmUpdate, logic, app_->Windows());
  dialog.Initialise();
  QStringList labels;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->text().trimmed().isEmpty())
      labels << label->text();  // not the blank firmware texts
  }
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Do you want to update the firmware ?", "From", "To"}));
  QStringList buttons;
  for (const QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"Cancel", "OK"}));
}

TEST_P(FlashWindowTextsTest, EachWindowHasItsBoxes) {
  // Both frames have a system menu; their minimize and maximize boxes are
  // checked with the frame's size and placement.
  EXPECT_TRUE(Frame().windowFlags().testFlag(Qt::WindowSystemMenuHint));

  // The NT build's confirmation and progress dialogs have a system menu (and
  // so a close box); the older build's have neither.
  const flash::FirmwareIdentity identity{};
  flash::ConfirmUpdateLogic confirmLogic(identity, identity);
  ui::QtDialogHost confirm(Variant().dialogs.confirmUpdate, confirmLogic, app_->Windows());
  flash::UpdateProgressLogic progressLogic;
  ui::QtDialogHost progress(Variant().dialogs.updateProgress, progressLogic, app_->Windows());
  for (const QWidget* dialog :
       {static_cast<const QWidget*>(&confirm), static_cast<const QWidget*>(&progress)}) {
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowSystemMenuHint), !IsAspi());
    EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint), !IsAspi());
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  }
}

TEST_P(FlashWindowTextsTest, OnlyTheNtBuildRefreshesTheStatusBoxAtEveryInitialUpdate) {
  View().SetStatusText("kept\r\n");
  View().RefreshStatusBox();
  ASSERT_EQ(ui::ReadStatusBox(StatusBox()), "kept\r\n");
  ui::WriteStatusBox(StatusBox(), "typed over\r\n");
  NewDocument();
  EXPECT_EQ(ui::ReadStatusBox(StatusBox()), IsAspi() ? "typed over\r\n" : "kept\r\n");
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, FlashWindowTextsTest,
                         testing::Values(&AppVariant::Aspi(), &AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>& info) {
                           return std::string(info.param->applicationTitle);
                         });

}  // namespace

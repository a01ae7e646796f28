// The keys every dialog shares, tried on every dialog of the suite: Enter
// presses the focused push button (each button in turn), else the default
// button, else ends the dialog (the updaters' form has no OK command); Escape
// ends a dialog as cancelled. The buttons' own handlers are cut off, so only
// the key rule is seen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <functional>
#include <map>
#include <memory>

#include "emulator/emulated_machine.h"
#include "flash/window/about_logic.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/updater_view.h"
#include "launcher/app/launcher_about_dialog.h"
#include "launcher/app/launcher_dialog.h"
#include "pace/app/speed_about_dialog.h"
#include "pace/app/speed_dialog.h"
#include "resources/zone/zone_dialogs.h"
#include "ui/dialog_builder.h"
#include "ui/host/simple_dialog_logic.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "zone/window/region_window.h"

namespace {

// What Enter does with no push button focused.
enum class Elsewhere { kEndsDialog, kPressesDefault, kNothing };

struct Programs {
  ui::MessageBoxService messages{"keys"};
  ui::QtWindowSystem windows{"keys"};
  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<launcher::Launcher> launcher;

  Programs() {
    emu::MachineOptions options;
    options.readOnly = true;
    std::string error;
    machine = emu::EmulatedMachine::LoadText(R"({"devices": []})", "keys.json", options, &error);
    launcher = std::make_unique<launcher::Launcher>(*machine);
    launcher->CaptureSystem();
    messages.SetScripted(true);
    windows.SetScripted(true);
  }
};

// A dialog of the window host with its logic, which it outlives by nothing.
struct LogicHolder {
  std::unique_ptr<ui::DialogLogic> logic;
};
struct HostedDialog : LogicHolder, ui::QtDialogHost {
  HostedDialog(const ui::DialogTemplate& dialog, std::unique_ptr<ui::DialogLogic> owned,
               ui::QtWindowSystem& windows)
      : LogicHolder{std::move(owned)}, ui::QtDialogHost(dialog, *logic, windows) {
    Initialise();
  }
};

struct DialogRow {
  const char* name;
  std::function<std::unique_ptr<QWidget>(Programs&)> make;
  Elsewhere elsewhere;
  int defaultId = 0;  // kPressesDefault
};

using Window = std::unique_ptr<QWidget>;

// The updaters' windows: the form (whose File Open is never pressed here),
// the confirmation and the About box.
class NoFiles : public flash::OpenFileDialog {
 public:
  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest&) override {
    return std::nullopt;
  }
};

const flash::FirmwareIdentity kIdentity{};

Window FlashForm(const flash::AppVariant& variant, Programs& p) {
  static NoFiles files;
  return std::make_unique<HostedDialog>(
      variant.dialogs.mainForm,
      std::make_unique<flash::UpdaterView>(variant, p.windows, files, [](int) {}), p.windows);
}

Window FlashConfirmation(const flash::AppVariant& variant, Programs& p) {
  return std::make_unique<HostedDialog>(
      variant.dialogs.confirmUpdate,
      std::make_unique<flash::ConfirmUpdateLogic>(kIdentity, kIdentity), p.windows);
}

Window FlashAbout(const flash::AppVariant& variant, Programs& p) {
  return std::make_unique<HostedDialog>(
      variant.dialogs.aboutBox, std::make_unique<flash::UpdaterAboutLogic>(variant), p.windows);
}

const DialogRow kDialogs[] = {
    {"pacespti",
     [](Programs& p) -> Window {
       return std::make_unique<pace::SpeedDialog>(pace::SpeedWindowVariant::Spti(), p.messages);
     },
     Elsewhere::kEndsDialog},
    {"paceaspi",
     [](Programs& p) -> Window {
       return std::make_unique<pace::SpeedDialog>(pace::SpeedWindowVariant::Aspi(), p.messages);
     },
     Elsewhere::kEndsDialog},
    {"zonespti",
     [](Programs& p) -> Window {
       return std::make_unique<HostedDialog>(resources::RegionDialogTemplate(),
                                             std::make_unique<zone::RegionWindow>(p.windows),
                                             p.windows);
     },
     Elsewhere::kEndsDialog},
    {"toolgate",
     [](Programs& p) -> Window {
       return std::make_unique<launcher::LauncherDialog>(*p.launcher, p.messages);
     },
     Elsewhere::kEndsDialog},
    {"flashaspi form",
     [](Programs& p) -> Window { return FlashForm(flash::AppVariant::Aspi(), p); },
     Elsewhere::kNothing},
    {"flashspti form",
     [](Programs& p) -> Window { return FlashForm(flash::AppVariant::Spti(), p); },
     Elsewhere::kNothing},
    {"flashaspi confirmation",
     [](Programs& p) -> Window { return FlashConfirmation(flash::AppVariant::Aspi(), p); },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"flashspti confirmation",
     [](Programs& p) -> Window { return FlashConfirmation(flash::AppVariant::Spti(), p); },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"flashaspi about",
     [](Programs& p) -> Window { return FlashAbout(flash::AppVariant::Aspi(), p); },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"flashspti about",
     [](Programs& p) -> Window { return FlashAbout(flash::AppVariant::Spti(), p); },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"zonespti about",
     [](Programs& p) -> Window {
       return std::make_unique<HostedDialog>(resources::ZoneAboutTemplate(),
                                             std::make_unique<ui::SimpleDialogLogic>(), p.windows);
     },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"pacespti about",
     [](Programs&) -> Window {
       return std::make_unique<pace::SpeedAboutDialog>(pace::SpeedWindowVariant::Spti(), nullptr);
     },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"paceaspi about",
     [](Programs&) -> Window {
       return std::make_unique<pace::SpeedAboutDialog>(pace::SpeedWindowVariant::Aspi(), nullptr);
     },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
    {"toolgate about",
     [](Programs&) -> Window { return std::make_unique<launcher::LauncherAboutDialog>(nullptr); },
     Elsewhere::kPressesDefault, ui::kIdControlOk},
};

void PrintTo(const DialogRow& row, std::ostream* out) { *out << row.name; }

void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

class DialogKeysTest : public testing::TestWithParam<DialogRow> {
 protected:
  void SetUp() override {
    window_ = GetParam().make(programs_);
    // Cut the handlers off and count the presses instead.
    for (QPushButton* button : window_->findChildren<QPushButton*>()) {
      QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
      QObject::connect(button, &QAbstractButton::clicked, [this, button] { ++presses_[button]; });
    }
    window_->show();
  }

  // Each button pressed so far, by its control id's object name.
  std::map<QString, int> Presses() const {
    std::map<QString, int> named;
    for (const auto& [button, count] : presses_) named[button->objectName()] += count;
    return named;
  }
  QDialog* AsDialog() const { return qobject_cast<QDialog*>(window_.get()); }

  Programs programs_;
  std::unique_ptr<QWidget> window_;
  std::map<QPushButton*, int> presses_;
};

TEST_P(DialogKeysTest, EnterPressesTheFocusedButtonElseTheDefaultElseEndsTheDialog) {
  const QList<QPushButton*> buttons = window_->findChildren<QPushButton*>();
  ASSERT_FALSE(buttons.isEmpty());
  for (QPushButton* button : buttons) {
    presses_.clear();
    button->setFocus();
    PressKey(button, Qt::Key_Return);
    EXPECT_EQ(Presses(), (std::map<QString, int>{{button->objectName(), 1}}))
        << button->text().toStdString();
    EXPECT_TRUE(window_->isVisible()) << button->text().toStdString();
  }

  presses_.clear();
  window_->setFocus();
  PressKey(window_.get(), Qt::Key_Enter);
  switch (GetParam().elsewhere) {
    case Elsewhere::kEndsDialog:
      EXPECT_TRUE(Presses().empty());
      EXPECT_FALSE(window_->isVisible());
      ASSERT_NE(AsDialog(), nullptr);
      EXPECT_EQ(AsDialog()->result(), QDialog::Accepted);
      break;
    case Elsewhere::kPressesDefault:
      EXPECT_EQ(Presses(),
                (std::map<QString, int>{{ui::ControlObjectName(GetParam().defaultId), 1}}));
      EXPECT_TRUE(window_->isVisible());
      break;
    case Elsewhere::kNothing:
      EXPECT_TRUE(Presses().empty());
      EXPECT_TRUE(window_->isVisible());
      break;
  }
}

TEST_P(DialogKeysTest, EscapeCancelsADialogWhateverIsFocused) {
  window_->findChildren<QPushButton*>().front()->setFocus();
  PressKey(window_->focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(Presses().empty());
  if (GetParam().elsewhere == Elsewhere::kNothing) {
    EXPECT_TRUE(window_->isVisible()) << "the form has no Cancel command";
  } else {
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(AsDialog()->result(), QDialog::Rejected);
  }
}

TEST(DialogKeys, DisabledDefaultButtonTakesNoEnterAndTheDialogStays) {
  pace::SpeedAboutDialog about(pace::SpeedWindowVariant::Spti(), nullptr);
  about.show();
  QPushButton* ok = ui::FindControl<QPushButton>(&about, ui::kIdControlOk);
  ok->setEnabled(false);
  about.setFocus();
  PressKey(&about, Qt::Key_Return);
  EXPECT_TRUE(about.isVisible());
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogKeysTest, testing::ValuesIn(kDialogs),
                         [](const testing::TestParamInfo<DialogRow>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

}  // namespace

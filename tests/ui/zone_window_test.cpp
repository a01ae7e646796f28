// zonespti's window on the Qt host, what only Qt shows: the dialog's caption,
// font and fixed size, the widgets' kinds, the pushed look as drawn, typing
// into the drive list and picking from its popup, the choices below the
// group's caption, the keys, the system menu's entries and the About box as
// shown, and the start-up box's caption. What the window logic does on either
// host is in tests/window/zone_window_cases.cpp.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "resources/zone/zone_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/status_box.h"
#include "ui/system_menu.h"
#include "zone/app/pushed_look_style.h"
#include "zone/window/region_program.h"
#include "tests/window/zone_window_machine.h"

namespace {

using window_test::kInitialDrive;
using window_test::kRegion2Drive;
using window_test::ZoneMachine;

class ZoneWindowTest : public ::testing::Test {
 protected:
  // Starts the program as zonespti does, with message boxes scripted and
  // modal dialogs shown for real; false when start-up ended it.
  bool Start(const std::string& machineJson) {
    program_.reset();
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(machineJson, "zone-window.json", options, &error);
    EXPECT_NE(machine_, nullptr) << error;
    if (machine_ == nullptr) return false;
    windows_ = std::make_unique<ui::QtWindowSystem>();
    windows_->Messages().SetScripted(true);
    zone::SetUpRegionWindows(*windows_);
    program_ = std::make_unique<zone::RegionProgram>(*windows_, *machine_, &look_);
    return program_->Start() == 0;
  }

  ui::QtDialogHost& Dialog() { return ui::QtWindowSystem::DialogOf(*program_->Open()); }
  template <typename T>
  T& Control(int id) {
    return *ui::FindControl<T>(&Dialog(), id);
  }
  QRadioButton& Choice(int region) {
    return Control<QRadioButton>(resources::kRegionChoiceIds[region - 1]);
  }
  std::string StatusBox() {
    return ui::ReadStatusBox(Control<QPlainTextEdit>(resources::kIdcZoneStatusBox));
  }

  zone::QtPushedLook look_;  // outlives the windows whose buttons use its style
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<ui::QtWindowSystem> windows_;
  std::unique_ptr<zone::RegionProgram> program_;
};

TEST_F(ZoneWindowTest, TemplateCaptionFontAndWidgets) {
  ASSERT_TRUE(Start(ZoneMachine("")));
  ui::QtDialogHost& dialog = Dialog();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Region Utility for Windows2000"));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "not resizable";
  EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(dialog.font().pointSize(), 8);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Choice(4).text(), QStringLiteral("Region 4 (Australlia, South America)"));
  EXPECT_EQ(Control<QGroupBox>(resources::kIdcDiscGroup).title(),
            QStringLiteral("Disc Regional Code"));
  EXPECT_TRUE(Control<QPlainTextEdit>(resources::kIdcZoneStatusBox).isReadOnly());
  EXPECT_TRUE(Control<QComboBox>(resources::kIdcZoneDriveList).isEditable());
  for (const int id :
       {resources::kIdcGetRegion, resources::kIdcSetRegion, resources::kIdcZoneExit}) {
    EXPECT_FALSE(Control<QPushButton>(id).isDefault()) << id;
    EXPECT_FALSE(Control<QPushButton>(id).autoDefault()) << id;
  }
  EXPECT_FALSE(QApplication::windowIcon().isNull()) << "the program icon";
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("zonespti"));
}

TEST_F(ZoneWindowTest, TheDrivesRegionLooksPushedForGood) {
  ASSERT_TRUE(Start(ZoneMachine(kRegion2Drive)));
  QRadioButton& choice = Choice(2);
  EXPECT_TRUE(choice.isChecked());
  EXPECT_TRUE(zone::HasPushedLook(choice));
  EXPECT_FALSE(zone::HasPushedLook(Choice(1)));

  // The look is drawn: the same button painted without it differs.
  const QImage pushed = choice.grab().toImage();
  choice.setProperty(zone::kPushedProperty, false);
  const QImage plain = choice.grab().toImage();
  choice.setProperty(zone::kPushedProperty, true);
  EXPECT_NE(pushed, plain);
  // Its indicator is the style's pressed (sunken) one, not only a highlight behind it.
  const QStyle* look = choice.style();
  ASSERT_EQ(look, &look_.Style());
  const QStyle* base = static_cast<const QProxyStyle*>(look)->baseStyle();
  QStyleOptionButton option;
  option.initFrom(&choice);
  option.rect = look->subElementRect(QStyle::SE_RadioButtonIndicator, &option, &choice);
  const auto indicator = [&](const QStyle* style, QStyle::State extra) {
    QImage image(choice.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionButton painted(option);
    painted.state |= extra;
    style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &painted, &painter, &choice);
    return image;
  };
  EXPECT_EQ(indicator(look, {}), indicator(base, QStyle::State_Sunken));
  EXPECT_NE(indicator(base, {}), indicator(base, QStyle::State_Sunken));
  // It stays when the button is disabled (a later query of another drive).
  choice.setEnabled(false);
  EXPECT_NE(choice.grab().toImage(), [&] {
    choice.setProperty(zone::kPushedProperty, false);
    QImage image = choice.grab().toImage();
    choice.setProperty(zone::kPushedProperty, true);
    return image;
  }());
}

TEST_F(ZoneWindowTest, APushedLookIsNeverCleared) {
  ASSERT_TRUE(Start(ZoneMachine(std::string(kInitialDrive) + "," + kRegion2Drive)));
  Choice(6).click();
  QTest::mouseClick(&Control<QPushButton>(resources::kIdcSetRegion), Qt::LeftButton);
  EXPECT_TRUE(zone::HasPushedLook(Choice(6)));
  Control<QComboBox>(resources::kIdcZoneDriveList).setCurrentIndex(1);
  EXPECT_TRUE(zone::HasPushedLook(Choice(2)));
  EXPECT_TRUE(zone::HasPushedLook(Choice(6))) << "never cleared";
}

TEST_F(ZoneWindowTest, TypingIntoTheDriveListAndPickingFromItsPopup) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  QComboBox& list = Control<QComboBox>(resources::kIdcZoneDriveList);
  list.lineEdit()->clear();
  QTest::keyClicks(list.lineEdit(), QStringLiteral("Q:"));
  const std::size_t typed = StatusBox().size();
  QTest::mouseClick(&Control<QPushButton>(resources::kIdcGetRegion), Qt::LeftButton);
  EXPECT_EQ(StatusBox().substr(typed), "Valid Item is not selected.\r\n");
  list.showPopup();
  list.view()->setCurrentIndex(list.model()->index(0, 0));
  QTest::keyClick(list.view(), Qt::Key_Return);
  EXPECT_EQ(list.currentText().left(3), QStringLiteral("D: "));
  EXPECT_EQ(
      StatusBox().substr(typed),
      "Valid Item is not selected.\r\nDrive has no region.\r\nGet disc region is failed.\r\n");
}

TEST_F(ZoneWindowTest, NoSequenceStartsWhileAnotherWaitsForAnAnswer) {
  ASSERT_TRUE(Start(ZoneMachine(
      R"({"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
          "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"}})")));
  windows_->Messages().SetScripted(false);  // real boxes, each running its own loop
  int boxes = 0;
  bool clicked = false;
  QMessageBox* first = nullptr;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (first == nullptr) {
      first = box;
      ++boxes;
      // The user clicks the window's buttons while the box waits (from a
      // timer of its own, so a box such a click opened is answered too).
      QTimer::singleShot(0, [&] {
        Control<QPushButton>(resources::kIdcGetRegion).click();
        Control<QPushButton>(resources::kIdcSetRegion).click();
        clicked = true;
      });
      return;
    }
    if (box != first) ++boxes;
    if (box != first || clicked) box->reject();  // Cancel: the change ends
  });
  answer.start(0);
  Control<QPushButton>(resources::kIdcSetRegion).click();
  answer.stop();
  EXPECT_EQ(boxes, 1);
  const std::string status = StatusBox();
  EXPECT_EQ(status,
            "Drive's region is 2.\r\nGet disc region is failed.\r\n"
            "Operation is canceled.\r\nDrive's region is 2.\r\nGet disc region is failed.\r\n");
}

TEST_F(ZoneWindowTest, RegionChoicesStartBelowTheGroupsCaption) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  const QRect group = Control<QGroupBox>(resources::kIdcRegionGroup).geometry();
  EXPECT_GT(Choice(1).geometry().top(), group.top() + Dialog().fontMetrics().height() / 2);
}

TEST_F(ZoneWindowTest, EscapeAndEnterEndTheDialogAButtonTakesEnter) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  QTest::keyClick(&Dialog(), Qt::Key_Escape);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(program_->Open()->Result(), ui::kIdCancel);

  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  QPushButton& get = Control<QPushButton>(resources::kIdcGetRegion);
  get.setFocus();
  const std::size_t before = StatusBox().size();
  QTest::keyClick(&get, Qt::Key_Return);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_GT(StatusBox().size(), before) << "Enter on Get Region queried";
  QComboBox& list = Control<QComboBox>(resources::kIdcZoneDriveList);
  list.setFocus();
  QTest::keyClick(list.lineEdit(), Qt::Key_Return);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  EXPECT_EQ(program_->Open()->Result(), ui::kIdOk);

  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  Dialog().close();  // the close box
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(program_->Open()->Result(), ui::kIdCancel);
}

TEST_F(ZoneWindowTest, SystemMenuAboutBoxAndTheStartUpBoxsCaption) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  QStringList entries;
  for (QAction* action : Dialog().Menu()->Menu()->actions()) {
    entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  EXPECT_EQ(entries, (QStringList{"&Close\tAlt+F4", "-", "&About zonespti..."}));
  QAction* about = Dialog().Menu()->Action(resources::kIdmAboutZone);
  ASSERT_NE(about, nullptr);
  QString shownTitle;
  QString shownText;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    shownTitle = box->windowTitle();
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      if (!label->text().isEmpty()) shownText = label->text();
    }
    box->close();
  });
  about->trigger();
  EXPECT_EQ(shownTitle, QStringLiteral("About zonespti"));
  EXPECT_EQ(shownText, QStringLiteral("zonespti Version 1.0"));
  EXPECT_TRUE(Dialog().isVisible());

  EXPECT_FALSE(Start(ZoneMachine(kInitialDrive, R"("memory": {"failAllocation": 1},)")));
  ASSERT_EQ(windows_->Messages().Recorded().size(), 1u);
  EXPECT_EQ(windows_->Messages().Recorded()[0].text, "Memory Allocation Error");
  EXPECT_EQ(windows_->Messages().Recorded()[0].caption, "zonespti");
}

}  // namespace

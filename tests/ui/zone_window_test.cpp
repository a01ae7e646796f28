// zonespti's window offscreen on emulated machines: the template, start-up and
// its failure, the real buttons, the drive list, the disc box, the pushed
// look, the placement of the region choices, the system menu and the keys.
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

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "resources/zone/zone_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/status_box.h"
#include "zone/app/pushed_look_style.h"
#include "zone/app/region_about_dialog.h"
#include "zone/app/region_app.h"

namespace {

using zone::RegionDialog;

std::string Machine(const std::string& devices, const std::string& extra = {}) {
  return R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],)" + extra + R"("devices": [)" +
         devices + "]}";
}

constexpr char kInitialDrive[] = R"({"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"})";
constexpr char kRegion2Drive[] =
    R"({"letter": "E", "adapter": 0, "target": 1, "model": "KD-410",
        "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"},
        "disc": {"type": "dvd", "regions": [2]}})";

class ZoneWindowTest : public ::testing::Test {
 protected:
  // Starts the program; false when start-up ended it.
  bool Start(const std::string& machineJson) {
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    app_.reset();
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(machineJson, "zone-window.json", options, &error);
    EXPECT_NE(machine_, nullptr) << error;
    if (machine_ == nullptr) return false;
    app_ = std::make_unique<zone::RegionApp>(*machine_);
    app_->Messages().SetScripted(true);
    if (app_->Start() != 0) return false;
    Dialog().show();
    return true;
  }

  RegionDialog& Dialog() { return app_->Dialog(); }
  std::string StatusBox() { return ui::ReadStatusBox(*Dialog().StatusBox()); }
  QPushButton& Button(int id) { return *Dialog().Button(id); }
  std::string Label() { return Dialog().ChangesLeftLabel()->text().toStdString(); }
  std::string Enabled() {
    std::string regions;
    for (int region = 1; region <= 6; ++region) {
      if (Dialog().RegionChoice(region)->isEnabled()) regions += std::to_string(region);
    }
    return regions;
  }
  bool SentSendKey() {
    for (const emu::LoggedCommand& entry : machine_->Log().Entries()) {
      if (entry.cdb[0] == 0xA3) return true;
    }
    return false;
  }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<zone::RegionApp> app_;
};

TEST_F(ZoneWindowTest, TemplateCaptionControlsAndTheirStartStates) {
  ASSERT_TRUE(Start(Machine("")));
  RegionDialog& dialog = Dialog();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Region Utility for Windows2000"));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "not resizable";
  EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(dialog.font().pointSize(), 8);
  EXPECT_EQ(ui::FindControl<QLabel>(&dialog, resources::kIdcZoneTitle)->text(),
            QStringLiteral("DVD-ROM Region Utility for Windows2000"));
  EXPECT_EQ(dialog.RegionChoice(4)->text(), QStringLiteral("Region 4 (Australlia, South America)"));
  EXPECT_EQ(dialog.RegionChoice(5)->text(),
            QStringLiteral("Region 5 (Russian, East Europe, Africa)"));
  EXPECT_EQ(dialog.DiscIndicator(6)->text(), QStringLiteral("Region 6"));
  EXPECT_EQ(ui::FindControl<QGroupBox>(&dialog, resources::kIdcDiscGroup)->title(),
            QStringLiteral("Disc Regional Code"));
  EXPECT_EQ(Button(resources::kIdcGetRegion).text(), QStringLiteral("Get Region"));
  EXPECT_TRUE(dialog.StatusBox()->isReadOnly());
  EXPECT_TRUE(dialog.DriveList()->isEditable());

  // No drive: empty list, template states, empty status box.
  EXPECT_EQ(dialog.DriveList()->count(), 0);
  EXPECT_EQ(Label(), "Regional code can can be changed 5 times");
  EXPECT_EQ(Enabled(), "");
  for (int region = 1; region <= 6; ++region) {
    EXPECT_FALSE(dialog.DiscIndicator(region)->isEnabled());
    EXPECT_FALSE(Button(resources::kIdcGetRegion).isDefault());
    EXPECT_FALSE(Button(resources::kIdcGetRegion).autoDefault());
  }
  EXPECT_EQ(StatusBox(), "");
  Button(resources::kIdcGetRegion).click();
  EXPECT_EQ(StatusBox(), "Valid Item is not selected.\r\n");
  EXPECT_EQ(machine_->Log().Entries().size(), 0u);
}

TEST_F(ZoneWindowTest, FirstDriveIsQueriedAtStartAndTheDrivesRegionLooksPushed) {
  ASSERT_TRUE(Start(Machine(kRegion2Drive)));
  EXPECT_EQ(Dialog().DriveList()->currentText().left(3), QStringLiteral("E: "));
  EXPECT_EQ(StatusBox(), "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(Label(), "Regional code can be changed 4time(s)");
  EXPECT_EQ(Enabled(), "2");
  QRadioButton& choice = *Dialog().RegionChoice(2);
  EXPECT_TRUE(choice.isChecked());
  EXPECT_TRUE(zone::HasPushedLook(choice));
  EXPECT_FALSE(zone::HasPushedLook(*Dialog().RegionChoice(1)));
  EXPECT_TRUE(Dialog().DiscIndicator(2)->isChecked());
  EXPECT_TRUE(Dialog().DiscIndicator(2)->isEnabled());

  // The look is drawn: the same button painted without it differs.
  const QImage pushed = choice.grab().toImage();
  choice.setProperty(zone::kPushedProperty, false);
  const QImage plain = choice.grab().toImage();
  choice.setProperty(zone::kPushedProperty, true);
  EXPECT_NE(pushed, plain);
  // Its indicator is the style's pressed (sunken) one, not only a highlight behind it.
  const QStyle* look = choice.style();
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

TEST_F(ZoneWindowTest, SelectingAnotherDriveQueriesItAndSetRegionChangesIt) {
  ASSERT_TRUE(Start(Machine(std::string(kInitialDrive) + "," + kRegion2Drive)));
  EXPECT_EQ(StatusBox(), "Drive has no region.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(Enabled(), "123456");

  Dialog().RegionChoice(3)->click();
  Dialog().RegionChoice(6)->click();
  EXPECT_FALSE(Dialog().RegionChoice(3)->isChecked()) << "one radio group";
  EXPECT_TRUE(Dialog().RegionChoice(6)->isChecked());
  QTest::mouseClick(&Button(resources::kIdcSetRegion), Qt::LeftButton);
  EXPECT_EQ(
      StatusBox(),
      "Drive has no region.\r\nGet disc region is failed.\r\n"
      "Success to set regional code.\r\nDrive's region is 6.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(Label(), "Regional code can be changed 4time(s)");
  EXPECT_EQ(machine_->DriveAtLetter('D')->Region().mask, 0xDF);

  Dialog().DriveList()->setCurrentIndex(1);
  EXPECT_EQ(StatusBox().substr(StatusBox().size() - 53),
            "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(Enabled(), "2");
  EXPECT_TRUE(zone::HasPushedLook(*Dialog().RegionChoice(6))) << "never cleared";
}

TEST_F(ZoneWindowTest, DiscBoxCancelAndTypedDriveText) {
  ASSERT_TRUE(Start(Machine(
      R"({"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
          "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"}})")));
  app_->Messages().ClearRecorded();
  app_->Messages().PresetAnswer(drvcmd::kIdOk);
  app_->Messages().PresetAnswer(drvcmd::kIdCancel);
  Button(resources::kIdcSetRegion).click();
  ASSERT_EQ(app_->Messages().Recorded().size(), 2u);
  EXPECT_EQ(app_->Messages().Recorded()[1].caption, "Attention");
  EXPECT_EQ(app_->Messages().Recorded()[1].text,
            "Disc is not present !\r\nPlease insert approproiate disc");
  EXPECT_EQ(StatusBox().substr(StatusBox().find("Operation")),
            "Operation is canceled.\r\nDrive's region is 2.\r\nGet disc region is failed.\r\n");
  EXPECT_FALSE(SentSendKey());

  // Typed text selects no list item.
  Dialog().DriveList()->lineEdit()->setText(QStringLiteral("X: something"));
  const std::size_t before = StatusBox().size();
  Button(resources::kIdcGetRegion).click();
  Button(resources::kIdcSetRegion).click();
  EXPECT_EQ(StatusBox().substr(before),
            "Valid Item is not selected.\r\nValid Item is not selected.\r\n"
            "Valid Item is not selected.\r\n");
  EXPECT_EQ(Dialog().DriveList()->count(), 1) << "typed text is never added to the list";

  // Picking the drive from the list again after typing selects it: a query runs.
  QComboBox& list = *Dialog().DriveList();
  list.lineEdit()->clear();
  QTest::keyClicks(list.lineEdit(), QStringLiteral("Q:"));
  const std::size_t typed = StatusBox().size();
  list.showPopup();
  list.view()->setCurrentIndex(list.model()->index(0, 0));
  QTest::keyClick(list.view(), Qt::Key_Return);
  EXPECT_EQ(list.currentText().left(3), QStringLiteral("D: "));
  EXPECT_EQ(StatusBox().substr(typed), "Drive's region is 2.\r\nGet disc region is failed.\r\n");
}

TEST_F(ZoneWindowTest, RegionChoicesAreStackedInsideTheGroupAboveTheLabel) {
  ASSERT_TRUE(Start(Machine(kInitialDrive)));
  const QRect group = ui::FindControl<QGroupBox>(&Dialog(), resources::kIdcRegionGroup)->geometry();
  const QRect label = Dialog().ChangesLeftLabel()->geometry();
  int previousBottom = group.top();
  for (int region = 1; region <= 6; ++region) {
    const QRect choice = Dialog().RegionChoice(region)->geometry();
    EXPECT_TRUE(group.contains(choice)) << region;
    EXPECT_GE(choice.top(), previousBottom) << region;
    EXPECT_LE(choice.bottom(), label.top()) << region;
    previousBottom = choice.bottom();
  }
  EXPECT_TRUE(group.contains(label));
  EXPECT_GT(Dialog().RegionChoice(1)->geometry().top(),
            group.top() + Dialog().fontMetrics().height() / 2)
      << "below the group's caption";
}

TEST_F(ZoneWindowTest, ExitEscapeAndEnterEndTheDialogAButtonTakesEnter) {
  ASSERT_TRUE(Start(Machine(kInitialDrive)));
  Button(resources::kIdcZoneExit).click();
  EXPECT_FALSE(Dialog().isVisible());

  ASSERT_TRUE(Start(Machine(kInitialDrive)));
  QTest::keyClick(&Dialog(), Qt::Key_Escape);
  EXPECT_FALSE(Dialog().isVisible());

  ASSERT_TRUE(Start(Machine(kInitialDrive)));
  Button(resources::kIdcGetRegion).setFocus();
  const std::size_t before = StatusBox().size();
  QTest::keyClick(&Button(resources::kIdcGetRegion), Qt::Key_Return);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_GT(StatusBox().size(), before) << "Enter on Get Region queried";
  Dialog().DriveList()->setFocus();
  QTest::keyClick(Dialog().DriveList()->lineEdit(), Qt::Key_Return);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
}

TEST_F(ZoneWindowTest, SystemMenuAboutAndAllocationFailure) {
  ASSERT_TRUE(Start(Machine(kInitialDrive)));
  QStringList entries;
  for (QAction* action : Dialog().SystemMenu()->Menu()->actions()) {
    entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  EXPECT_EQ(entries, (QStringList{"&Close\tAlt+F4", "-", "&About zonespti..."}));
  QAction* about = Dialog().SystemMenu()->Action(resources::kIdmAboutZone);
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

  EXPECT_FALSE(Start(Machine(kInitialDrive, R"("memory": {"failAllocation": 1},)")));
  ASSERT_EQ(app_->Messages().Recorded().size(), 1u);
  EXPECT_EQ(app_->Messages().Recorded()[0].text, "Memory Allocation Error");
  EXPECT_EQ(app_->Messages().Recorded()[0].caption, "zonespti");
  EXPECT_EQ(machine_->LiveMemoryBlocks(), 0u) << "what was allocated is released";
}

}  // namespace

// Both speed utility windows offscreen on an emulated machine: start-up, the
// real buttons, the status box, the message boxes, the About box from the
// system menu and the ways the dialog ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "pace/app/speed_about_dialog.h"
#include "pace/app/speed_app.h"
#include "pace/extraction_speed_table.h"
#include "resources/pace/pace_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_units.h"
#include "ui/status_box.h"

namespace {

using pace::SpeedWindowVariant;
namespace ids = resources;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"}],
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-310", "disc": "cd",
     "speedMode": "quiet"},
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-410"}
  ]})";

constexpr char kNoDrivesMachine[] = R"({"aspi": {"manager": "missing"}, "devices": []})";

// Key presses as a user makes them, so edit fields see typed text.
void PressKey(QWidget* target, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

void TypeText(QWidget* target, const QString& text) {
  for (const QChar c : text) PressKey(target, c.toUpper().unicode(), QString(c));
}

QStringList Entries(const QComboBox& combo) {
  QStringList entries;
  for (int i = 0; i < combo.count(); ++i) entries << combo.itemText(i);
  return entries;
}

class PaceWindowTest : public testing::TestWithParam<const SpeedWindowVariant*> {
 protected:
  const SpeedWindowVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &SpeedWindowVariant::Aspi(); }

  // Starts the program on a machine and shows its dialog; false when start-up failed.
  bool Start(const char* machineJson) {
    app_.reset();  // a program never outlives the machine it runs on
    machine_ = testsupport::LoadWindowTestMachine(machineJson);
    if (machine_ == nullptr) return false;
    app_ = std::make_unique<pace::SpeedApp>(Variant(), *machine_);
    app_->Messages().SetScripted(true);
    if (app_->Start() != 0) return false;
    Dialog().show();
    machine_->Log().Clear();
    return true;
  }

  pace::SpeedDialog& Dialog() { return app_->Dialog(); }
  QPushButton& Button(int id) { return *Dialog().Button(id); }
  std::string StatusBox() { return ui::ReadStatusBox(*Dialog().StatusBox()); }
  const std::vector<ui::RecordedMessage>& Messages() { return app_->Messages().Recorded(); }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<pace::SpeedApp> app_;
};

TEST_P(PaceWindowTest, StartsWithTheDrivesListedAndTheFirstEntriesSelected) {
  ASSERT_TRUE(Start(kMachine));
  EXPECT_EQ(Dialog().windowTitle(), QStringLiteral("Speed Control Utility"));
  EXPECT_EQ(
      Dialog().DriveList()->objectName(),
      ui::ControlObjectName(IsAspi() ? ids::kIdcAspiSpeedDriveList : ids::kIdcSptiSpeedDriveList));
  if (IsAspi()) {
    EXPECT_EQ(Entries(*Dialog().DriveList()),
              (QStringList{"ID=0 : TAVREON DVD-ROM KD-310   ESDI_506",
                           "ID=1 : TAVREON DVD-ROM KD-410   ESDI_506"}));
  } else {
    EXPECT_EQ(Entries(*Dialog().DriveList()),
              (QStringList{"D: TAVREON DVD-ROM KD-310   (C/DVD-ROM)",
                           "E: TAVREON DVD-ROM KD-410   (C/DVD-ROM)"}));
  }
  EXPECT_EQ(Dialog().SelectedDrive(), std::optional<int>(0));
  EXPECT_EQ(Entries(*Dialog().ExtractionList()),
            (QStringList{"Maximum Speed", "4X", "8X", "10X", "12X", "16X"}));
  EXPECT_EQ(Dialog().SelectedExtractionSpeed(), std::optional<int>(0));
  EXPECT_TRUE(Dialog().DriveList()->isEditable());
  EXPECT_TRUE(Dialog().StatusBox()->isReadOnly());
  EXPECT_EQ(StatusBox(), "");
  // No operation runs at start, and none of the buttons is a default button.
  EXPECT_TRUE(machine_->Log().Entries().empty());
  for (QPushButton* button : Dialog().findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();
  }
  EXPECT_EQ(Button(ids::kIdcQuietPermanent).text(), QStringLiteral("Quiet Mode\n(Permanent)"));
}

// Each build's window as its template gives it: caption, font, size, and
// every control's caption and rectangle (dialog units) in both layouts.
struct SpeedControlRow {
  int id;  // 0: the build's drive list
  const char* text;
  QRect spti;
  QRect aspi;
};
constexpr SpeedControlRow kSpeedControls[] = {
    {0, "", {7, 7, 190, 30}, {7, 7, 143, 30}},
    {ids::kIdcSpeedStatusBox, "", {7, 28, 190, 29}, {7, 25, 143, 21}},
    {ids::kIdcExtractionLabel, "Audio Extraction Speed", {7, 65, 73, 8}, {7, 50, 55, 8}},
    {ids::kIdcExtractionList, "", {7, 76, 94, 30}, {7, 63, 71, 30}},
    {ids::kIdcExtractionSet,
     "Extraction Speed Set\n(Temporary)",
     {102, 70, 95, 27},
     {79, 58, 72, 20}},
    {ids::kIdcQuietTemporary, "Quiet Mode\n(Temporary)", {7, 97, 95, 27}, {7, 80, 72, 20}},
    {ids::kIdcQuietPermanent, "Quiet Mode\n(Permanent)", {102, 97, 95, 27}, {79, 80, 72, 20}},
    {ids::kIdcPerformanceTemporary,
     "Performance Mode\n(Temporary)",
     {7, 122, 95, 27},
     {7, 100, 72, 20}},
    {ids::kIdcPerformancePermanent,
     "Performance Mode\n(Permanent)",
     {102, 122, 95, 27},
     {79, 100, 72, 20}},
    {ids::kIdcDriveInformation, "Drive Information", {7, 148, 95, 27}, {7, 120, 72, 20}},
    {ids::kIdcSpeedExit, "Exit", {102, 148, 95, 27}, {79, 120, 72, 20}},
};

struct SpeedWindowRow {
  const char* font;
  QSize dialog;
  QSize about;
};
constexpr SpeedWindowRow kSptiWindow = {"MS Sans Serif", {204, 182}, {186, 63}};
constexpr SpeedWindowRow kAspiWindow = {"Arial Black", {158, 147}, {202, 60}};

TEST_P(PaceWindowTest, WindowsAreBuiltFromTheTemplateValues) {
  const SpeedWindowRow& window = IsAspi() ? kAspiWindow : kSptiWindow;
  const ui::DialogTemplate& dialog = Variant().templates.speedDialog;
  EXPECT_STREQ(dialog.caption, "Speed Control Utility");
  EXPECT_STREQ(dialog.fontFamily, window.font);
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(QSize(dialog.width, dialog.height), window.dialog);
  const ui::DialogTemplate& about = Variant().templates.aboutBox;
  EXPECT_STREQ(about.caption, "About Speed Control Utility");
  EXPECT_STREQ(about.fontFamily, "Arial Black");
  EXPECT_EQ(about.pointSize, 8);
  EXPECT_EQ(QSize(about.width, about.height), window.about);

  ASSERT_TRUE(Start(kMachine));
  EXPECT_EQ(Dialog().font().family(), QString::fromLatin1(window.font));
  EXPECT_EQ(Dialog().font().pointSize(), 8);
  const ui::DialogBaseUnits base = ui::BaseUnitsOf(Dialog().font());
  EXPECT_EQ(Dialog().size(), ui::DialogRectToPixels(QRect(QPoint(), window.dialog), base).size());

  ASSERT_EQ(dialog.controls.size(), std::size(kSpeedControls));
  for (const SpeedControlRow& row : kSpeedControls) {
    const int id = row.id != 0 ? row.id : Variant().templates.driveListId;
    const QRect expected = IsAspi() ? row.aspi : row.spti;
    const auto control = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                      [id](const ui::ControlTemplate& c) { return c.id == id; });
    ASSERT_NE(control, dialog.controls.end()) << id;
    EXPECT_EQ(QRect(control->x, control->y, control->width, control->height), expected) << id;
    EXPECT_STREQ(control->text, row.text) << id;

    // The widget stands where the template puts it; a push button has its size too.
    const QWidget* widget = ui::FindControl<QWidget>(&Dialog(), id);
    ASSERT_NE(widget, nullptr) << id;
    const QRect pixels = ui::DialogRectToPixels(expected, base);
    EXPECT_EQ(widget->pos(), pixels.topLeft()) << id;
    EXPECT_GE(widget->width(), pixels.width()) << id;
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
      EXPECT_EQ(button->size(), pixels.size()) << id;
      EXPECT_EQ(button->text(), QString::fromUtf8(row.text)) << id;
    }
  }
}

TEST_P(PaceWindowTest, ExtractionEntriesAreTheSpeedTablesInOrder) {
  const auto entries = Variant().templates.extractionEntries;
  ASSERT_EQ(entries.size(), pace::kExtractionSpeedTable.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_STREQ(entries[i], pace::kExtractionSpeedTable[i].text);
  }
}

TEST_P(PaceWindowTest, WithoutDrivesEachBuildStartsItsOwnWay) {
  ASSERT_TRUE(Start(kNoDrivesMachine));
  if (IsAspi()) {
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "No ATAPI I/F found.");
    EXPECT_EQ(Entries(*Dialog().DriveList()), (QStringList{"No I/F adapter"}));
    EXPECT_EQ(Dialog().SelectedExtractionSpeed(), std::nullopt);
  } else {
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Dialog().DriveList()->count(), 0);
    EXPECT_EQ(Dialog().SelectedExtractionSpeed(), std::optional<int>(0));
  }
  EXPECT_EQ(Dialog().SelectedDrive(), std::nullopt);

  // Every button says so; pacespti's Performance Mode (Permanent) in a box.
  Button(ids::kIdcQuietTemporary).click();
  EXPECT_EQ(StatusBox(), "Valid Item is not selected.");
  Button(ids::kIdcPerformancePermanent).click();
  if (IsAspi()) {
    EXPECT_EQ(StatusBox(), "Valid Item is not selected.");
  } else {
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "Valid Item is not selected.");
    EXPECT_EQ(Messages()[0].caption, "pacespti");
    EXPECT_EQ(StatusBox(), "");
  }
  EXPECT_TRUE(machine_->Log().Entries().empty());
}

TEST_P(PaceWindowTest, FailedBufferAllocationEndsTheProgramWithItsMessage) {
  EXPECT_FALSE(Start(R"({"memory": {"failAllocation": 1}, "devices": []})"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Memory Allocation Error");
  EXPECT_EQ(Messages()[0].caption, IsAspi() ? "paceaspi" : "pacespti");
}

TEST_P(PaceWindowTest, DriveInformationButtonFillsTheStatusBox) {
  ASSERT_TRUE(Start(kMachine));
  Button(ids::kIdcDriveInformation).click();
  EXPECT_EQ(StatusBox(), "Current Speed = 2816kbytes/s(16X)\r\nMaximum Speed = 5540kbytes/s(31X)");
  // A second operation replaces the first one's text.
  Dialog().ExtractionSelection().Select(4);
  Button(ids::kIdcExtractionSet).click();
  EXPECT_EQ(StatusBox(),
            IsAspi() ? "CD-DA extraction speed is changed to 2112kbytes/s(12X)."
                     : "CD-DA extraction speed is changed successfully\r\n2112kbytes/s(12X).");
  EXPECT_TRUE(Messages().empty());
}

TEST_P(PaceWindowTest, ModeButtonAsksAboutTheSpindleAndCancelStillChangesTheMode) {
  ASSERT_TRUE(Start(kMachine));
  app_->Messages().PresetAnswer(drvcmd::kIdCancel);
  Button(ids::kIdcPerformanceTemporary).click();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].text, "For safety, the spindle is stoped.");
  EXPECT_EQ(Messages()[0].caption, "Attention");
  EXPECT_EQ(Messages()[1].text, "Operation is canceled.");
  EXPECT_EQ(Messages()[1].caption, "Cancel");
  EXPECT_EQ(StatusBox(), "Drive mode is changed to performance mode (temporary)");
  EXPECT_EQ(machine_->DriveAtLetter('D')->Speed().currentMode, emu::SpeedMode::kPerformance);

  // The second drive has no disc: no question.
  Dialog().DriveSelection().Select(1);
  app_->Messages().ClearRecorded();
  Button(ids::kIdcQuietPermanent).click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(StatusBox(), "Drive mode is changed to quiet mode (permanent)");
  EXPECT_EQ(machine_->DriveAtLetter('E')->Speed().permanentMode, emu::SpeedMode::kQuiet);
}

TEST_P(PaceWindowTest, FailureShowsTheErrorBoxAndTheSameText) {
  ASSERT_TRUE(Start(R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],
    "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
                 "faults": [{"opcode": "0xBB", "sense": "05-26-00", "times": "always"}]}]})"));
  Button(ids::kIdcQuietPermanent).click();
  const std::string text = IsAspi() ? "Failed to change to quiet mode. (05-26-00)"
                                    : "Failed to change to quiet mode (permanent). (05-26-00)";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, text);
  EXPECT_EQ(Messages()[0].caption, "Error");
  EXPECT_EQ(StatusBox(), text);
}

TEST_P(PaceWindowTest, TypingIntoTheExtractionFieldDropsItsSelection) {
  ASSERT_TRUE(Start(kMachine));
  QLineEdit* edit = Dialog().ExtractionList()->lineEdit();
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  TypeText(edit, QStringLiteral("20X"));
  Button(ids::kIdcExtractionSet).click();
  EXPECT_EQ(StatusBox(), "Don't select the available drive.");
  EXPECT_TRUE(machine_->Log().Entries().empty());
  // Nothing typed goes into the list.
  EXPECT_EQ(Dialog().ExtractionList()->count(), 6);
}

TEST_P(PaceWindowTest, SystemMenuOpensTheBuildsAboutBox) {
  ASSERT_TRUE(Start(kMachine));
  QAction* about = Dialog().SystemMenu().Action(ids::kIdmSpeedAboutBox);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(),
            IsAspi() ? QStringLiteral("&About paceaspi...") : QStringLiteral("&About pacespti..."));
  QString caption;
  QStringList texts;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    caption = box->windowTitle();
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      if (!label->text().isEmpty()) texts << label->text();
    }
    ui::FindControl<QPushButton>(box, ui::kIdControlOk)->click();
  });
  about->trigger();
  EXPECT_EQ(caption, QStringLiteral("About Speed Control Utility"));
  EXPECT_EQ(texts, QStringList{IsAspi() ? QStringLiteral("Speed Control Utility Version 1.00")
                                        : QStringLiteral("Speed Control Utility Version1.00")});
  EXPECT_TRUE(Dialog().isVisible());
}

TEST_P(PaceWindowTest, ExitAndEscapeEndTheDialogEnterOnAButtonPressesIt) {
  ASSERT_TRUE(Start(kMachine));
  Button(ids::kIdcSpeedExit).click();
  EXPECT_FALSE(Dialog().isVisible());

  Dialog().show();
  Button(ids::kIdcDriveInformation).setFocus();
  PressKey(&Button(ids::kIdcDriveInformation), Qt::Key_Return);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(StatusBox(), "Current Speed = 2816kbytes/s(16X)\r\nMaximum Speed = 5540kbytes/s(31X)");

  PressKey(&Button(ids::kIdcDriveInformation), Qt::Key_Escape);
  EXPECT_FALSE(Dialog().isVisible());
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PaceWindowTest,
                         testing::Values(&SpeedWindowVariant::Spti(), &SpeedWindowVariant::Aspi()),
                         [](const testing::TestParamInfo<const SpeedWindowVariant*>& info) {
                           return std::string(info.param->procedure.applicationTitle);
                         });

}  // namespace

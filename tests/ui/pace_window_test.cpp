// Both speed utility windows offscreen on an emulated machine: start-up, the
// real buttons, the status box, the message boxes, the About box from the
// system menu and the ways the dialog ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "pace/app/speed_decoration.h"
#include "pace/extraction_speed_table.h"
#include "pace/window/speed_program.h"
#include "resources/pace/pace_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/pace_window_machine.h"
#include "tests/window/window_test_host.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_units.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/system_menu.h"

namespace {

using pace::SpeedWindowVariant;
namespace ids = resources;

constexpr const char* kMachine = window_test::kPaceMachine;

// Key presses as a user makes them, so edit fields see typed text.
void PressKey(QWidget* target, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

class PaceWindowTest : public testing::TestWithParam<const SpeedWindowVariant*> {
 protected:
  const SpeedWindowVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &SpeedWindowVariant::Aspi(); }

  // Starts the program on a machine, its window opened as the Qt program
  // opens it; false when start-up failed.
  bool Start(const char* machineJson, ui::WindowSystem& windows = window_test::System()) {
    program_.reset();  // a program never outlives the machine it runs on
    machine_ = testsupport::LoadWindowTestMachine(machineJson);
    if (machine_ == nullptr) return false;
    program_ = std::make_unique<pace::SpeedProgram>(windows, *machine_, Variant());
    if (program_->Start() != 0) return false;
    pace::DecorateSpeedWindow(program_->Window(), Variant());
    machine_->Log().Clear();
    return true;
  }
  void TearDown() override { program_.reset(); }

  ui::QtDialogHost& Dialog() { return ui::QtWindowSystem::DialogOf(program_->Window()); }
  QPushButton& Button(int id) { return *ui::FindControl<QPushButton>(&Dialog(), id); }
  std::string StatusBox() { return Dialog().ItemText(ids::kIdcSpeedStatusBox); }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<pace::SpeedProgram> program_;
};

TEST_P(PaceWindowTest, ControlsAreTheQtWidgetsTheTemplateNames) {
  ASSERT_TRUE(Start(kMachine));
  EXPECT_EQ(Dialog().windowTitle(), QStringLiteral("Speed Control Utility"));
  auto* driveList = ui::FindControl<QComboBox>(&Dialog(), Variant().templates.driveListId);
  ASSERT_NE(driveList, nullptr);
  EXPECT_EQ(driveList->objectName(), ui::ControlObjectName(IsAspi() ? ids::kIdcAspiSpeedDriveList
                                                                    : ids::kIdcSptiSpeedDriveList));
  EXPECT_TRUE(driveList->isEditable());
  auto* statusBox = ui::FindControl<QPlainTextEdit>(&Dialog(), ids::kIdcSpeedStatusBox);
  ASSERT_NE(statusBox, nullptr);
  EXPECT_TRUE(statusBox->isReadOnly());
  // None of the buttons is a default button.
  for (QPushButton* button : Dialog().findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();
  }
  EXPECT_EQ(Button(ids::kIdcQuietPermanent).text(), QStringLiteral("Quiet Mode\n(Permanent)"));
}

// The Qt extras: a label as wide as its text (but not over its neighbour), a
// status box tall enough for a two-line message.
TEST_P(PaceWindowTest, LabelShowsItsWholeTextAndTheStatusBoxTwoLines) {
  ASSERT_TRUE(Start(kMachine));
  auto* label = ui::FindControl<QLabel>(&Dialog(), ids::kIdcExtractionLabel);
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->wordWrap());
  const int setButtonLeft = Button(ids::kIdcExtractionSet).geometry().left();
  EXPECT_GE(label->width(), std::min(label->sizeHint().width(), setButtonLeft - label->x()));
  EXPECT_FALSE(label->geometry().intersects(Button(ids::kIdcExtractionSet).geometry()));

  auto* statusBox = ui::FindControl<QPlainTextEdit>(&Dialog(), ids::kIdcSpeedStatusBox);
  // Its text area holds two lines; a message shows from its first.
  EXPECT_GE(statusBox->viewport()->height(), 2 * QFontMetrics(statusBox->font()).lineSpacing());
  Button(ids::kIdcDriveInformation).click();
  EXPECT_EQ(statusBox->verticalScrollBar()->value(), 0);
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

TEST_P(PaceWindowTest, SystemMenuEntryOpensTheBuildsAboutBox) {
  // A window system that shows its modal dialogs, so the box can be read.
  ui::QtWindowSystem windows(Variant().procedure.applicationTitle);
  ASSERT_TRUE(Start(kMachine, windows));
  ASSERT_NE(Dialog().Menu(), nullptr);
  QAction* about = Dialog().Menu()->Action(ids::kIdmSpeedAboutBox);
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
  program_.reset();
}

// A message box runs its own loop: what arrives meanwhile (another button,
// the system Close) must not start inside the operation that asks.
TEST_P(PaceWindowTest, NothingElseRunsWhileAnOperationAsks) {
  ui::QtWindowSystem windows(Variant().procedure.applicationTitle);  // shows its boxes
  ASSERT_TRUE(Start(kMachine, windows));
  bool asked = false;
  std::string statusDuring = "not read";
  bool openDuring = false;
  std::size_t commandsDuring = 0;
  int otherBoxes = 0;
  // Answers every box: the first after trying the other commands.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (asked) {
      ++otherBoxes;
      box->defaultButton()->click();
      return;
    }
    asked = box->text().startsWith(QStringLiteral("For safety"));
    commandsDuring = machine_->Log().Entries().size();
    Button(ids::kIdcDriveInformation).click();
    Dialog().SendSystemCommand(ui::kSysClose);
    statusDuring = StatusBox();
    openDuring = program_->Window().IsOpen();
    commandsDuring = machine_->Log().Entries().size() - commandsDuring;
    box->defaultButton()->click();
  });
  answer.start(10);
  Button(ids::kIdcPerformanceTemporary).click();
  answer.stop();
  EXPECT_EQ(otherBoxes, 0);
  EXPECT_TRUE(asked);
  EXPECT_EQ(statusDuring, "");
  EXPECT_TRUE(openDuring);
  EXPECT_EQ(commandsDuring, 0u);
  EXPECT_EQ(StatusBox(), "Drive mode is changed to performance mode (temporary)");
  EXPECT_TRUE(program_->Window().IsOpen());
  program_.reset();
}

TEST_P(PaceWindowTest, EnterOnAButtonPressesItEscapeEndsTheDialog) {
  ASSERT_TRUE(Start(kMachine));
  Button(ids::kIdcDriveInformation).setFocus();
  PressKey(&Button(ids::kIdcDriveInformation), Qt::Key_Return);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(StatusBox(), "Current Speed = 2816kbytes/s(16X)\r\nMaximum Speed = 5540kbytes/s(31X)");

  PressKey(&Button(ids::kIdcDriveInformation), Qt::Key_Escape);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_FALSE(program_->Window().IsOpen());
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PaceWindowTest,
                         testing::Values(&SpeedWindowVariant::Spti(), &SpeedWindowVariant::Aspi()),
                         [](const testing::TestParamInfo<const SpeedWindowVariant*>& info) {
                           return std::string(info.param->procedure.applicationTitle);
                         });

}  // namespace

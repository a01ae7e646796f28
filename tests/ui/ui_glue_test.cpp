// Dialog templates, pixel conversion, status box line ends, and the preset
// answers of the message box and file dialog services.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/dialog_builder.h"
#include "ui/file_dialog_service.h"
#include "ui/message_box_service.h"
#include "ui/status_box.h"

namespace {

constexpr ui::ControlTemplate kControls[] = {
    {1004, ui::ControlKind::kEdit, "", 5, 5, 100, 40, ui::kStyleMultiLine | ui::kStyleReadOnly},
    {1000, ui::ControlKind::kTree, "", 5, 50, 100, 30, ui::kStyleBorder},
    {1008, ui::ControlKind::kProgress, "", 5, 84, 100, 10, 0},
    {1009, ui::ControlKind::kStatic, "Line one\r\nLine two", 5, 96, 100, 16, ui::kStyleSunken},
    {ui::kIdControlOk, ui::ControlKind::kButton, "OK", 20, 114, 40, 14, ui::kStyleDefaultButton},
};
constexpr ui::DialogTemplate kTemplate = {500, "Template test",       "Sans Serif", 9, 120,
                                          132, ui::kDialogSystemMenu, kControls};

TEST(DialogTemplateTest, ControlsAreFoundByIdWithTheirKindAndConvertedPlace) {
  QDialog dialog;
  const ui::DialogBaseUnits base = ui::BuildDialog(dialog, kTemplate);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Template test"));
  EXPECT_EQ(dialog.width(), ui::HorizontalDuToPixels(120, base));
  EXPECT_EQ(dialog.height(), ui::VerticalDuToPixels(132, base));

  auto* edit = ui::FindControl<QPlainTextEdit>(&dialog, 1004);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_EQ(edit->geometry(), ui::DialogRectToPixels(QRect(5, 5, 100, 40), base));
  EXPECT_NE(ui::FindControl<QTreeWidget>(&dialog, 1000), nullptr);
  EXPECT_NE(ui::FindControl<QProgressBar>(&dialog, 1008), nullptr);
  // A control is not found under another id or as another kind.
  EXPECT_EQ(ui::FindControl<QTreeWidget>(&dialog, 1004), nullptr);
  EXPECT_EQ(ui::FindControl<QLabel>(&dialog, 1000), nullptr);

  auto* label = ui::FindControl<QLabel>(&dialog, 1009);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("Line one\nLine two"));
  auto* ok = ui::FindControl<QPushButton>(&dialog, ui::kIdControlOk);
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
}

TEST(DialogTemplateTest, DialogUnitsScaleByQuartersAndEighthsOfTheBaseUnits) {
  const ui::DialogBaseUnits base{6, 13};
  // 187 x 106 dialog units: 187*6/4 = 280.5 -> 281, 106*13/8 = 172.25 -> 172.
  EXPECT_EQ(ui::DialogRectToPixels(QRect(4, 8, 187, 106), base), QRect(6, 13, 281, 172));
  EXPECT_EQ(ui::HorizontalDuToPixels(1, base), 2);  // 1.5 rounds up like MulDiv
  EXPECT_EQ(ui::VerticalDuToPixels(-8, base), -13);
}

TEST(DialogTemplateTest, BaseUnitsGrowWithTheFont) {
  QFont small(QStringLiteral("Sans Serif"));
  small.setPixelSize(10);
  QFont large(QStringLiteral("Sans Serif"));
  large.setPixelSize(20);
  const ui::DialogBaseUnits smallBase = ui::BaseUnitsOf(small);
  const ui::DialogBaseUnits largeBase = ui::BaseUnitsOf(large);
  EXPECT_GT(smallBase.x, 0);
  EXPECT_GT(largeBase.x, smallBase.x);
  EXPECT_GT(largeBase.y, smallBase.y);
}

TEST(StatusBoxTest, WindowsLineEndsRoundTripThroughTheBox) {
  QPlainTextEdit box;
  ui::WriteStatusBox(box, "File Name : a.hex\r\nF/W file load success.\r\n");
  EXPECT_EQ(box.toPlainText(), QStringLiteral("File Name : a.hex\nF/W file load success.\n"));
  EXPECT_EQ(ui::ReadStatusBox(box), "File Name : a.hex\r\nF/W file load success.\r\n");

  // Text typed by the user comes back with Windows line ends too.
  box.setPlainText(QStringLiteral("typed\nby hand"));
  EXPECT_EQ(ui::ReadStatusBox(box), "typed\r\nby hand");
}

TEST(MessageBoxServiceTest, PresetAnswersAreUsedInOrderAndEveryBoxIsRecorded) {
  ui::MessageBoxService service("flashspti");
  service.PresetAnswer(drvcmd::kIdCancel);
  service.PresetAnswer(drvcmd::kIdOk);
  EXPECT_EQ(service.MessageBox("first", "Caution !", drvcmd::kMbOkCancel), drvcmd::kIdCancel);
  EXPECT_EQ(service.MessageBox("second", "", drvcmd::kMbIconHand), drvcmd::kIdOk);
  service.SetScripted(true);
  EXPECT_EQ(drvcmd::ShowMessage(service, "third"), drvcmd::kIdOk);

  const auto& shown = service.Recorded();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "first");
  EXPECT_EQ(shown[0].caption, "Caution !");
  EXPECT_EQ(shown[0].style, drvcmd::kMbOkCancel);
  // No caption of its own: the application title.
  EXPECT_EQ(shown[1].caption, "flashspti");
  EXPECT_EQ(shown[1].style, drvcmd::kMbIconHand);
  EXPECT_EQ(shown[2].caption, "flashspti");
}

TEST(FileDialogServiceTest, PresetChoicesAndCancelsAnswerWithoutADialog) {
  ui::FileDialogService service;
  service.PresetChoice(QStringLiteral("/tmp/UPDATE.HEX"));
  service.PresetCancel();
  service.SetScripted(true);
  const ui::OpenFileDialogRequest request{QStringLiteral("Select the Update Hex File"),
                                          QStringLiteral("/tmp"), QStringLiteral("UPDATE.HEX"),
                                          QStringLiteral("Hex File(.HEX) (*.hex *.HEX)")};
  EXPECT_EQ(service.ChooseOpenFile(request),
            std::optional<QString>(QStringLiteral("/tmp/UPDATE.HEX")));
  EXPECT_EQ(service.ChooseOpenFile(request), std::nullopt);
  EXPECT_EQ(service.ChooseOpenFile(request), std::nullopt);  // scripted: nothing left is a cancel
  ASSERT_EQ(service.Requests().size(), 3u);
  EXPECT_EQ(service.Requests()[0].title, request.title);
  EXPECT_EQ(service.Requests()[0].initialFileName, request.initialFileName);
}

}  // namespace

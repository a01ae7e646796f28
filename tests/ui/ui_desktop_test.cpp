// The shared window glue on a desktop: heavy faces that fall back keep their
// weight, message boxes fit their caption, settings keys stay one folder,
// trees draw lines and buttons, windows are placed by their frame, and
// controls fit what they show.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "drvcmd/notice.h"
#include "ui/caption_width.h"
#include "ui/control_fit.h"
#include "ui/dialog_builder.h"
#include "ui/font_fallback.h"
#include "ui/message_box_service.h"
#include "ui/settings_key.h"
#include "ui/tree_style.h"
#include "ui/window_placement.h"

namespace {

TEST(FontFallbackTest, TheFaceNameCarriesItsWeight) {
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("Arial Black")), QFont::Black);
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("Segoe UI Semibold")), QFont::DemiBold);
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("Open Sans ExtraBold")), QFont::ExtraBold);
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("Tahoma Bold")), QFont::Bold);
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("MS Sans Serif")), QFont::Normal);
  EXPECT_EQ(ui::WeightNamedBy(QStringLiteral("\xef\xbc\xad\xef\xbc\xb3")), QFont::Normal);
}

TEST(FontFallbackTest, AMissingHeavyFaceResolvesToAHeavyFaceOfTheSameSize) {
  const QFont heavy = ui::NamedFaceFont(QStringLiteral("Arial Black"), 10);
  EXPECT_EQ(heavy.families().front(), QStringLiteral("Arial Black"));
  EXPECT_GT(heavy.families().size(), 1);  // stand-ins follow the named face
  const QFontInfo resolved(heavy);
  EXPECT_GE(resolved.weight(), QFont::Bold) << resolved.family().toStdString();
  EXPECT_EQ(resolved.pointSize(), 10);

  const QFontInfo regular(ui::NamedFaceFont(QStringLiteral("MS Sans Serif"), 8));
  EXPECT_LT(regular.weight(), QFont::DemiBold) << regular.family().toStdString();
  EXPECT_EQ(regular.pointSize(), 8);
}

TEST(CaptionWidthTest, AMessageBoxIsAsWideAsItsCaptionNeeds) {
  const std::string caption = "System Information of a rather long caption";
  const auto box = ui::CreateMessageBox({"1", caption, drvcmd::kMbOk}, nullptr);
  box->show();
  EXPECT_EQ(box->windowTitle().toStdString(), caption);
  EXPECT_GE(box->width(), ui::CaptionFitWidth(QString::fromStdString(caption), ui::TitleBarFont()));
  ASSERT_NE(box->defaultButton(), nullptr);
  EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(box->buttons().size(), 1);

  const auto question = ui::CreateMessageBox({"?", "Caution !", drvcmd::kMbOkCancel}, nullptr);
  EXPECT_EQ(question->buttons().size(), 2);
  EXPECT_NE(question->escapeButton(), question->defaultButton());

  // A longer caption needs more room.
  const QFont font = ui::TitleBarFont();
  EXPECT_GT(ui::CaptionFitWidth(QStringLiteral("System Information"), font),
            ui::CaptionFitWidth(QStringLiteral("System"), font));
}

// Controls fitted to what they show in the font in use.
TEST(ControlFitTest, IconEditAndDroppedListShowTheirContentsWhole) {
  static constexpr ui::ControlTemplate kControls[] = {
      {7, ui::ControlKind::kIcon, "", 2, 2, 4, 4, ui::kStyleSunken},
  };
  constexpr ui::DialogTemplate kSmall = {1, "Fit", "Sans Serif", 8, 60, 40, 0, kControls};
  QDialog dialog;
  ui::BuildDialog(dialog, kSmall);
  const auto* icon = ui::FindControl<QLabel>(&dialog, 7);
  const QSize shown = icon->pixmap().deviceIndependentSize().toSize();
  const int frame = 2 * icon->frameWidth();
  EXPECT_GE(shown.height(), 16);
  EXPECT_GE(icon->width(), shown.width() + frame);
  EXPECT_GE(icon->height(), shown.height() + frame);

  QPlainTextEdit edit;
  edit.resize(200, 10);
  ui::ShowLines(edit, 2);
  edit.show();
  const int margin = static_cast<int>(edit.document()->documentMargin());
  EXPECT_GE(edit.viewport()->height() - 2 * margin, 2 * edit.fontMetrics().lineSpacing());
  const int twoLines = edit.height();
  ui::ShowLines(edit, 1);
  EXPECT_EQ(edit.height(), twoLines) << "a box never shrinks";

  QComboBox combo;
  combo.resize(60, combo.sizeHint().height());
  const QString longEntry = QStringLiteral("ID=6 : TAVREON 16X DVD-ROM      NORTHSTAR ULTRA2");
  combo.addItems({QStringLiteral("short"), longEntry});
  ui::ShowWholeEntries(combo);
  EXPECT_EQ(combo.width(), 60);
  EXPECT_GT(combo.view()->minimumWidth(),
            QFontMetrics(combo.view()->font()).horizontalAdvance(longEntry));
  EXPECT_EQ(combo.view()->textElideMode(), Qt::ElideNone);
}

TEST(MessageBoxPlacementTest, ABoxIsOwnedByItsOwnerOnlyOnceTheOwnerIsShown) {
  for (const bool ownerShown : {false, true}) {
    QWidget owner;
    if (ownerShown) owner.show();
    ui::MessageBoxService messages("fit");
    messages.SetOwner(&owner);
    const QWidget* parent = &owner;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      parent = box->parentWidget();
      box->close();
    });
    messages.MessageBox("No ATAPI I/F found.", std::string(), drvcmd::kMbOk);
    EXPECT_EQ(parent, ownerShown ? &owner : nullptr) << ownerShown;
  }
}

TEST(SettingsKeyTest, AKeyWithASlashIsOneFolderOnDisk) {
  const QString key = QStringLiteral("Maker DVD-ROM F/W Test Key");
  const QString folder = ui::SettingsFolderName(key);
  EXPECT_FALSE(folder.contains(QLatin1Char('/')));
  EXPECT_EQ(folder.size(), key.size());
  EXPECT_EQ(ui::SettingsFolderName(QStringLiteral("Plain Key")), QStringLiteral("Plain Key"));

  {
    const auto settings = ui::OpenUserSettings(key, QStringLiteral("keytest"));
    settings->setValue(QStringLiteral("Section/Value1"), 1);
    settings->sync();
    const QFileInfo file(settings->fileName());
    EXPECT_TRUE(file.exists()) << settings->fileName().toStdString();
    EXPECT_EQ(file.dir().dirName(), folder);
    // Not nested: the folder above is the settings home, with no "…F" folder.
    QDir home = file.dir();
    home.cdUp();
    EXPECT_FALSE(home.exists(QStringLiteral("Maker DVD-ROM F")));
  }
  EXPECT_EQ(ui::OpenUserSettings(key, QStringLiteral("keytest"))->value("Section/Value1"), 1);
}

// Renders a tree of two top-level items, the first one open with a child.
QImage RenderTree(unsigned styles) {
  QTreeWidget tree;
  tree.setHeaderHidden(true);
  tree.setIndentation(20);
  auto* first = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("00 : ATAPI")});
  new QTreeWidgetItem(first, QStringList{QStringLiteral("ID=0 : drive")});
  new QTreeWidgetItem(&tree, QStringList{QStringLiteral("01 : SCSI")});
  first->setExpanded(true);
  ui::SetTreeStyle(tree, styles);
  tree.resize(200, 120);
  tree.show();
  return tree.viewport()->grab().toImage();
}

// Pixels in column x from row y0 to y1 that differ from the background.
int MarkedPixels(const QImage& image, int x, int y0, int y1) {
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int marked = 0;
  for (int y = y0; y <= y1; ++y) marked += image.pixel(x, y) != background ? 1 : 0;
  return marked;
}

TEST(TreeStyleTest, LinesJoinTheTopLevelItemsAndButtonsMarkTheParents) {
  const unsigned all = ui::kTreeHasLines | ui::kTreeHasButtons | ui::kTreeLinesAtRoot;
  QTreeWidget styled;
  ui::SetTreeStyle(styled, all);
  EXPECT_EQ(ui::TreeStyleOf(styled), all);
  EXPECT_TRUE(styled.rootIsDecorated());
  ui::SetTreeStyle(styled, ui::kTreeHasLines);
  EXPECT_FALSE(styled.rootIsDecorated());
  EXPECT_EQ(ui::TreeStyleOf(QTreeWidget()), 0u);

  // Rows are a font line high; the child row lies between the two top-level
  // rows, so the root line crosses it in the middle of the root's indent.
  const QImage lined = RenderTree(all);
  const QImage plain = RenderTree(ui::kTreeLinesAtRoot);
  const int rowHeight = lined.height() > 0 ? QFontMetrics(QApplication::font()).height() : 0;
  ASSERT_GT(rowHeight, 0);
  const int rootColumn = (20 - 1) / 2;  // the centre of the first 20-pixel indent
  const int childRow = rowHeight + rowHeight / 2;
  EXPECT_GT(MarkedPixels(lined, rootColumn, childRow - 2, childRow + 2), 0);
  EXPECT_EQ(MarkedPixels(plain, rootColumn, childRow - 2, childRow + 2), 0);
}

TEST(WindowPlacementTest, CentredRectSharesTheAreasCentre) {
  EXPECT_EQ(ui::CentredRect(QRect(100, 50, 400, 300), QSize(200, 100)), QRect(200, 150, 200, 100));
  EXPECT_EQ(ui::CentredRect(QRect(0, 0, 11, 11), QSize(4, 4)), QRect(3, 3, 4, 4));
}

TEST(WindowPlacementTest, AModelessWindowIsCentredOnItsAnchorsWindowAndKeptAboveIt) {
  QWidget owner;
  auto* child = new QWidget(&owner);  // the anchor is a widget inside the window
  owner.resize(600, 400);
  owner.move(340, 210);
  owner.show();
  child->setGeometry(30, 40, 100, 100);

  QDialog progress;
  progress.resize(280, 80);
  ui::ShowCentredAbove(progress, child);
  const QPoint offset = progress.frameGeometry().center() - owner.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
  ASSERT_NE(progress.windowHandle(), nullptr);
  EXPECT_EQ(progress.windowHandle()->transientParent(), owner.windowHandle());
  EXPECT_EQ(progress.parent(), nullptr);  // not owned: it outlives nothing it should not

  // An anchor that is not shown: centred on the screen, with no transient parent.
  QWidget hidden;
  QDialog alone;
  alone.resize(280, 80);
  ui::ShowCentredAbove(alone, &hidden);
  const QRect screen = alone.screen()->availableGeometry();
  EXPECT_LE((alone.frameGeometry().center() - screen.center()).manhattanLength(), 4);
  EXPECT_EQ(alone.windowHandle()->transientParent(), nullptr);
}

TEST(WindowPlacementTest, TheFrameIsPlacedAgainOnceTheDecorationIsKnown) {
  QWidget window;
  QMargins decoration;  // the window manager has not decorated the window yet
  auto* placer = new ui::FramePlacer(window, ui::FramePlacer::Sizing::kFixed,
                                     [&decoration] { return decoration; });
  const QRect target(320, 256, 640, 512);
  placer->Place(target);
  window.show();
  EXPECT_EQ(window.size(), target.size());

  // Decorated: title bar and border now come out of the same rectangle.
  decoration = QMargins(4, 24, 4, 4);
  QMoveEvent moved(window.pos(), window.pos());
  QApplication::sendEvent(&window, &moved);
  EXPECT_EQ(window.size(), QSize(632, 484));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(placer->ClientSize(), QSize(632, 484));
  EXPECT_FALSE(placer->Pending());

  // Once in place, a move by the user is the user's.
  window.move(target.topLeft() + QPoint(100, 50));
  QApplication::processEvents();
  QMoveEvent userMove(window.pos(), target.topLeft());
  QApplication::sendEvent(&window, &userMove);
  EXPECT_EQ(window.size(), QSize(632, 484));
  EXPECT_NE(window.pos(), target.topLeft());
}

// Runs the event loop (timers included) until `done`, for two seconds at most.
template <typename Done>
bool RunEventsUntil(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 2000) {
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return done();
}

TEST(WindowPlacementTest, AMaximizableFrameMaximizesAndReturnsToItsPlacedSize) {
  QWidget window;
  const QMargins decoration(2, 20, 2, 2);
  ui::FramePlacer placer(window, ui::FramePlacer::Sizing::kMaximizable,
                         [decoration] { return decoration; });
  placer.Place(QRect(100, 100, 304, 222));
  EXPECT_FALSE(placer.Pending());
  window.show();
  EXPECT_EQ(window.size(), QSize(300, 200));
  EXPECT_LT(window.minimumSize().width(), window.maximumSize().width());

  window.showMaximized();
  QApplication::processEvents();
  EXPECT_TRUE(window.isMaximized());
  EXPECT_GT(window.width(), 300);
  window.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(window.size(), QSize(300, 200));

  // Shown normally it keeps its size, as a window without a sizing border
  // would: a resize (a drag of the border) is undone once it stops.
  window.resize(420, 260);
  QApplication::processEvents();
  EXPECT_TRUE(RunEventsUntil([&window] { return window.size() == QSize(300, 200); }))
      << window.width() << "x" << window.height();
}

}  // namespace

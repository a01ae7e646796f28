// Caption widths from font metrics.
#include "ui/caption_width.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace ui {
namespace {

// A title-bar button is about as wide as the bar is high: the text height
// plus the bar's padding.
constexpr int kTitleBarPadding = 8;
constexpr int kTitleBarButtons = 4;  // the menu icon, minimize, maximize, close

}  // namespace

QFont TitleBarFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  return font;
}

int CaptionFitWidth(const QString& caption, const QFont& titleFont) {
  const QFontMetrics metrics(titleFont);
  const int buttonWidth = metrics.height() + kTitleBarPadding;
  return metrics.horizontalAdvance(caption) + kTitleBarButtons * buttonWidth;
}

void FitCaption(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  const int width = CaptionFitWidth(box.windowTitle(), TitleBarFont());
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace ui

// Edit heights by lines, dropped-list widths by entries.
#include "ui/control_fit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace ui {

void ShowLines(QPlainTextEdit& edit, int lines) {
  const QMargins margins = edit.contentsMargins();
  const int documentMargin = static_cast<int>(std::ceil(edit.document()->documentMargin()));
  const int needed = lines * QFontMetrics(edit.font()).lineSpacing() + 2 * documentMargin +
                     margins.top() + margins.bottom();
  if (edit.height() < needed) edit.resize(edit.width(), needed);
}

void ShowWholeEntries(QComboBox& combo) {
  QAbstractItemView* view = combo.view();
  view->setTextElideMode(Qt::ElideNone);
  const QFontMetrics metrics(view->font());
  int widest = 0;
  for (int i = 0; i < combo.count(); ++i) {
    widest = std::max(widest, metrics.horizontalAdvance(combo.itemText(i)));
  }
  // The item's own margins, the list's frame and, for a long list, its scroll bar.
  const QStyle* style = view->style();
  const int itemMargins =
      2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) +
      metrics.averageCharWidth();
  const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, view);
  const int scrollBar = combo.count() > combo.maxVisibleItems()
                            ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view)
                            : 0;
  view->setMinimumWidth(std::max(combo.width(), widest + itemMargins + frame + scrollBar));
}

}  // namespace ui

// Branch lines and expand boxes drawn by a proxy of the application style.
#include "ui/tree_style.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTreeView>

namespace ui {
namespace {

constexpr int kButtonSize = 9;  // the box, in pixels, odd so the sign is centred
constexpr int kSignInset = 2;

class TreeLineStyle : public QProxyStyle {
 public:
  explicit TreeLineStyle(QObject* owner) { setParent(owner); }

  unsigned styles = 0;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element != PE_IndicatorBranch) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    const QRect rect = option->rect;
    const QPoint centre = rect.center();
    painter->save();
    if ((styles & kTreeHasLines) != 0) {
      painter->setPen(QPen(option->palette.color(QPalette::Dark), 1, Qt::DotLine));
      const bool item = (option->state & State_Item) != 0;
      const bool sibling = (option->state & State_Sibling) != 0;
      // Down to the item's row, and on to the next sibling if there is one.
      if (item || sibling) {
        painter->drawLine(centre.x(), rect.top(), centre.x(), sibling ? rect.bottom() : centre.y());
      }
      if (item) painter->drawLine(centre.x(), centre.y(), rect.right(), centre.y());
    }
    if ((styles & kTreeHasButtons) != 0 && (option->state & State_Children) != 0) {
      const QRect box(centre.x() - kButtonSize / 2, centre.y() - kButtonSize / 2, kButtonSize - 1,
                      kButtonSize - 1);
      painter->setPen(QPen(option->palette.color(QPalette::Dark), 1, Qt::SolidLine));
      painter->setBrush(option->palette.color(QPalette::Base));
      painter->drawRect(box);
      painter->setPen(option->palette.color(QPalette::Text));
      painter->drawLine(box.left() + kSignInset, centre.y(), box.right() - kSignInset, centre.y());
      if ((option->state & State_Open) == 0) {
        painter->drawLine(centre.x(), box.top() + kSignInset, centre.x(),
                          box.bottom() - kSignInset);
      }
    }
    painter->restore();
  }
};

}  // namespace

void SetTreeStyle(QTreeView& tree, unsigned styles) {
  auto* style = tree.findChild<TreeLineStyle*>(QString(), Qt::FindDirectChildrenOnly);
  if (style == nullptr) {
    style = new TreeLineStyle(&tree);
    tree.setStyle(style);
  }
  style->styles = styles;
  tree.setRootIsDecorated((styles & kTreeLinesAtRoot) != 0);
  tree.viewport()->update();
}

unsigned TreeStyleOf(const QTreeView& tree) {
  const auto* style = tree.findChild<TreeLineStyle*>(QString(), Qt::FindDirectChildrenOnly);
  return style != nullptr ? style->styles : 0u;
}

}  // namespace ui

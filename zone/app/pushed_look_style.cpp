// Pushed look: the pressed indicator, on a highlighted background.
#include "zone/app/pushed_look_style.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOption>

namespace zone {

void PushedLookStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  if (element == CE_RadioButton && widget != nullptr &&
      widget->property(kPushedProperty).toBool()) {
    // The highlight Windows gives a pushed button, behind the text and indicator.
    painter->fillRect(option->rect, option->palette.color(QPalette::Active, QPalette::Midlight));
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void PushedLookStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
  if (element == PE_IndicatorRadioButton && widget != nullptr &&
      widget->property(kPushedProperty).toBool()) {
    QStyleOption pushed(*option);
    pushed.state |= State_Sunken;
    QProxyStyle::drawPrimitive(element, &pushed, painter, widget);
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SetPushedLook(QAbstractButton& button) {
  button.setProperty(kPushedProperty, true);
  button.update();
}

bool HasPushedLook(const QAbstractButton& button) {
  return button.property(kPushedProperty).toBool();
}

}  // namespace zone

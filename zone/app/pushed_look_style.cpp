// Pushed look: the pressed indicator, on a highlighted background.
#include "zone/app/pushed_look_style.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOption>

#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"

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

QtPushedLook::QtPushedLook() : style_(std::make_unique<PushedLookStyle>()) {}

QtPushedLook::~QtPushedLook() = default;

void QtPushedLook::Push(ui::WindowHost& host, int id) {
  auto* dialog = dynamic_cast<ui::QtDialogHost*>(&host);
  if (dialog == nullptr) return;
  auto* button = ui::FindControl<QAbstractButton>(dialog, id);
  if (button == nullptr) return;
  if (button->style() != style_.get()) button->setStyle(style_.get());
  SetPushedLook(*button);
}

}  // namespace zone

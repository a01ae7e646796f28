// The pushed (highlighted) look of a radio button, kept as the widget property
// "pushed" and drawn as the button's pressed state. Unlike Qt's own down state
// it survives disabling and losing focus, as the look the region sequences set.
#pragma once

#include <QProxyStyle>
#include <memory>

#include "zone/window/region_window.h"

class QAbstractButton;

namespace zone {

inline constexpr char kPushedProperty[] = "pushed";

class PushedLookStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// Gives the button the pushed look for good and repaints it.
void SetPushedLook(QAbstractButton& button);
bool HasPushedLook(const QAbstractButton& button);

// The pushed look on the Qt host: the button gets the style and the property.
// It must outlive the windows it pushed buttons in (they use its style).
class QtPushedLook : public PushedLook {
 public:
  QtPushedLook();
  ~QtPushedLook() override;
  void Push(ui::WindowHost& host, int id) override;
  const PushedLookStyle& Style() const { return *style_; }

 private:
  std::unique_ptr<PushedLookStyle> style_;
};

}  // namespace zone

// Dialog units and their conversion to pixels with a font's base units, the
// way Windows sizes dialog templates.
#pragma once

#include <QFont>
#include <QRect>

namespace ui {

struct DialogBaseUnits {
  int x = 0;  // average character width of the dialog font
  int y = 0;  // character height of the dialog font
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Horizontal units are quarters of baseX, vertical units eighths of baseY,
// rounded to the nearest pixel like MulDiv.
int HorizontalDuToPixels(int du, const DialogBaseUnits& base);
int VerticalDuToPixels(int du, const DialogBaseUnits& base);
QRect DialogRectToPixels(const QRect& du, const DialogBaseUnits& base);

}  // namespace ui

// Dialog base units from font metrics, and dialog units to pixels.
#include "ui/dialog_units.h"

#include <QFontMetrics>

namespace ui {
namespace {

// Windows measures the 52 letters and halves the rounded average.
constexpr char kAverageWidthSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAverageWidthLetters = 26;

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int sampleWidth = metrics.horizontalAdvance(QString::fromLatin1(kAverageWidthSample));
  DialogBaseUnits base;
  base.x = (sampleWidth / kAverageWidthLetters + 1) / 2;
  base.y = metrics.height();
  if (base.x < 1) base.x = 1;
  if (base.y < 1) base.y = 1;
  return base;
}

int HorizontalDuToPixels(int du, const DialogBaseUnits& base) { return MulDiv(du, base.x, 4); }

int VerticalDuToPixels(int du, const DialogBaseUnits& base) { return MulDiv(du, base.y, 8); }

QRect DialogRectToPixels(const QRect& du, const DialogBaseUnits& base) {
  return QRect(HorizontalDuToPixels(du.x(), base), VerticalDuToPixels(du.y(), base),
               HorizontalDuToPixels(du.width(), base), VerticalDuToPixels(du.height(), base));
}

}  // namespace ui

// The speed utilities' icon, drawn at the two sizes Windows uses.
#include "pace/app/speed_icon.h"

#include <QPainter>
#include <QPixmap>

namespace pace {
namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(0.5, 0.5, size - 1.0, size - 1.0);
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
  painter.setBrush(QColor(0xC8, 0xD0, 0xE0));
  painter.drawEllipse(disc);
  painter.setBrush(QColor(0x60, 0x60, 0x70));
  painter.drawEllipse(disc.center(), size / 8.0, size / 8.0);
  // The needle points to the upper right: fast.
  painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), size / 10.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(disc.center(), QPointF(size * 0.82, size * 0.22));
  return pixmap;
}

}  // namespace

QIcon SpeedIcon() {
  QIcon icon;
  icon.addPixmap(DrawIcon(16));
  icon.addPixmap(DrawIcon(32));
  return icon;
}

}  // namespace pace

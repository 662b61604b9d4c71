#include "app/start_button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace varnel::app {
namespace {

QPixmap disc(QColor rim, QColor face) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient shade(12, 10, 20);
  shade.setColorAt(0, face.lighter(140));
  shade.setColorAt(1, face);
  p.setPen(QPen(rim, 2));
  p.setBrush(shade);
  p.drawEllipse(QRectF(2, 2, 28, 28));
  return pixmap;
}

}  // namespace

QIcon stopped_picture() {
  QPixmap pixmap = disc(QColor(30, 110, 40), QColor(60, 170, 70));
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(12, 9);
  arrow.lineTo(23, 16);
  arrow.lineTo(12, 23);
  arrow.closeSubpath();
  p.fillPath(arrow, Qt::white);
  return QIcon(pixmap);
}

QIcon running_picture() {
  QPixmap pixmap = disc(QColor(170, 90, 10), QColor(240, 150, 30));
  QPainter p(&pixmap);
  p.fillRect(QRectF(11, 9, 4, 14), Qt::white);
  p.fillRect(QRectF(18, 9, 4, 14), Qt::white);
  return QIcon(pixmap);
}

}  // namespace varnel::app

#include "ui/glyph.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace {

QPixmap Draw(const QColor& color, const QPainterPath& path) {
  QPixmap pixmap(kGlyphSize, kGlyphSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(color, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
  return pixmap;
}

}  // namespace

QPixmap GlyphPixmap(int bitmapId) {
  QPainterPath path;
  switch (bitmapId) {
    case kGlyphCheck:
      path.moveTo(3.5, 10.5);
      path.lineTo(8, 15.5);
      path.lineTo(16.5, 4);
      return Draw(QColor(0, 150, 0), path);
    case kGlyphCross:
      path.moveTo(4.5, 4.5);
      path.lineTo(15.5, 15.5);
      path.moveTo(15.5, 4.5);
      path.lineTo(4.5, 15.5);
      return Draw(QColor(210, 0, 0), path);
    default:
      return {};
  }
}

QIcon GlyphIcon(int bitmapId) {
  QPixmap pixmap = GlyphPixmap(bitmapId);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

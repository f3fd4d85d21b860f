#include "ui/glyph.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStyle>
#include <QStyleOption>

namespace {

// The glyph's strokes in a 20 x 20 square.
QPainterPath GlyphPath(int bitmapId) {
  QPainterPath path;
  if (bitmapId == kGlyphCheck) {
    path.moveTo(3.5, 10.5);
    path.lineTo(8, 15.5);
    path.lineTo(16.5, 4);
  } else if (bitmapId == kGlyphCross) {
    path.moveTo(4.5, 4.5);
    path.lineTo(15.5, 15.5);
    path.moveTo(15.5, 4.5);
    path.lineTo(4.5, 15.5);
  }
  return path;
}

const QColor kSuccessGreen(0, 150, 0);
const QColor kNoticeBlue(30, 100, 200);
const QColor kWarningAmber(250, 190, 20);

QColor GlyphColor(int bitmapId) {
  // On the buttons of a dark theme, lighter shades stand out as the usual ones do on light.
  const bool dark = QApplication::palette().color(QPalette::Button).lightness() < 128;
  if (bitmapId == kGlyphCheck) return dark ? QColor(90, 200, 90) : kSuccessGreen;
  return dark ? QColor(245, 90, 80) : QColor(210, 0, 0);
}

// A transparent pixmap of size by size device-independent pixels at ratio, with a painter
// that draws in the glyph's 20 x 20 square.
QPixmap Canvas(int size, qreal ratio) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void Stroke(QPainter& painter, const QPainterPath& path, const QColor& color, qreal width) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// Draws the glyph for whatever size and device pixel ratio a button asks, and greys it as
// the style greys icons when the button is disabled.
class GlyphEngine : public QIconEngine {
 public:
  explicit GlyphEngine(int bitmapId) : bitmapId_(bitmapId) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / qreal(kGlyphSize), rect.height() / qreal(kGlyphSize));
    Stroke(*painter, GlyphPath(bitmapId_), GlyphColor(bitmapId_), 3.2);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    QPixmap pixmap = GlyphPixmap(bitmapId_, std::min(size.width(), size.height()), 1.0);
    if (mode != QIcon::Disabled) return pixmap;
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
  }

  QIconEngine* clone() const override { return new GlyphEngine(bitmapId_); }
  QString key() const override { return QStringLiteral("TarvolinGlyph"); }

 private:
  int bitmapId_;
};

}  // namespace

QPixmap GlyphPixmap(int bitmapId, int size, qreal ratio) {
  const QPainterPath path = GlyphPath(bitmapId);
  if (path.isEmpty() || size <= 0) return {};
  QPixmap pixmap = Canvas(size, ratio);
  QPainter painter(&pixmap);
  painter.scale(size / qreal(kGlyphSize), size / qreal(kGlyphSize));
  Stroke(painter, path, GlyphColor(bitmapId), 3.2);
  return pixmap;
}

QIcon GlyphIcon(int bitmapId) {
  return GlyphPath(bitmapId).isEmpty() ? QIcon() : QIcon(new GlyphEngine(bitmapId));
}

QPixmap SuccessPixmap(int size, qreal ratio) {
  QPixmap pixmap = Canvas(size, ratio);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / qreal(kGlyphSize), size / qreal(kGlyphSize));
  painter.setPen(Qt::NoPen);
  painter.setBrush(kSuccessGreen);
  painter.drawEllipse(QRectF(0.5, 0.5, 19, 19));
  // The check a little smaller than on a button, so that it sits inside the disc.
  painter.translate(10, 10.5);
  painter.scale(0.72, 0.72);
  painter.translate(-10, -10);
  Stroke(painter, GlyphPath(kGlyphCheck), Qt::white, 3.0);
  return pixmap;
}

namespace {

// A painter on canvas that draws in the glyph's 20 x 20 square.
void ScaleToGlyph(QPainter& painter, int size) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(size / qreal(kGlyphSize), size / qreal(kGlyphSize));
}

// A sign in bold white type, centred on a disc of colour.
QPixmap DiscSign(int size, qreal ratio, const QColor& colour, const QString& sign) {
  QPixmap pixmap = Canvas(size, ratio);
  QPainter painter(&pixmap);
  ScaleToGlyph(painter, size);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(0.5, 0.5, 19, 19));
  QFont font = QApplication::font();
  font.setBold(true);
  font.setPixelSize(14);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, sign);
  return pixmap;
}

}  // namespace

QPixmap WarningPixmap(int size, qreal ratio) {
  QPixmap pixmap = Canvas(size, ratio);
  QPainter painter(&pixmap);
  ScaleToGlyph(painter, size);
  QPainterPath triangle;
  triangle.moveTo(10, 1.5);
  triangle.lineTo(19, 18);
  triangle.lineTo(1, 18);
  triangle.closeSubpath();
  painter.setPen(QPen(QColor(120, 80, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(kWarningAmber);
  painter.drawPath(triangle);
  QPainterPath bar;
  bar.moveTo(10, 7);
  bar.lineTo(10, 12);
  Stroke(painter, bar, Qt::black, 2.2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(10, 15.2), 1.2, 1.2);
  return pixmap;
}

QPixmap InformationPixmap(int size, qreal ratio) {
  return DiscSign(size, ratio, kNoticeBlue, QStringLiteral("i"));
}

QPixmap QuestionPixmap(int size, qreal ratio) {
  return DiscSign(size, ratio, kNoticeBlue, QStringLiteral("?"));
}

#include "ui/dc.h"

#include <QApplication>
#include <QPainter>
#include <QString>

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// Measured on the painter's device, so that a printer's resolution is taken into account.
TDC::TDC(QPainter& painter)
    : painter_(&painter), font_(painter.font()), metrics_(font_, painter.device()) {}

TDC::TDC(const QFont& font) : font_(font), metrics_(font) {}

TDC::TDC() : TDC(ScreenFont()) {}

QFont TDC::ScreenFont() {
  return QApplication::font();
}

void TDC::TextOut(int x, int y, std::string_view text) {
  if (!painter_) return;
  painter_->setPen(textColor_);
  // Qt places text by its baseline; callers give the top of the cell.
  painter_->drawText(x, y + metrics_.ascent(), ToQString(text));
}

int TDC::TextWidth(std::string_view text) const {
  return metrics_.horizontalAdvance(ToQString(text));
}

int TDC::TextHeight() const {
  return metrics_.height();
}

QSize TDC::TextExtent(std::string_view text) const {
  return {TextWidth(text), TextHeight()};
}

void TDC::SelectFont(const QFont& font) {
  font_ = font;
  metrics_ = painter_ ? QFontMetrics(font_, painter_->device()) : QFontMetrics(font_);
  if (painter_) painter_->setFont(font_);
}

void TDC::SetTextColor(const QColor& color) {
  textColor_ = color;
}

void TDC::SelectPen(const QColor& color, int width) {
  penColor_ = color;
  penWidth_ = width;
}

void TDC::MoveTo(int x, int y) {
  current_ = {x, y};
}

void TDC::LineTo(int x, int y) {
  DrawLine(current_.x(), current_.y(), x, y);
  current_ = {x, y};
}

void TDC::DrawLine(int x1, int y1, int x2, int y2) {
  if (!painter_) return;
  painter_->setPen(QPen(penColor_, penWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter_->drawLine(x1, y1, x2, y2);
}

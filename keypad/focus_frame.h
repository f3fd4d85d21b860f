#pragma once
#include <QPainter>
#include <QPalette>
#include <QWidget>

// The strips that typing goes to show that they have the focus: their border, and the pixel
// inside it, in the highlight colour (text drawn at the strip's edge stays readable).
inline void DrawFocusFrame(QWidget& strip) {
  QPainter painter(&strip);
  painter.setPen(strip.palette().color(QPalette::Highlight));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(strip.rect().adjusted(0, 0, -1, -1));
  painter.drawRect(strip.rect().adjusted(1, 1, -2, -2));
}

#pragma once
#include <QPainter>
#include <QPalette>
#include <QWidget>

// The strips that typing goes to show that they have the focus with a frame in the highlight
// colour just inside their border.
inline void DrawFocusFrame(QWidget& strip) {
  QPainter painter(&strip);
  QPen pen(strip.palette().color(QPalette::Highlight));
  pen.setWidth(2);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(strip.rect().adjusted(2, 2, -2, -2));
}

#include "keypad/strip_window.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "ui/dc.h"
#include "ui/mark_color.h"

TStripWindow::TStripWindow(QWidget* parent) : TWindow(parent) {
  SetBorder(true);
  FollowPalette();
}

QFont TStripWindow::TextFont() const {
  QFont text = font();
  text.setBold(false);
  return text;
}

QPoint TStripWindow::TextOrigin() const {
  const int spare = ClientRect().height() - ContentHeight(TDC(TextFont()).TextHeight());
  return {kPadding, std::clamp(spare / 2, 0, kPadding)};
}

void TStripWindow::PaintPending(TDC& dc, int& x, const std::string& pending) const {
  if (pending.empty()) return;
  const QColor text = palette().color(QPalette::Text);
  dc.SetTextColor(palette().color(QPalette::PlaceholderText));
  dc.TextOut(x, 0, pending);
  x += dc.TextWidth(pending);
  dc.SetTextColor(text);
}

void TStripWindow::SetTextCaretPos(int x, int y) {
  SetCaretPos(x + TextOrigin().x(), y + TextOrigin().y());
}

void TStripWindow::Paint(TDC& dc) {
  dc.SelectFont(TextFont());
  dc.SetTextColor(palette().color(QPalette::Text));
  QPainter& painter = *dc.Painter();
  painter.save();
  painter.translate(TextOrigin());
  PaintText(dc);
  painter.restore();
}

void TStripWindow::paintEvent(QPaintEvent* event) {
  TWindow::paintEvent(event);
  // A strip's frame is softer than the framework's text-coloured one, but never lost on a
  // dark scheme.
  QPainter painter(this);
  painter.setPen(FrameColor(palette()));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (hasFocus()) {
    // The border, and the pixel inside it, in the highlight colour: text drawn at the strip's
    // edge stays readable.
    painter.setPen(FocusColor(palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void TStripWindow::focusInEvent(QFocusEvent* event) {
  TWindow::focusInEvent(event);
  update();
}

void TStripWindow::focusOutEvent(QFocusEvent* event) {
  TWindow::focusOutEvent(event);
  update();
}

void TStripWindow::changeEvent(QEvent* event) {
  TWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) FollowPalette();
}

void TStripWindow::FollowPalette() {
  SetBackgroundColor(palette().color(QPalette::Base));
}

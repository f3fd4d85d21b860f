#include "keypad/answer_window.h"

#include <QPainter>
#include <algorithm>

#include "keypad/focus_frame.h"
#include "ui/dc.h"

namespace {

constexpr int kUnit = 8;

// Scroll units needed to show extent pixels in a page of page pixels.
int UnitsBeyond(int extent, int page) {
  return std::max(0, (extent - page + kUnit - 1) / kUnit);
}

}  // namespace

TAnswerWindow::TAnswerWindow(QWidget* parent, bool withCaret)
    : TWindow(parent), withCaret_(withCaret) {
  SetBorder(true);
  SetScrollBars(true, true);
  AttachScroller(kUnit, kUnit, 0, 0);
}

void TAnswerWindow::SetEquation(std::unique_ptr<TEquation> equation) {
  equation_ = std::move(equation);
  FitRange();
  Invalidate();
}

void TAnswerWindow::SetPending(const std::string& pending) {
  if (pending == pending_) return;
  pending_ = pending;
  ShowEnd();
}

QSize TAnswerWindow::DrawnSize() const {
  TDC dc(font());
  int x = 0;
  if (equation_) equation_->Draw(dc, x, 0);
  x += dc.TextWidth(pending_);
  // Subscripts hang 3 pixels below the line; the caret sits under it, as wide as an "X".
  return {x + dc.TextWidth("X"), dc.TextHeight() + 3 + (withCaret_ ? 2 : 0)};
}

void TAnswerWindow::FitRange() {
  const QSize drawn = DrawnSize();
  const QRect client = ClientRect();
  const int xRange = UnitsBeyond(drawn.width(), client.width());
  const int yRange = UnitsBeyond(drawn.height(), client.height());
  TScroller& scroller = *Scroller();
  if (xRange != scroller.XRange() || yRange != scroller.YRange()) scroller.SetRange(xRange, yRange);
}

void TAnswerWindow::ShowEnd() {
  FitRange();
  const int end = DrawnSize().width();  // the caret's right edge
  const int caretLeft = end - TDC(font()).TextWidth("X");
  const int page = ClientRect().width();
  TScroller& scroller = *Scroller();
  const int left = scroller.Offset().x();
  int x = scroller.XPos();
  if (end > left + page) {
    x = UnitsBeyond(end, page);
  } else if (caretLeft < left) {
    x = std::max(0, caretLeft) / kUnit;
  }
  scroller.ScrollTo(x, scroller.YPos());
  Invalidate();
}

void TAnswerWindow::resizeEvent(QResizeEvent* event) {
  TWindow::resizeEvent(event);
  FitRange();
}

void TAnswerWindow::SetupWindow() {
  TWindow::SetupWindow();
  FitRange();
  if (!withCaret_) return;
  const TDC dc(font());
  CreateCaret(dc.TextWidth("X"), 2);
  SetCaretPos(0, dc.TextHeight());
  ShowCaret();
}

void TAnswerWindow::Paint(TDC& dc) {
  int x = 0;
  if (equation_) equation_->Draw(dc, x, 0);
  if (!pending_.empty()) {
    dc.SetTextColor(Qt::gray);
    dc.TextOut(x, 0, pending_);
    x += dc.TextWidth(pending_);
    dc.SetTextColor(Qt::black);
  }
  // Coaching changes the equation behind the strip's back; the range follows at the next paint.
  FitRange();
  if (withCaret_ && HasCaret()) {
    const QPoint offset = Scroller()->Offset();
    SetCaretPos(x - offset.x(), dc.TextHeight() - offset.y());
  }
}

void TAnswerWindow::paintEvent(QPaintEvent* event) {
  TWindow::paintEvent(event);
  if (hasFocus()) DrawFocusFrame(*this);
}

void TAnswerWindow::focusInEvent(QFocusEvent* event) {
  TWindow::focusInEvent(event);
  update();
}

void TAnswerWindow::focusOutEvent(QFocusEvent* event) {
  TWindow::focusOutEvent(event);
  update();
}

#include "keypad/answer_window.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "model/answer_text.h"
#include "ui/dc.h"

namespace {

constexpr int kScrollUnit = 8;
// Subscripts hang below the line; the caret sits under it.
constexpr int kBelowLine = 3;
constexpr int kCaretHeight = 2;

// Scroll units needed to show extent pixels in a page of page pixels.
int UnitsBeyond(int extent, int page) {
  return std::max(0, (extent - page + kScrollUnit - 1) / kScrollUnit);
}

}  // namespace

TAnswerWindow::TAnswerWindow(QWidget* parent, bool withCaret)
    : TStripWindow(parent), withCaret_(withCaret) {
  AttachScroller(kScrollUnit, kScrollUnit, 0, 0);
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

int TAnswerWindow::TextEnd(TDC& dc) const {
  int x = 0;
  if (equation_) equation_->Draw(dc, x, 0);
  return x + dc.TextWidth(pending_);
}

int TAnswerWindow::ContentHeight(int h) const {
  return h + kBelowLine + (withCaret_ ? kCaretHeight : 0);
}

QSize TAnswerWindow::DrawnSize() const {
  TDC dc(TextFont());
  const QPoint origin = TextOrigin();
  return {origin.x() + TextEnd(dc) + dc.TextWidth("X") + kPadding,
          2 * origin.y() + ContentHeight(dc.TextHeight())};
}

void TAnswerWindow::FitRange() {
  // A scroll bar only while there is something to scroll; taking one away or adding it changes
  // the room left for the other, so this settles in at most two rounds.
  for (int round = 0; round < 3; ++round) {
    const QSize drawn = DrawnSize();
    const QRect client = ClientRect();
    const int xRange = UnitsBeyond(drawn.width(), client.width());
    const int yRange = UnitsBeyond(drawn.height(), client.height());
    TScroller& scroller = *Scroller();
    if (xRange != scroller.XRange() || yRange != scroller.YRange())
      scroller.SetRange(xRange, yRange);
    const bool across = xRange > 0, down = yRange > 0;
    if (across == (HorizontalScrollBar() != nullptr) && down == (VerticalScrollBar() != nullptr))
      return;
    SetScrollBars(across, down);
    for (QScrollBar* bar : {HorizontalScrollBar(), VerticalScrollBar()})
      if (bar && isVisible()) bar->show();
  }
}

std::string TAnswerWindow::SpokenText() const {
  return (equation_ ? EquationAnswerText(*equation_) : std::string()) + pending_;
}

void TAnswerWindow::ShowEnd() {
  FitRange();
  const int end = DrawnSize().width();  // the right edge of the caret and the padding after it
  const int caretLeft = end - kPadding - TDC(TextFont()).TextWidth("X");
  const int page = ClientRect().width();
  TScroller& scroller = *Scroller();
  const int left = scroller.Offset().x();
  int x = scroller.XPos();
  if (end > left + page) {
    x = UnitsBeyond(end, page);
  } else if (caretLeft < left) {
    x = std::max(0, caretLeft) / kScrollUnit;
  }
  scroller.ScrollTo(x, scroller.YPos());
  Invalidate();
}

void TAnswerWindow::resizeEvent(QResizeEvent* event) {
  TStripWindow::resizeEvent(event);
  FitRange();
}

void TAnswerWindow::SetupWindow() {
  TStripWindow::SetupWindow();
  FitRange();
  if (!withCaret_) return;
  const TDC dc(TextFont());
  CreateCaret(dc.TextWidth("X"), kCaretHeight);
  SetTextCaretPos(0, dc.TextHeight());
  ShowCaret();
}

void TAnswerWindow::PaintText(TDC& dc) {
  int x = 0;
  if (equation_) equation_->Draw(dc, x, 0);
  PaintPending(dc, x, pending_);
  // Coaching changes the equation behind the strip's back; the range follows at the next paint.
  FitRange();
  if (withCaret_ && HasCaret()) {
    const QPoint offset = Scroller()->Offset();
    SetTextCaretPos(x - offset.x(), dc.TextHeight() - offset.y());
  }
}

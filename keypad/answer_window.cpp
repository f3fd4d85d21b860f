#include "keypad/answer_window.h"

#include "ui/dc.h"

TAnswerWindow::TAnswerWindow(QWidget* parent, bool withCaret)
    : TWindow(parent), withCaret_(withCaret) {
  SetBorder(true);
  SetScrollBars(true, true);
  AttachScroller(8, 8, 80, 80);
}

void TAnswerWindow::SetEquation(std::unique_ptr<TEquation> equation) {
  equation_ = std::move(equation);
  Invalidate();
}

void TAnswerWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (!withCaret_) return;
  const TDC dc(font());
  CreateCaret(dc.TextWidth("X"), 2);
  SetCaretPos(0, dc.TextHeight());
  ShowCaret();
}

void TAnswerWindow::Paint(TDC& dc) {
  int x = 0;
  if (equation_) equation_->Draw(dc, x, 0);
  if (withCaret_ && HasCaret()) {
    const QPoint offset = Scroller()->Offset();
    SetCaretPos(x - offset.x(), dc.TextHeight() - offset.y());
  }
}

#include "keypad/edit_window.h"

#include <algorithm>

#include "keypad/focus_frame.h"
#include "ui/dc.h"

TEditWindow::TEditWindow(QWidget* parent, TFormula* formula) : TWindow(parent), formula_(formula) {
  SetBorder(true);
}

void TEditWindow::SetFormula(TFormula* formula) {
  formula_ = formula;
  Invalidate();
}

void TEditWindow::SetPending(const std::string& pending) {
  pending_ = pending;
  Invalidate();
}

void TEditWindow::SetupWindow() {
  TWindow::SetupWindow();
  const TDC dc(font());
  CreateCaret(dc.TextWidth("X"), 2);
  SetCaretPos(0, dc.TextHeight());
  ShowCaret();
}

int TEditWindow::ScrollOffset() const {
  if (!formula_) return 0;
  TDC dc(font());
  int end = 0;
  formula_->Draw(dc, end, 0);
  end += dc.TextWidth(pending_);
  // The strip has no scroll bars: a formula wider than it slides left to keep the caret in view.
  return std::max(0, end + dc.TextWidth("X") - ClientRect().width());
}

void TEditWindow::Paint(TDC& dc) {
  int x = -ScrollOffset();
  if (formula_) formula_->Draw(dc, x, 0);
  if (!pending_.empty()) {
    dc.SetTextColor(Qt::gray);
    dc.TextOut(x, 0, pending_);
    x += dc.TextWidth(pending_);
    dc.SetTextColor(Qt::black);
  }
  if (HasCaret()) SetCaretPos(x, dc.TextHeight());
}

void TEditWindow::paintEvent(QPaintEvent* event) {
  TWindow::paintEvent(event);
  if (hasFocus()) DrawFocusFrame(*this);
}

void TEditWindow::focusInEvent(QFocusEvent* event) {
  TWindow::focusInEvent(event);
  update();
}

void TEditWindow::focusOutEvent(QFocusEvent* event) {
  TWindow::focusOutEvent(event);
  update();
}

#include "keypad/edit_window.h"

#include <algorithm>

#include "ui/dc.h"

TEditWindow::TEditWindow(QWidget* parent, TFormula* formula) : TWindow(parent), formula_(formula) {
  SetBorder(true);
}

void TEditWindow::SetFormula(TFormula* formula) {
  formula_ = formula;
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
  // The strip has no scroll bars: a formula wider than it slides left to keep the caret in view.
  return std::max(0, end + dc.TextWidth("X") - ClientRect().width());
}

void TEditWindow::Paint(TDC& dc) {
  int x = -ScrollOffset();
  if (formula_) formula_->Draw(dc, x, 0);
  if (HasCaret()) SetCaretPos(x, dc.TextHeight());
}

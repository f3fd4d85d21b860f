#include "keypad/edit_window.h"

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

void TEditWindow::Paint(TDC& dc) {
  int x = 0;
  if (formula_) formula_->Draw(dc, x, 0);
  if (HasCaret()) SetCaretPos(x, dc.TextHeight());
}

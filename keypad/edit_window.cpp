#include "keypad/edit_window.h"

#include <algorithm>

#include "model/answer_text.h"
#include "ui/dc.h"

namespace {

constexpr int kEditCaretHeight = 2;

}  // namespace

TEditWindow::TEditWindow(QWidget* parent, TFormula* formula)
    : TStripWindow(parent), formula_(formula) {}

void TEditWindow::SetFormula(TFormula* formula) {
  formula_ = formula;
  Invalidate();
}

void TEditWindow::SetPending(const std::string& pending) {
  pending_ = pending;
  Invalidate();
}

void TEditWindow::SetupWindow() {
  TStripWindow::SetupWindow();
  const TDC dc(TextFont());
  CreateCaret(dc.TextWidth("X"), kEditCaretHeight);
  SetTextCaretPos(0, dc.TextHeight());
  ShowCaret();
}

int TEditWindow::ContentHeight(int h) const {
  return h + kEditCaretHeight;
}

int TEditWindow::ScrollOffset() const {
  if (!formula_) return 0;
  TDC dc(TextFont());
  int end = 0;
  formula_->Draw(dc, end, 0);
  end += dc.TextWidth(pending_);
  // The strip has no scroll bars: a formula wider than it slides left to keep the caret in view.
  const int room = ClientRect().width() - 2 * kPadding;
  return std::max(0, end + dc.TextWidth("X") - room);
}

std::string TEditWindow::SpokenText() const {
  return (formula_ ? FormulaAnswerText(*formula_) : std::string()) + pending_;
}

void TEditWindow::PaintText(TDC& dc) {
  int x = -ScrollOffset();
  if (formula_) formula_->Draw(dc, x, 0);
  PaintPending(dc, x, pending_);
  if (HasCaret()) SetTextCaretPos(x, dc.TextHeight());
}

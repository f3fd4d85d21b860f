#include "keypad/pello_window.h"

#include "ui/dc.h"

TPelloWindow::TPelloWindow(QWidget* parent, const TFormula* substance, std::string word)
    : TStripWindow(parent), substance_(substance), word_(std::move(word)) {}

void TPelloWindow::SetupWindow() {
  TStripWindow::SetupWindow();
  RefreshLines();
}

void TPelloWindow::RefreshLines() {
  lines_.clear();
  TLine first;
  if (substance_) first.AppendFormula(*substance_);
  first.AppendText(" is not a ");
  first.AppendText(word_);
  first.AppendText(" in the correct net ionic equation.");
  lines_.push_back(std::move(first));
  // The keys are named beside the mouse: the line can be placed and cut without one.
  lines_.emplace_back().AppendText(
      "It may need to be dissociated if soluble or a strong acid. With the mouse or the arrow "
      "keys");
  lines_.emplace_back().AppendText(
      "place the line where you want to dissociate and press the Dissociate Button or Enter.");
  Invalidate();
}

int TPelloWindow::ContentHeight(int h) const {
  return TLine::LinesHeight(h, lines_.size());
}

void TPelloWindow::PaintText(TDC& dc) {
  TLine::DrawLines(dc, lines_);
}

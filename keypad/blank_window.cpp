#include "keypad/blank_window.h"

void TBlankWindow::RefreshLines() {
  lines_.clear();
  TLine line;
  if (substance_) line.AppendFormula(*substance_);
  lines_.push_back(std::move(line));
  Invalidate();
}

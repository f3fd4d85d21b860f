#include "coach/split_window.h"

#include "coach/dissociation.h"
#include "ui/dc.h"

TSplitWindow::TSplitWindow(QWidget* parent, const TFormula& substance)
    : TPelloWindow(parent, nullptr, {}) {
  copy_.CopyFrom(substance);
  SetSubstance(&copy_);
  setCursor(Qt::IBeamCursor);
}

void TSplitWindow::RefreshLines() {
  lines_.clear();
  lines_.emplace_back().AppendFormula(copy_);
  Invalidate();
}

void TSplitWindow::HideLine() {
  lineHidden_ = true;
  Invalidate();
}

int TSplitWindow::BoundaryX(int index) const {
  const std::vector<int> boundaries = SymbolBoundaries(copy_, TDC(font()), kTextLeft);
  return index >= 0 && index < static_cast<int>(boundaries.size()) ? boundaries[index] : -1;
}

void TSplitWindow::EvLButtonDown(const QPoint& client) {
  const int nearest = NearestBoundary(SymbolBoundaries(copy_, TDC(font()), kTextLeft), client.x());
  if (nearest >= 0) {
    splitPosition_ = nearest;
    lineX_ = BoundaryX(nearest);
  } else {
    lineX_ = 0;
  }
  Invalidate();
}

void TSplitWindow::Paint(TDC& dc) {
  int x = kTextLeft;
  copy_.Draw(dc, x, 0);
  if (lineHidden_) return;
  dc.SelectPen(Qt::black, 2);
  dc.DrawLine(lineX_, 0, lineX_, dc.TextHeight());
}

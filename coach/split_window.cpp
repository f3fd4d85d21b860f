#include "coach/split_window.h"

#include "coach/rules/dissociation.h"
#include "ui/dc.h"
#include "ui/mark_color.h"

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

std::vector<int> TSplitWindow::Boundaries() const {
  return SymbolBoundaries(copy_, TDC(TextFont()), TextOrigin().x());
}

int TSplitWindow::BoundaryX(int index) const {
  const std::vector<int> boundaries = Boundaries();
  return index >= 0 && index < static_cast<int>(boundaries.size()) ? boundaries[index] : -1;
}

void TSplitWindow::EvLButtonDown(const QPoint& client) {
  const int nearest = NearestBoundary(Boundaries(), client.x());
  if (nearest >= 0) {
    splitPosition_ = nearest;
    lineX_ = BoundaryX(nearest);
  } else {
    lineX_ = 0;
  }
  Invalidate();
}

void TSplitWindow::PaintText(TDC& dc) {
  int x = 0;
  copy_.Draw(dc, x, 0);
  if (lineHidden_) return;
  // The line is placed in client coordinates, the text drawn from its origin.
  const int lineX = lineX_ - TextOrigin().x();
  dc.SelectPen(FocusColor(palette()), 2);
  dc.DrawLine(lineX, -1, lineX, dc.TextHeight() + 1);
}

#include "ui/scroller.h"

#include <algorithm>

TScroller::TScroller(int xUnit, int yUnit, int xRange, int yRange)
    : xUnit_(std::max(1, xUnit)),
      yUnit_(std::max(1, yUnit)),
      xRange_(std::max(0, xRange)),
      yRange_(std::max(0, yRange)) {}

void TScroller::SetUnits(int xUnit, int yUnit) {
  xUnit_ = std::max(1, xUnit);
  yUnit_ = std::max(1, yUnit);
  Changed();
}

void TScroller::SetRange(int xRange, int yRange) {
  xRange_ = std::max(0, xRange);
  yRange_ = std::max(0, yRange);
  xPos_ = std::min(xPos_, xRange_);
  yPos_ = std::min(yPos_, yRange_);
  Changed();
}

void TScroller::ScrollTo(int x, int y) {
  x = std::clamp(x, 0, xRange_);
  y = std::clamp(y, 0, yRange_);
  if (x == xPos_ && y == yPos_) return;
  xPos_ = x;
  yPos_ = y;
  Changed();
}

void TScroller::Changed() {
  if (onChange_) onChange_();
}

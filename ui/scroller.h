#pragma once
#include <QPoint>
#include <functional>
#include <utility>

// Scroll state of a window: the position counts units of so many pixels and runs from 0 to the
// range. The window paints with its origin moved by -position * unit.
class TScroller {
 public:
  TScroller(int xUnit, int yUnit, int xRange, int yRange);

  void SetUnits(int xUnit, int yUnit);
  void SetRange(int xRange, int yRange);
  // Positions outside 0..range are clamped.
  void ScrollTo(int x, int y);
  void ScrollBy(int dx, int dy) { ScrollTo(xPos_ + dx, yPos_ + dy); }

  int XUnit() const { return xUnit_; }
  int YUnit() const { return yUnit_; }
  int XRange() const { return xRange_; }
  int YRange() const { return yRange_; }
  int XPos() const { return xPos_; }
  int YPos() const { return yPos_; }
  // The pixel offset of the view: position times unit.
  QPoint Offset() const { return {xPos_ * xUnit_, yPos_ * yUnit_}; }

  // Called after every change of units, range or position.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 private:
  void Changed();

  int xUnit_, yUnit_, xRange_, yRange_;
  int xPos_ = 0, yPos_ = 0;
  std::function<void()> onChange_;
};

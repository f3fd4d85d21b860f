#pragma once
#include <string_view>

// What drawing the keyed form needs of a device: text out at a point and text measurement.
// The point is the top-left corner of the text cell, as on the original device contexts.
class TTextSurface {
 public:
  virtual ~TTextSurface() = default;
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) const = 0;
  // Height of the text extent of "X" in the current font: the line height h.
  virtual int TextHeight() const = 0;
};

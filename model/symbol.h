#pragma once
#include <cstdint>

#include "model/streamable_base.h"

class TTextSurface;

enum Placement : int32_t { Superscript = 0, Subscript = 1, Baseline = 2 };

// One keyed character with its placement.
class TSymbol : public TStreamableBase {
 public:
  TSymbol(char c, int32_t place) : ch(c), placement(place) {}

  // Draws at (x, y) and advances x by the character's width; y never changes.
  void Draw(TTextSurface& dc, int& x, int y) const;
  // How far Draw advances x: whatever measures a drawn line must add these up.
  int Width(const TTextSurface& dc) const;

  char ch;
  int32_t placement;
};

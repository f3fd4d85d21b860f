#include "model/symbol.h"

#include <string_view>

#include "model/text_surface.h"

void TSymbol::Draw(TTextSurface& dc, int& x, int y) const {
  const std::string_view text(&ch, 1);
  switch (placement) {
    case Baseline:
      dc.TextOut(x, y, text);
      break;
    case Subscript:
      dc.TextOut(x, y + 3, text);
      break;
    case Superscript:
      dc.TextOut(x, y - 3, text);
      break;
    default:
      break;  // an unknown placement is not drawn but still takes its room
  }
  x += dc.TextWidth(text);
}

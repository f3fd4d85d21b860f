#include "model/symbol.h"

#include <string_view>

#include "model/text_surface.h"

namespace {

// How far a script set in the line's own type moves off the line, in pixels.
constexpr int kScriptShift = 3;

bool IsScript(int32_t placement) {
  return placement == Subscript || placement == Superscript;
}

}  // namespace

void TSymbol::Draw(TTextSurface& dc, int& x, int y) const {
  const std::string_view text(&ch, 1);
  switch (placement) {
    case Baseline:
      dc.TextOut(x, y, text);
      break;
    case Subscript:
      dc.ScriptOut(x, y, TTextSurface::Script::Sub, kScriptShift, text);
      break;
    case Superscript:
      dc.ScriptOut(x, y, TTextSurface::Script::Super, kScriptShift, text);
      break;
    default:
      break;  // an unknown placement is not drawn but still takes its room
  }
  x += Width(dc);
}

int TSymbol::Width(const TTextSurface& dc) const {
  const std::string_view text(&ch, 1);
  return IsScript(placement) ? dc.ScriptWidth(text) : dc.TextWidth(text);
}

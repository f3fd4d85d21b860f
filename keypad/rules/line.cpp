#include "keypad/rules/line.h"

#include "model/text_surface.h"

void TLine::AppendSymbols(const TFormula& formula, std::size_t count) {
  for (std::size_t i = 0; i < count && i < formula.symbols.size(); ++i)
    formula_.symbols.push_back(formula.symbols[i]);
}

void TLine::DrawLines(TTextSurface& dc, const std::vector<TLine>& lines) {
  const int h = dc.TextHeight();
  int y = 0;
  for (const TLine& line : lines) {
    int x = 0;
    line.Draw(dc, x, y);
    y = static_cast<int>(y + 1.5 * h);
  }
}

int TLine::LinesHeight(int h, std::size_t count) {
  int y = 0;
  for (std::size_t i = 1; i < count; ++i) y = static_cast<int>(y + 1.5 * h);
  return y + h;
}

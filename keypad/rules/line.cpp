#include "keypad/rules/line.h"

#include "model/text_surface.h"

void TLine::AppendSymbols(const TFormula& formula, std::size_t count) {
  for (std::size_t i = 0; i < count && i < formula.symbols.size(); ++i)
    formula_.symbols.push_back(formula.symbols[i]);
}

std::string TLine::SpokenText() const {
  std::string text;
  const std::vector<TSymbol>& symbols = formula_.symbols;
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    if (!formula_.IsDrawn(i)) continue;
    const bool raised = symbols[i].placement == Superscript;
    if (raised && (i == 0 || symbols[i - 1].placement != Superscript)) text += '^';
    text += symbols[i].ch;
  }
  return text;
}

std::string TLine::SpokenLines(const std::vector<TLine>& lines) {
  std::string text;
  for (const TLine& line : lines) {
    if (!text.empty()) text += '\n';
    text += line.SpokenText();
  }
  return text;
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

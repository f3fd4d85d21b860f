#pragma once
#include <string_view>
#include <vector>

#include "model/formula.h"

class TTextSurface;

// One line of a text panel: words as baseline symbols, formulas with their own placements.
class TLine : public TStreamableBase {
 public:
  void AppendText(std::string_view text) { formula_.Append(text, Baseline); }
  void AppendSymbols(const TFormula& formula, std::size_t count);
  void AppendFormula(const TFormula& formula) { AppendSymbols(formula, formula.symbols.size()); }
  const std::vector<TSymbol>& Symbols() const { return formula_.symbols; }
  bool IsEmpty() const { return formula_.symbols.empty(); }
  std::string Text() const { return formula_.AllText(); }
  // What is drawn, as a screen reader reads it: "^" before a raised charge ("SO4^2-", "Fe^3+"),
  // a charge of one as its sign alone ("Na+").
  std::string SpokenText() const;
  // The lines' spoken texts, one line each.
  static std::string SpokenLines(const std::vector<TLine>& lines);
  void Draw(TTextSurface& dc, int& x, int y) const { formula_.Draw(dc, x, y); }

  // Draws lines from the top-left corner, each 1.5 line heights below the one before.
  static void DrawLines(TTextSurface& dc, const std::vector<TLine>& lines);
  // The height that count lines drawn so take, for h the height of "X".
  static int LinesHeight(int h, std::size_t count);

 private:
  TFormula formula_;
};

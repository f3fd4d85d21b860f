// Subscripts and charges are drawn narrower than the line's letters: the dissociation line must
// still stand exactly between the characters the student sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "coach/rules/dissociation.h"
#include "coach/split_it_dialog.h"
#include "coach/split_window.h"
#include "split_click.h"
#include "tests/support/equation_text.h"
#include "tests/support/recording_surface.h"
#include "ui/dc.h"

namespace {

const char* const kCompounds[] = {"Na2SO4", "Fe2(SO4)3", "Ca(NO3)2", "Hg2^2+", "NH4^1+"};

// The boundary after symbol i is where drawing puts the next symbol it draws, and the last one
// where the pen ends; the undrawn "1" of a charge of one ends where the symbol before it does.
TEST(ScriptHit, BoundariesAreWhereTheNextSymbolIsDrawn) {
  for (const char* text : kCompounds) {
    const auto formula = FormulaFromText(text);
    RecordingSurface surface(9, 13, 5);
    int end = 3;
    formula->Draw(surface, end, 0);
    const std::vector<int> boundaries = SymbolBoundaries(*formula, surface, 3);
    ASSERT_EQ(boundaries.size(), formula->symbols.size()) << text;
    std::vector<int> drawnEnds;
    std::size_t next = 0;  // the piece drawn after the symbols so far
    for (std::size_t i = 0; i < formula->symbols.size(); ++i) {
      const auto& symbols = formula->symbols;
      const bool chargeOne = symbols[i].ch == '1' && symbols[i].placement == Superscript &&
                             i + 1 < symbols.size() && symbols[i + 1].placement == Superscript;
      if (!chargeOne) ++next;
      drawnEnds.push_back(next < surface.pieces.size() ? surface.pieces[next].x : end);
    }
    EXPECT_EQ(boundaries, drawnEnds) << text;
  }
}

// In the real panel, with the real fonts: a click on each boundary puts the line on it.
TEST(ScriptHit, TheLineLandsOnTheBoundaryClickedWithScriptsNarrowerThanLetters) {
  for (const char* text : kCompounds) {
    auto equation = EquationFromText(text);
    TSplitItDialog dialog(nullptr, equation->reactants[0].get(), equation.get(), true);
    dialog.Create();
    TSplitWindow& split = *dialog.SplitWindow();
    const TDC dc(split.TextFont());
    ASSERT_LT(dc.ScriptWidth("4"), dc.TextWidth("4")) << "scripts are not set smaller";
    const std::size_t n = equation->reactants[0]->symbols.size();
    for (int i = 0; i < static_cast<int>(n); ++i) {
      const int boundary = BoundaryAfter(split, i);
      ClickAt(split, boundary);
      // An undrawn "1" shares its boundary with the symbol before it, which the click takes.
      int expected = i;
      while (expected > 0 && BoundaryAfter(split, expected - 1) == boundary) --expected;
      EXPECT_EQ(split.SplitPosition(), expected) << text << " after symbol " << i;
      EXPECT_EQ(split.LineX(), boundary) << text << " after symbol " << i;
    }
  }
}

}  // namespace

// Subscripts and charges are drawn narrower than the line's letters: the dissociation line must
// still stand exactly between the characters the student sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "coach/dissociation.h"
#include "coach/split_it_dialog.h"
#include "coach/split_window.h"
#include "tests/support/equation_text.h"
#include "split_click.h"
#include "tests/support/recording_surface.h"
#include "ui/dc.h"

namespace {

const char* const kCompounds[] = {"Na2SO4", "Fe2(SO4)3", "Ca(NO3)2", "Hg2^2+", "NH4^1+"};

// The boundary after symbol i is where drawing puts symbol i + 1, and the last one where the
// pen ends.
TEST(ScriptHit, BoundariesAreWhereTheNextSymbolIsDrawn) {
  for (const char* text : kCompounds) {
    const auto formula = FormulaFromText(text);
    RecordingSurface surface(9, 13, 5);
    int end = 3;
    formula->Draw(surface, end, 0);
    const std::vector<int> boundaries = SymbolBoundaries(*formula, surface, 3);
    ASSERT_EQ(boundaries.size(), surface.pieces.size()) << text;
    for (std::size_t i = 0; i + 1 < boundaries.size(); ++i)
      EXPECT_EQ(boundaries[i], surface.pieces[i + 1].x) << text << " after symbol " << i;
    EXPECT_EQ(boundaries.back(), end) << text;
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
      EXPECT_EQ(split.SplitPosition(), i) << text << " after symbol " << i;
      EXPECT_EQ(split.LineX(), boundary) << text << " after symbol " << i;
    }
  }
}

}  // namespace

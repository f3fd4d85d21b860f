#include <gtest/gtest.h>

#include "model/equation.h"
#include "tests/support/recording_surface.h"

namespace {

using Piece = RecordingSurface::Piece;

std::unique_ptr<TFormula> Formula(std::initializer_list<std::pair<const char*, int32_t>> keys) {
  auto formula = std::make_unique<TFormula>();
  for (const auto& [text, placement] : keys) formula->Append(text, placement);
  return formula;
}

TEST(Draw, SymbolsAreLoweredAndRaisedByThreePixels) {
  RecordingSurface dc(8);
  auto sulfate = Formula({{"SO", Baseline}, {"4", Subscript}, {"2-", Superscript}});
  int x = 5;
  sulfate->Draw(dc, x, 20);
  const std::vector<Piece> expected = {
      {5, 20, "S"}, {13, 20, "O"}, {21, 23, "4"}, {29, 17, "2"}, {37, 17, "-"}};
  EXPECT_EQ(dc.pieces, expected);
  EXPECT_EQ(x, 45);
}

// Scripts set in a narrower type: each piece starts where the one before it ended, whatever
// its width, and the pen ends after the last one.
TEST(Draw, ScriptsAdvanceByTheirOwnWidth) {
  struct Case {
    std::unique_ptr<TFormula> formula;
    std::vector<int> xs;
    int end;
  };
  Case cases[] = {
      {Formula({{"SO", Baseline}, {"4", Subscript}, {"2-", Superscript}}), {0, 8, 16, 21, 26}, 31},
      {Formula({{"Fe", Baseline},
                {"2", Subscript},
                {"(SO", Baseline},
                {"4", Subscript},
                {")", Baseline},
                {"3", Subscript}}),
       {0, 8, 16, 21, 29, 37, 45, 50, 58},
       63},
      {Formula({{"Q", 7}, {"H", Baseline}}), {8}, 16},
  };
  for (const Case& c : cases) {
    RecordingSurface dc(8, 13, 5);
    int x = 0;
    c.formula->Draw(dc, x, 10);
    std::vector<int> xs;
    for (const Piece& piece : dc.pieces) xs.push_back(piece.x);
    EXPECT_EQ(xs, c.xs) << c.formula->AllText();
    EXPECT_EQ(x, c.end) << c.formula->AllText();
    int width = 0;
    for (const TSymbol& symbol : c.formula->symbols) width += symbol.Width(dc);
    EXPECT_EQ(width, c.end) << c.formula->AllText();
  }
}

// A charge of one is drawn as chemists write it, its sign alone, while the keyed "1" stays;
// the pen, and with it the caret, ends where the drawing does.
TEST(Draw, AChargeOfOneIsDrawnAsItsSignAlone) {
  struct Case {
    std::unique_ptr<TFormula> formula;
    const char* drawn;
    const char* kept;
  };
  Case cases[] = {
      {Formula({{"Cl", Baseline}, {"1-", Superscript}}), "Cl-", "Cl1-"},
      {Formula({{"Ag", Baseline}, {"1+", Superscript}}), "Ag+", "Ag1+"},
      {Formula({{"NH", Baseline}, {"4", Subscript}, {"1+", Superscript}}), "NH4+", "NH41+"},
      {Formula({{"Fe", Baseline}, {"3+", Superscript}}), "Fe3+", "Fe3+"},
      {Formula({{"1-", Superscript}}), "-", "1-"},
      // Until its sign comes, a raised 1 shows: it is what was keyed.
      {Formula({{"Na", Baseline}, {"1", Superscript}}), "Na1", "Na1"},
      // A 1 on the line, or as a subscript, is no charge.
      {Formula({{"X1", Baseline}, {"+", Superscript}}), "X1+", "X1+"},
      {Formula({{"X", Baseline}, {"1", Subscript}, {"+", Superscript}}), "X1+", "X1+"},
      {Formula({{"X", Baseline}, {"21-", Superscript}}), "X21-", "X21-"},
  };
  for (const Case& c : cases) {
    RecordingSurface dc(8, 13, 5);
    int x = 0;
    c.formula->Draw(dc, x, 0);
    std::string drawn;
    int widths = 0;
    for (const Piece& piece : dc.pieces) drawn += piece.text;
    for (std::size_t i = 0; i < c.formula->symbols.size(); ++i)
      widths += c.formula->SymbolWidth(i, dc);
    EXPECT_EQ(drawn, c.drawn) << c.kept;
    EXPECT_EQ(c.formula->AllText(), c.kept);
    EXPECT_EQ(widths, x) << c.kept;
    // Each piece starts where the one before it ended.
    int expectedX = 0;
    for (const Piece& piece : dc.pieces) {
      EXPECT_EQ(piece.x, expectedX) << c.kept << " at " << piece.text;
      expectedX += (piece.y == 0 ? 8 : 5) * static_cast<int>(piece.text.size());
    }
  }
}

TEST(Draw, UnknownPlacementDrawsNothingButTakesItsRoom) {
  RecordingSurface dc(8);
  TSymbol odd('Q', 7);
  int x = 0;
  odd.Draw(dc, x, 0);
  EXPECT_TRUE(dc.pieces.empty());
  EXPECT_EQ(x, 8);
}

TEST(Draw, EquationSeparatorsAndArrow) {
  RecordingSurface dc(8);
  TEquation equation;
  equation.reactants.push_back(Formula({{"Ag", Baseline}, {"1+", Superscript}}));
  equation.reactants.push_back(Formula({{"Cl", Baseline}, {"1-", Superscript}}));
  equation.arrowEntered = true;
  equation.products.push_back(Formula({{"AgCl", Baseline}}));
  int x = 0;
  equation.Draw(dc, x, 10);
  std::string line;
  for (const auto& p : dc.pieces) line += p.text;
  // Charges of one as chemists write them: the sign alone.
  EXPECT_EQ(line, "Ag+ + Cl- -> AgCl");
  // " + " starts right after the raised charge, " -> " after the second one.
  EXPECT_EQ(dc.pieces[3], (Piece{24, 10, " + "}));
  EXPECT_EQ(dc.pieces[7], (Piece{72, 10, " -> "}));
  EXPECT_EQ(x, 8 * static_cast<int>(line.size()));
}

TEST(Draw, ArrowWithNoProductsEndsTheLine) {
  RecordingSurface dc(8);
  TEquation equation;
  equation.reactants.push_back(Formula({{"Ba", Baseline}}));
  equation.arrowEntered = true;
  int x = 0;
  equation.Draw(dc, x, 0);
  ASSERT_EQ(dc.pieces.size(), 3u);
  EXPECT_EQ(dc.pieces.back(), (Piece{16, 0, " -> "}));
}

TEST(Draw, EmptyFormulasStillGetTheirSeparators) {
  RecordingSurface dc(8);
  TEquation equation;
  equation.reactants.push_back(Formula({{"H", Baseline}}));
  equation.reactants.push_back(Formula({}));
  equation.reactants.push_back(Formula({}));
  equation.products.push_back(Formula({{"X", Baseline}}));  // no arrow: nothing between sides
  int x = 0;
  equation.Draw(dc, x, 0);
  std::string line;
  for (const auto& p : dc.pieces) line += p.text;
  EXPECT_EQ(line, "H +  + X");
}

TEST(Draw, NoReactantsDrawsNoArrow) {
  RecordingSurface dc(8);
  TEquation equation;
  equation.arrowEntered = true;
  equation.products.push_back(Formula({{"O", Baseline}, {"2", Subscript}}));
  int x = 0;
  equation.Draw(dc, x, 0);
  ASSERT_EQ(dc.pieces.size(), 2u);
  EXPECT_EQ(dc.pieces[0].text, "O");
}

TEST(CopyFrom, EquationCopyIsDeepAndLeavesFormulaFlagsClear) {
  TEquation source;
  source.reactants.push_back(Formula({{"Na", Baseline}, {"1+", Superscript}}));
  source.reactants.back()->chargeKeysOn = true;
  source.products.push_back(Formula({{"H", Baseline}, {"2", Subscript}}));
  source.arrowEntered = true;
  source.plusOn = true;
  source.arrowOn = false;
  source.elementKeysOn = true;

  TEquation copy;
  copy.reactants.push_back(Formula({{"junk", Baseline}}));
  copy.CopyFrom(source);
  source.reactants[0]->symbols[0].ch = 'K';  // the copy must not share symbols

  ASSERT_EQ(copy.reactants.size(), 1u);
  ASSERT_EQ(copy.products.size(), 1u);
  EXPECT_EQ(copy.reactants[0]->AllText(), "Na1+");
  EXPECT_EQ(copy.reactants[0]->symbols[2].placement, Superscript);
  EXPECT_FALSE(copy.reactants[0]->chargeKeysOn);
  EXPECT_TRUE(copy.arrowEntered);
  EXPECT_TRUE(copy.plusOn);
  EXPECT_TRUE(copy.elementKeysOn);
  EXPECT_NE(copy.reactants[0].get(), source.reactants[0].get());
}

TEST(CopyFrom, FormulaCopyTakesSymbolsAndFlags) {
  auto source = Formula({{"(", Baseline}, {"N", Baseline}});
  source->closeParenOn = true;
  source->elementKeysOn = true;
  TFormula copy;
  copy.Append("old", Baseline);
  copy.digitKeysOn = true;
  copy.CopyFrom(*source);
  EXPECT_EQ(copy.AllText(), "(N");
  EXPECT_TRUE(copy.closeParenOn);
  EXPECT_TRUE(copy.elementKeysOn);
  EXPECT_FALSE(copy.digitKeysOn);
}

TEST(Formula, ChargeHelpersNeverTouchSymbolZero) {
  auto charged = Formula({{"Fe", Baseline}, {"3+", Superscript}});
  EXPECT_EQ(charged->TrailingChargeText(), "3+");
  EXPECT_EQ(charged->TextBeforeCharge(), "Fe");
  charged->RemoveTrailingCharge();
  EXPECT_EQ(charged->AllText(), "Fe");

  auto onlyCharge = Formula({{"2+", Superscript}});
  EXPECT_EQ(onlyCharge->TrailingChargeText(), "+");
  onlyCharge->RemoveTrailingCharge();
  EXPECT_EQ(onlyCharge->AllText(), "2");
}

}  // namespace

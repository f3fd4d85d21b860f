#include "coach/rules/formula_search.h"

#include <gtest/gtest.h>

#include "tests/support/equation_text.h"

namespace {

// Index of a found formula within its side, -1 for none.
int Found(const TEquation& equation, const TFormula* found, bool reactantSide) {
  return found ? TEquation::IndexOf(equation.Side(reactantSide), found) : -1;
}

struct SearchCase {
  const char* equation;
  const char* text;
  bool reactantSide;
  int same;        // FindSameFormula
  int containing;  // FindContainingFormula
};

void PrintTo(const SearchCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" in " << c.equation
      << (c.reactantSide ? " (reactants)" : " (products)");
}

class FormulaSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(FormulaSearch, FindsByTextBeforeTheCharge) {
  const SearchCase& c = GetParam();
  const auto equation = EquationFromText(c.equation);
  EXPECT_EQ(Found(*equation, FindSameFormula(*equation, c.text, c.reactantSide), c.reactantSide),
            c.same);
  EXPECT_EQ(
      Found(*equation, FindContainingFormula(*equation, c.text, c.reactantSide), c.reactantSide),
      c.containing);
}

INSTANTIATE_TEST_SUITE_P(Coach, FormulaSearch,
                         testing::Values(
                             // A compound holding the ion: it is to be dissociated.
                             SearchCase{"AgNO3 + NaCl -> AgCl", "Ag", true, -1, 0},
                             SearchCase{"NaCl + AgNO3 -> AgCl", "Ag", true, -1, 1},
                             // The charge does not take part in the text.
                             SearchCase{"Na^1+ + Ag^1+ -> AgCl", "Ag", true, 1, -1},
                             SearchCase{"Ag^2+ -> AgCl", "Ag", true, 0, -1},
                             // A one-capital formula before the compound ends the whole search.
                             SearchCase{"Na^1+ + AgNO3 -> AgCl", "Ag", true, -1, -1},
                             SearchCase{"Ca(OH)2 + Na + AgNO3", "Ag", true, -1, -1},
                             SearchCase{"_ + AgNO3 -> AgCl", "Ag", true, -1, -1},
                             // So does a formula equal to the text.
                             SearchCase{"Ag^1+ + AgNO3 -> AgCl", "Ag", true, 0, -1},
                             SearchCase{"NaCl + Ag + AgNO3", "Ag", true, 1, -1},
                             // Only the given side is searched, and only whole texts are the same.
                             SearchCase{"NaCl -> AgNO3 + Ag", "Ag", true, -1, -1},
                             SearchCase{"NaCl -> AgNO3 + Ag", "Ag", false, 1, 0},
                             SearchCase{"AgCl + AgCl^1- -> Ag", "AgCl", true, 0, -1},
                             SearchCase{"Cl2 -> Cl^1-", "Cl", false, 0, -1},
                             SearchCase{"NaCl + KNO3", "Ag", true, -1, -1},
                             SearchCase{"NaCl", "Ag", false, -1, -1}));

// The first of several matches is the one coached.
TEST(FormulaSearch, ReturnsTheFirstMatch) {
  const auto equation = EquationFromText("Ag^1+ + NaAgO + AgNO3 + Ag -> AgCl");
  EXPECT_EQ(FindSameFormula(*equation, "Ag", true), equation->reactants[0].get());
  EXPECT_EQ(FindSameFormula(*equation, "AgNO3", true), equation->reactants[2].get());
  const auto compounds = EquationFromText("NaAgO + AgNO3 + Ag -> AgCl");
  EXPECT_EQ(FindContainingFormula(*compounds, "Ag", true), compounds->reactants[0].get());
}

}  // namespace

#include "coach/split_it_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <string>

#include "coach/charge_box.h"
#include "coach/rules/dissociation.h"
#include "coach/split_window.h"
#include "keypad/blank_window.h"
#include "keypad/pello_window.h"
#include "split_click.h"
#include "tests/support/driver.h"
#include "tests/support/equation_text.h"
#include "ui/combo_box.h"

namespace {

// The inverse of FormulaFromText: "NO3", "Ca^2+".
std::string Written(const TFormula& formula) {
  std::string text;
  bool charge = false;
  for (const TSymbol& s : formula.symbols) {
    if (s.placement == Superscript && !charge) text += '^';
    charge = charge || s.placement == Superscript;
    text += s.ch;
  }
  return text;
}

std::string Written(const TEquation& equation) {
  std::string text;
  auto side = [&](const TFormulaList& list) {
    for (std::size_t i = 0; i < list.size(); ++i) text += (i ? " + " : "") + Written(*list[i]);
  };
  side(equation.reactants);
  if (equation.arrowEntered) text += " -> ";
  side(equation.products);
  return text;
}

const char* const kWarning = "This substance cannot be dissociated in this position.";

struct CutCase {
  const char* equation;
  bool reactantSide;
  int index;             // of the compound in its side
  int cutAfter;          // symbol index; -1 for no click
  const char* species1;  // null when the cut is refused
  const char* species2;
  const char* scratch;
  int closeWith;  // 1 (OK), 2 ("&Answer") or 5 ("&Skip")
  // Keys that place the line and press Enter, instead of a click and the Dissociate button.
  std::vector<int> keys = {};
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << c.equation << " cut after " << c.cutAfter;
}

class SplitCut : public testing::TestWithParam<CutCase> {};

TEST_P(SplitCut, SplitsTheScratchCopyOrRefuses) {
  const CutCase& c = GetParam();
  auto equation = EquationFromText(c.equation);
  TDriver driver;
  auto& script = driver.ExpectDialog<TSplitItDialog>();
  script.Do([&](TSplitItDialog& d) {
    EXPECT_EQ(d.focusWidget(), d.SplitWindow());  // the line is where the student starts
    if (c.keys.empty() && c.cutAfter >= 0)
      ClickAt(*d.SplitWindow(), BoundaryAfter(*d.SplitWindow(), c.cutAfter));
    PressKeys(d, c.keys);
  });
  if (c.keys.empty()) script.Press("Dissociate");
  script.Check([&](TSplitItDialog& d) {
    if (!c.species1) {
      EXPECT_TRUE(d.IsButtonEnabled(104));
      EXPECT_EQ(Written(*d.ScratchEquation()), c.equation);
      return;
    }
    EXPECT_EQ(Written(d.Species(1)), c.species1);
    EXPECT_EQ(Written(d.Species(2)), c.species2);
    EXPECT_EQ(Written(*d.ScratchEquation()), c.scratch);
    EXPECT_FALSE(d.IsButtonEnabled(104));
    EXPECT_FALSE(d.SplitWindow()->isEnabled());
    EXPECT_TRUE(d.SplitWindow()->IsLineHidden());
    ASSERT_EQ(d.MessagePanel()->Lines().size(), 2u);
    EXPECT_EQ(d.MessagePanel()->Lines()[1].Text(), "substance below:");
    // The charges come next.
    EXPECT_EQ(d.focusWidget(), d.ComboBox(102));
  });
  script.Press(c.closeWith == 5 ? 101 : c.closeWith);
  if (!c.species1) driver.ExpectMessage(kWarning, "Warning").WithIcon(MbIcon::Exclamation);
  TSplitItDialog dialog(nullptr, equation->Side(c.reactantSide)[c.index].get(), equation.get(),
                        c.reactantSide);
  EXPECT_EQ(dialog.Execute(), c.closeWith);
  EXPECT_EQ(Written(*equation), c.closeWith == 1 && c.scratch ? c.scratch : c.equation);
}

INSTANTIATE_TEST_SUITE_P(
    Coach, SplitCut,
    testing::Values(CutCase{"Ca(NO3)2 -> CaCO3", true, 0, 1, "Ca", "NO3", "Ca + NO3 -> CaCO3", 5},
                    CutCase{"Ca(NO3)2 -> CaCO3", true, 0, 3, nullptr, nullptr, nullptr, 1},  // N|O
                    CutCase{"Na2SO4", true, 0, 1, "Na", "SO4", "Na + SO4", 2},
                    CutCase{"Na2SO4", true, 0, 2, "Na2", "SO4", "Na2 + SO4", 1},
                    CutCase{"BaCl2 -> BaSO4", true, 0, 1, "Ba", "Cl2", "Ba + Cl2 -> BaSO4", 1},
                    CutCase{"BaCl2", true, 0, 2, nullptr, nullptr, nullptr, 5},  // C|l
                    CutCase{"BaCl2", true, 0, 4, nullptr, nullptr, nullptr, 5},  // at the end
                    CutCase{"BaCl2", true, 0, -1, nullptr, nullptr, nullptr, 2},
                    CutCase{"Ag + (NH4)2SO4 + Cl -> AgCl", true, 1, 4, "NH4", "SO4",
                            "Ag + NH4 + SO4 + Cl -> AgCl", 1},
                    CutCase{"Ag -> Cu(NH3)4^2+ + H2O", false, 0, 1, "Cu", "NH3^2+",
                            "Ag -> Cu + NH3^2+ + H2O", 2},
                    // Cuts that cleaning would leave without an element, and one just inside
                    // a bracket.
                    // clang-format off
                    CutCase{"BaCl2", true, 0, 3, nullptr, nullptr, nullptr, 1},       // Cl|2
                    CutCase{"Ca(OH)2", true, 0, 5, nullptr, nullptr, nullptr, 1},     // )|2
                    CutCase{"Ca(NO3)2", true, 0, 2, nullptr, nullptr, nullptr, 1},    // (|N
                    // From the keyboard: arrows, Home and End place the line, Enter cuts.
                    CutCase{"Ca(NO3)2 -> CaCO3", true, 0, 1, "Ca", "NO3", "Ca + NO3 -> CaCO3", 1,
                            {Qt::Key_Home, Qt::Key_Right, Qt::Key_Return}},
                    CutCase{"Na2SO4", true, 0, 2, "Na2", "SO4", "Na2 + SO4", 1,
                            {Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Return}},
                    CutCase{"BaCl2", true, 0, 4, nullptr, nullptr, nullptr, 1,        // at the end
                            {Qt::Key_Left, Qt::Key_Right, Qt::Key_Return}}));
// clang-format on

TEST(SplitItDialog, OkWritesTheSpeciesWithTheLastChargeChosenOtherThanZero) {
  auto equation = EquationFromText("Ca(NO3)2 -> CaCO3");
  TDriver driver;
  driver.ExpectDialog<TSplitItDialog>()
      .Check([](TSplitItDialog& d) {
        EXPECT_EQ(d.MessagePanel()->Lines().size(), 3u);
        EXPECT_EQ(d.MessagePanel()->Lines()[0].Text(),
                  "Ca(NO3)2 is not a reactant in the correct net ionic equation.");
      })
      .Do([](TSplitItDialog& d) {
        d.ComboBox(102)->SetText("2+");  // nothing split off yet: kept for the split
        EXPECT_TRUE(d.Species(1).symbols.empty());
        ClickAt(*d.SplitWindow(), BoundaryAfter(*d.SplitWindow(), 1));
      })
      .Press("Dissociate")
      .Check([](TSplitItDialog& d) {
        // Taken over at once, with no repaint of the box needed.
        EXPECT_EQ(Written(d.Species(1)), "Ca^2+");
        EXPECT_EQ(Written(d.Species(2)), "NO3");
        EXPECT_EQ(Written(*d.ScratchEquation()), "Ca^2+ + NO3 -> CaCO3");
      })
      .Do([](TSplitItDialog& d) {
        d.ComboBox(102)->SetText("3+");
        d.ComboBox(102)->SetText("2+");
        d.ComboBox(103)->SetText("1-");
        d.ComboBox(102)->SetText("0");
        d.ChargeBox(102)->Apply();  // as a repaint does
      })
      .Check([](TSplitItDialog& d) { EXPECT_EQ(Written(d.Species(1)), "Ca^2+"); })
      .Press(1);
  TSplitItDialog dialog(nullptr, equation->reactants[0].get(), equation.get(), true);
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(Written(*equation), "Ca^2+ + NO3^1- -> CaCO3");
}

// A charge picked in either box before the cut goes onto its own species, in the panel and in
// the scratch equation, as soon as Dissociate splits the compound.
struct EarlyChargeCase {
  const char* charge1;  // picked in box 102 before Dissociate; "0" for none
  const char* charge2;  // picked in box 103 before Dissociate
  const char* species1;
  const char* species2;
  const char* written;  // the student's equation after OK
};

void PrintTo(const EarlyChargeCase& c, std::ostream* os) {
  *os << c.charge1 << " and " << c.charge2 << " before the cut";
}

// "NO3^1-" as a panel line holds it: the characters without the charge mark.
std::string Unmarked(std::string text) {
  std::erase(text, '^');
  return text;
}

class SplitEarlyCharge : public testing::TestWithParam<EarlyChargeCase> {};

TEST_P(SplitEarlyCharge, IsAppliedToItsSpeciesOnDissociate) {
  const EarlyChargeCase& c = GetParam();
  auto equation = EquationFromText("Ca(NO3)2 -> CaCO3");
  TDriver driver;
  driver.ExpectDialog<TSplitItDialog>()
      .Do([&](TSplitItDialog& d) {
        d.ComboBox(102)->SetText(c.charge1);
        d.ComboBox(103)->SetText(c.charge2);
        ClickAt(*d.SplitWindow(), BoundaryAfter(*d.SplitWindow(), 1));
      })
      .Press("Dissociate")
      .Check([&](TSplitItDialog& d) {
        EXPECT_EQ(Written(d.Species(1)), c.species1);
        EXPECT_EQ(Written(d.Species(2)), c.species2);
        // The panels show the species as they now are.
        EXPECT_EQ(d.SpeciesPanel(1)->Lines().front().Text(), Unmarked(c.species1));
        EXPECT_EQ(d.SpeciesPanel(2)->Lines().front().Text(), Unmarked(c.species2));
        EXPECT_EQ(Written(*d.ScratchEquation()), c.written);
      })
      .Press(1);
  TSplitItDialog dialog(nullptr, equation->reactants[0].get(), equation.get(), true);
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(Written(*equation), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Coach, SplitEarlyCharge,
    testing::Values(EarlyChargeCase{"2+", "0", "Ca^2+", "NO3", "Ca^2+ + NO3 -> CaCO3"},
                    EarlyChargeCase{"0", "1-", "Ca", "NO3^1-", "Ca + NO3^1- -> CaCO3"},
                    EarlyChargeCase{"2+", "1-", "Ca^2+", "NO3^1-", "Ca^2+ + NO3^1- -> CaCO3"}));

TEST(SplitItDialog, AFarClickMovesTheLineAwayButKeepsThePosition) {
  auto equation = EquationFromText("Na2SO4");
  TSplitItDialog dialog(nullptr, equation->reactants[0].get(), equation.get(), true);
  dialog.Create();
  TSplitWindow& split = *dialog.SplitWindow();
  EXPECT_EQ(split.LineX(), 1);
  ClickAt(split, BoundaryAfter(split, 2) + 2);
  EXPECT_EQ(split.SplitPosition(), 2);
  EXPECT_EQ(split.LineX(), BoundaryAfter(split, 2));
  ClickAt(split, BoundaryAfter(split, 5) + 100);
  EXPECT_EQ(split.SplitPosition(), 2);
  EXPECT_EQ(split.LineX(), 0);
}

TEST(Dissociation, NearestBoundaryWithinReachEarlierOnATie) {
  const std::vector<int> boundaries{10, 20, 30};
  const std::pair<int, int> cases[] = {{15, 0},  {16, 1},   {25, 1},  {-89, 0},
                                       {129, 2}, {130, -1}, {-90, -1}};
  for (auto [x, expected] : cases) EXPECT_EQ(NearestBoundary(boundaries, x), expected) << x;
  EXPECT_EQ(NearestBoundary({}, 0), -1);
}

}  // namespace

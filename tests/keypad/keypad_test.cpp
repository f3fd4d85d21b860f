#include "keypad/rules/keypad.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "keypad_harness.h"
#include "model/charge_text.h"

namespace {

using Mode = KeypadHarness::Mode;

using Dialog = KeypadSetup;

class EveryDialog : public testing::TestWithParam<Dialog> {
 protected:
  KeypadHarness pad{GetParam().config, GetParam().mode};
  bool equationMode() const { return GetParam().mode == Mode::Equation; }
};

INSTANTIATE_TEST_SUITE_P(Keypad, EveryDialog, testing::ValuesIn(kKeypadSetups),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(EveryDialog, FirstKeyCanOnlyBeAnElementOrOpenParen) {
  for (int id = TKeypad::kFirstElement; id <= TKeypad::kLastSubscript; ++id) {
    const bool expected = id <= TKeypad::kLastElement || id == TKeypad::kOpenParen;
    EXPECT_EQ(pad.keypad.IsEnabled(id), expected) << TKeypad::Label(id);
  }
  EXPECT_TRUE(pad.keypad.IsEnabled(TKeypad::kRestart));
  EXPECT_TRUE(pad.keypad.IsEnabled(TKeypad::kUndo));
  EXPECT_EQ(pad.Text(), "");
  if (equationMode()) {
    ASSERT_EQ(pad.equation->reactants.size(), 1u);
    EXPECT_TRUE(pad.equation->products.empty());
  }
}

TEST_P(EveryDialog, ChargeEndsTheFormula) {
  pad.Keys({"Cl", "2"});
  EXPECT_EQ(pad.Text(), "Cl_2");
  pad.Keys({"1-"});
  EXPECT_EQ(pad.Text(), "Cl_2^1^-");
  const SplitText split = SplitFormulaText(*pad.keypad.CurrentFormula());
  EXPECT_EQ(split.formula, "Cl2");
  EXPECT_EQ(split.charge, "1-");
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), equationMode() ? "+ ->" : "");
}

TEST_P(EveryDialog, CloseParenRightAfterOpenThenOnlySubscripts) {
  pad.Keys({"("});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements )");
  pad.Keys({")"});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "subscripts");
  pad.Keys({"2"});
  EXPECT_EQ(pad.Text(), "()_2");
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), equationMode() ? "elements subscripts charges ( + ->"
                                                        : "elements subscripts charges (");
}

// The length rules, checked after each key of a formula built without parentheses.
TEST_P(EveryDialog, LengthLimitsWithoutParentheses) {
  const std::string separators = equationMode() ? " + ->" : "";
  // Seven symbols, then a two-letter element makes nine: only a charge (or "+", "->") remains.
  pad.Keys({"Na", "Cl", "O", "3", "H"});
  EXPECT_EQ(pad.keypad.CurrentFormula()->symbols.size(), 7u);
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements subscripts charges" + separators);
  pad.Keys({"Na"});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "charges" + separators);
}

TEST_P(EveryDialog, EightSymbolsLeaveRoomForOneSubscript) {
  pad.Keys({"Na", "Cl", "O", "3", "H", "2"});
  EXPECT_EQ(pad.keypad.CurrentFormula()->symbols.size(), 8u);
  EXPECT_FALSE(pad.keypad.Keys().elements);
  EXPECT_TRUE(pad.keypad.Keys().subscripts);
  pad.Keys({"2"});
  EXPECT_FALSE(pad.keypad.Keys().elements);
  EXPECT_FALSE(pad.keypad.Keys().subscripts);
  EXPECT_TRUE(pad.keypad.Keys().charges);
}

// Parentheses count against the nine characters, and an open "(" must always be closable and
// its ")" followable by a subscript.
TEST_P(EveryDialog, ParenthesesKeepRoomToClose) {
  pad.Keys({"Na", "H"});  // 3 symbols: "(" + two letters + ")" + digit still fit
  EXPECT_TRUE(pad.keypad.Keys().openParen);
  pad.Keys({"O"});  // 4
  EXPECT_TRUE(pad.keypad.Keys().openParen);
  pad.Keys({"(", "Cl"});  // 7: no element fits with ")" and a digit, nor a subscript
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), ")");
  pad.Keys({")"});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "subscripts");
  pad.Keys({"2"});
  EXPECT_EQ(pad.Text(), "NaHO(Cl)_2");
  EXPECT_EQ(SplitFormulaText(*pad.keypad.CurrentFormula()).formula.size(), 9u);
  EXPECT_FALSE(pad.keypad.Keys().elements);
  EXPECT_FALSE(pad.keypad.Keys().subscripts);
  EXPECT_FALSE(pad.keypad.Keys().openParen);
  EXPECT_TRUE(pad.keypad.Keys().charges);
}

TEST_P(EveryDialog, OpenParenRefusedWhenItCouldNotBeFilledAndClosed) {
  pad.Keys({"Na", "H", "C", "O"});  // 5 symbols: "(", one letter, ")" and a digit still fit
  EXPECT_TRUE(pad.keypad.Keys().openParen);
  pad.Keys({"H"});  // 6
  EXPECT_FALSE(pad.keypad.Keys().openParen);
  EXPECT_TRUE(pad.keypad.Keys().elements);
}

// Nine-character formulas with a one-letter element late inside parentheses can be keyed.
TEST_P(EveryDialog, OneLetterElementStillFitsInsideParentheses) {
  pad.Keys({"K", "3", "Fe", "(", "C"});     // 6 symbols, "(" open
  EXPECT_TRUE(pad.keypad.IsEnabled(161));   // N: N, ")" and a digit make 9
  EXPECT_FALSE(pad.keypad.IsEnabled(172));  // Cl would leave no room for ")" and a digit
  pad.keypad.Press(172);                    // as a user cannot: nothing happens
  EXPECT_EQ(pad.Text(), "K_3Fe(C");
  pad.Keys({"N", ")", "6", "3-"});
  EXPECT_EQ(SplitFormulaText(*pad.keypad.CurrentFormula()).formula, "K3Fe(CN)6");
}

TEST_P(EveryDialog, SubscriptInsideParenKeepsRoomForClose) {
  pad.Keys({"(", "Na", "H", "2"});  // 5 symbols
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements subscripts )");
  pad.Keys({"2"});  // 6: only a one-letter element leaves room for ")" and a digit
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements subscripts )");
  EXPECT_TRUE(pad.keypad.IsEnabled(166));   // O
  EXPECT_FALSE(pad.keypad.IsEnabled(172));  // Cl
  pad.Keys({"2"});                          // 7
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), ")");
}

TEST_P(EveryDialog, UndoWalksBackEveryKeyWithItsFlags) {
  std::vector<std::string> before;
  for (const char* label : {"(", "Na", ")", "2", "S", "O", "4", "2-"}) {
    before.push_back(pad.Snapshot());
    pad.Keys({label});
  }
  EXPECT_EQ(pad.keypad.UndoDepth(), before.size());
  while (!before.empty()) {
    pad.Keys({"&Undo"});
    EXPECT_EQ(pad.Snapshot(), before.back());
    before.pop_back();
  }
  const std::string opening = pad.Snapshot();
  pad.Keys({"&Undo"});
  EXPECT_EQ(pad.Snapshot(), opening);
}

TEST_P(EveryDialog, UndoAfterRestartDoesNothing) {
  pad.Keys({"Ag", "1+"});
  const std::string opening = KeypadHarness(GetParam().config, GetParam().mode).Snapshot();
  pad.Keys({"&Restart"});
  EXPECT_EQ(pad.Snapshot(), opening);
  EXPECT_EQ(pad.keypad.UndoDepth(), 0u);
  const int changes = pad.changes;
  pad.Keys({"&Undo"});
  EXPECT_EQ(pad.Snapshot(), opening);
  EXPECT_EQ(pad.changes, changes);
}

TEST_P(EveryDialog, DisabledKeyDoesNothing) {
  const std::string before = pad.Snapshot();
  const int changes = pad.changes;
  for (int id : {TKeypad::kFirstCharge, TKeypad::kFirstSubscript, TKeypad::kCloseParen,
                 TKeypad::kPlus, TKeypad::kArrow, 207}) {
    pad.keypad.Press(id);
  }
  EXPECT_EQ(pad.Snapshot(), before);
  EXPECT_EQ(pad.keypad.UndoDepth(), 0u);
  EXPECT_EQ(pad.changes, changes);
  pad.Keys({"H"});
  EXPECT_GT(pad.changes, changes);
}

// Called directly, a key that would overrun the formula text still pushes its undo copy
// and changes nothing else.
TEST_P(EveryDialog, DirectOperationPastTheLimitOnlyPushesUndo) {
  pad.Keys({"Na", "Cl", "O", "3", "H", "Na"});
  const std::string full = pad.Snapshot();
  const std::vector<std::function<void()>> keys = {
      [&] { pad.keypad.AddElement("Cl"); }, [&] { pad.keypad.AddSubscript("2"); },
      [&] { pad.keypad.AddOpenParen(); }, [&] { pad.keypad.AddCloseParen(); }};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keys[i]();
    EXPECT_EQ(pad.Snapshot(), full) << "key " << i;
    EXPECT_EQ(pad.keypad.UndoDepth(), 7 + i);
  }
}

TEST(KeypadEquation, ArrowStaysOffForTheRestOfTheEquation) {
  KeypadHarness pad = KeypadHarness::Answer();
  pad.Keys({"Na", "1+", "->", "Cl"});
  EXPECT_FALSE(pad.keypad.Keys().arrow);
  pad.Keys({"1-"});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "+");
  EXPECT_EQ(pad.Text(), "Na^1^+ -> Cl^1^-");
  EXPECT_FALSE(pad.equation->arrowOn);
}

TEST(KeypadEquation, UndoRightAfterArrowRestoresReactantSide) {
  KeypadHarness pad = KeypadHarness::Answer();
  pad.Keys({"Ag", "1+"});
  const TKeypad::KeyStates before = pad.keypad.Keys();
  pad.Keys({"->"});
  EXPECT_TRUE(pad.equation->arrowEntered);
  EXPECT_EQ(pad.equation->products.size(), 1u);
  pad.Keys({"&Undo"});
  EXPECT_FALSE(pad.equation->arrowEntered);
  EXPECT_TRUE(pad.equation->products.empty());
  EXPECT_EQ(pad.keypad.Keys(), before);
  EXPECT_TRUE(pad.equation->plusOn);
  EXPECT_TRUE(pad.equation->arrowOn);
  EXPECT_FALSE(pad.equation->chargeKeysOn);
}

TEST(KeypadEquation, OpenParenAfterPlusDependsOnTheDialog) {
  KeypadHarness answer = KeypadHarness::Answer();
  KeypadHarness question = KeypadHarness::NewQuestion();
  for (KeypadHarness* pad : {&answer, &question}) pad->Keys({"Na", "+"});
  EXPECT_TRUE(answer.keypad.Keys().openParen);
  EXPECT_TRUE(answer.equation->openParenOn);
  EXPECT_FALSE(question.keypad.Keys().openParen);
  EXPECT_FALSE(question.equation->openParenOn);
  // In the new-question dialog "(" comes back with the new formula's first element.
  question.Keys({"Cl", "("});
  EXPECT_EQ(question.Text(), "Na + Cl(");
  question.Keys({"O", ")", "2", "->"});
  EXPECT_FALSE(question.keypad.Keys().openParen);
  EXPECT_TRUE(question.keypad.Keys().elements);
}

TEST(KeypadEquation, RestartPutsANewEquationInPlaceOfTheOld) {
  KeypadHarness pad = KeypadHarness::Answer();
  pad.Keys({"Ag", "1+", "->", "Ag"});
  const TEquation* old = pad.equation.get();
  pad.Keys({"&Restart"});
  EXPECT_NE(pad.equation.get(), old);
  EXPECT_EQ(pad.keypad.Equation(), pad.equation.get());
  EXPECT_EQ(pad.Text(), "");
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements (");
  pad.Keys({"Cl"});
  EXPECT_EQ(pad.equation->reactants[0]->symbols.size(), 2u);
}

TEST(KeypadEquation, RestartWithoutHandlerResetsInPlace) {
  TKeypad keypad;
  TEquation equation;
  keypad.OpenEquation(&equation);
  keypad.Press(KeypadHarness::IdOf("K"));
  keypad.CmRestart();
  EXPECT_EQ(keypad.Equation(), &equation);
  ASSERT_EQ(equation.reactants.size(), 1u);
  EXPECT_TRUE(equation.reactants[0]->symbols.empty());
  EXPECT_TRUE(equation.elementKeysOn);
}

// Five formulas a side at most: "+" goes off on a full side, "->" stays possible.
TEST(KeypadEquation, SideHoldsAtMostFiveFormulas) {
  KeypadHarness pad = KeypadHarness::Answer();
  for (int i = 0; i < 4; ++i) pad.Keys({"H", "+"});
  pad.Keys({"H"});
  EXPECT_EQ(pad.equation->reactants.size(), 5u);
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "elements subscripts charges ( ->");
  pad.Keys({"1+"});
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "->");
  pad.Keys({"->"});
  for (int i = 0; i < 4; ++i) pad.Keys({"O", "+"});
  pad.Keys({"O", "2-"});
  EXPECT_EQ(pad.equation->products.size(), 5u);
  EXPECT_EQ(OnGroups(pad.keypad.Keys()), "");

  pad.keypad.AddPlus();  // a direct call on a full side pushes its copy and adds nothing
  EXPECT_EQ(pad.equation->products.size(), 5u);
  pad.keypad.CmUndo();
  EXPECT_EQ(pad.equation->products.size(), 5u);
}

TEST(KeypadEquation, KeyWithoutCurrentFormulaOnlyPushesUndo) {
  KeypadHarness pad = KeypadHarness::Answer();
  pad.equation->reactants.clear();
  pad.keypad.AddElement("Na");
  EXPECT_EQ(pad.keypad.UndoDepth(), 1u);
  EXPECT_TRUE(pad.equation->reactants.empty());
}

TEST(KeypadFormula, SubstanceDialogHasNoPlusOrArrow) {
  KeypadHarness pad = KeypadHarness::Substance();
  pad.Keys({"Ag", "1+"});
  const std::string done = pad.Snapshot();
  pad.keypad.Press(TKeypad::kPlus);
  pad.keypad.AddPlus();
  pad.keypad.AddArrow();
  EXPECT_EQ(pad.Snapshot(), done);
  EXPECT_EQ(pad.keypad.UndoDepth(), 2u);
}

TEST(KeypadFormula, OpenFormulaClearsSymbolsAndSetsOpeningFlags) {
  TFormula formula;
  formula.Append("NaCl", Baseline);
  formula.chargeKeysOn = true;
  TKeypad keypad(TKeypad::SubstanceDialogConfig());
  keypad.OpenFormula(&formula);
  EXPECT_TRUE(formula.symbols.empty());
  EXPECT_TRUE(formula.elementKeysOn);
  EXPECT_TRUE(formula.openParenOn);
  EXPECT_FALSE(formula.chargeKeysOn || formula.digitKeysOn || formula.closeParenOn);
}

}  // namespace

// Random sessions of key presses, as a user could make them (only enabled keys), checking after
// every key that the answer stays within what the text form holds, that the student can always
// finish the formula, and that Undo walks every step back exactly.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "keypad/rules/keypad.h"
#include "keypad_harness.h"
#include "model/charge_text.h"

namespace {

using Mode = KeypadHarness::Mode;

using Walk = KeypadSetup;

constexpr int kSessions = 100;
constexpr int kPressesPerSession = 300;

struct Group {
  int first;
  int last;
};
const Group kGroups[] = {{TKeypad::kFirstElement, TKeypad::kLastElement},
                         {TKeypad::kFirstCharge, TKeypad::kLastCharge},
                         {TKeypad::kFirstSubscript, TKeypad::kLastSubscript},
                         {TKeypad::kPlus, TKeypad::kPlus},
                         {TKeypad::kArrow, TKeypad::kArrow},
                         {TKeypad::kOpenParen, TKeypad::kOpenParen},
                         {TKeypad::kCloseParen, TKeypad::kCloseParen}};

bool EndsWithCharge(const TFormula& formula) {
  return !formula.symbols.empty() && formula.symbols.back().placement == Superscript;
}

class KeypadProperty : public testing::TestWithParam<Walk> {
 protected:
  // A failure prints its seed; --gtest_random_seed=N replays it.
  void SetUp() override {
    const int32_t given = GTEST_FLAG_GET(random_seed);
    seed_ = given != 0 ? static_cast<unsigned>(given) : std::random_device{}() % 99999 + 1;
    rng_.seed(seed_);
  }

  KeypadHarness NewPad() const { return {GetParam().config, GetParam().mode}; }

  // Every formula text within nine characters and every side within five formulas.
  static void ExpectWithinBounds(const KeypadHarness& pad) {
    std::vector<const TFormula*> formulas;
    if (const TEquation* equation = pad.keypad.Equation()) {
      EXPECT_LE(equation->reactants.size(), 5u) << pad.Text();
      EXPECT_LE(equation->products.size(), 5u) << pad.Text();
      for (const TFormulaList* side : {&equation->reactants, &equation->products}) {
        for (const auto& formula : *side) formulas.push_back(formula.get());
      }
    } else {
      formulas.push_back(pad.keypad.Formula());
    }
    for (const TFormula* formula : formulas) {
      EXPECT_LE(SplitFormulaText(*formula).formula.size(), 9u) << pad.Text();
    }
  }

  // With no key but Restart and Undo left, the formula must be finished with a charge and
  // there must be nowhere else to go: a full product side, or the single formula.
  void ExpectSomewhereToGo(const KeypadHarness& pad) const {
    const TKeypad::KeyStates keys = pad.keypad.Keys();
    if (keys != TKeypad::KeyStates{}) return;
    const TFormula* current = pad.keypad.CurrentFormula();
    ASSERT_NE(current, nullptr);
    EXPECT_TRUE(EndsWithCharge(*current)) << "stuck at " << pad.Text();
    if (const TEquation* equation = pad.keypad.Equation()) {
      EXPECT_TRUE(equation->arrowEntered && equation->products.size() == 5) << pad.Text();
    }
  }

  // Finishes the current formula the plainest way (close, subscript after it, or an element),
  // checks that it gets there with enabled keys only, then undoes the finishing keys and expects
  // the state back.
  static void ExpectCanFinish(KeypadHarness& pad) {
    const std::string before = pad.Snapshot();
    int pressed = 0;
    for (; pressed <= 12; ++pressed) {
      const TFormula& formula = *pad.keypad.CurrentFormula();
      const TKeypad::KeyStates keys = pad.keypad.Keys();
      const bool afterClose = !formula.symbols.empty() && formula.symbols.back().ch == ')' &&
                              formula.symbols.back().placement == Baseline;
      if (!formula.symbols.empty() && !keys.closeParen && !afterClose) break;
      const int key = keys.closeParen ? TKeypad::kCloseParen
                      : afterClose    ? TKeypad::kFirstSubscript
                      : keys.elements ? TKeypad::kFirstElement
                                      : 0;
      ASSERT_NE(key, 0) << "cannot finish " << pad.Text();
      ASSERT_TRUE(pad.keypad.IsEnabled(key));
      pad.keypad.Press(key);
      ExpectWithinBounds(pad);
    }
    ASSERT_LE(pressed, 12) << "no end to " << pad.Text();
    const TFormula& formula = *pad.keypad.CurrentFormula();
    EXPECT_TRUE(pad.keypad.Keys().charges || EndsWithCharge(formula)) << pad.Text();
    for (int i = 0; i < pressed; ++i) pad.keypad.Press(TKeypad::kUndo);
    EXPECT_EQ(pad.Snapshot(), before);
  }

  int EnabledKeyOrCommand(const KeypadHarness& pad) {
    const int roll = std::uniform_int_distribution<int>(0, 99)(rng_);
    if (roll < 2) return TKeypad::kRestart;
    if (roll < 12) return TKeypad::kUndo;
    // A group is chosen first so that the 81 element keys do not crowd out the rest; within it
    // only keys a user could press count (a two-letter element may be off beside one-letter ones).
    std::vector<std::vector<int>> enabled;
    for (const Group& group : kGroups) {
      std::vector<int> keys;
      for (int id = group.first; id <= group.last; ++id)
        if (pad.keypad.IsEnabled(id)) keys.push_back(id);
      if (!keys.empty()) enabled.push_back(std::move(keys));
    }
    if (enabled.empty()) return TKeypad::kUndo;
    const auto& keys =
        enabled[std::uniform_int_distribution<std::size_t>(0, enabled.size() - 1)(rng_)];
    return keys[std::uniform_int_distribution<std::size_t>(0, keys.size() - 1)(rng_)];
  }

  unsigned seed_ = 0;
  std::mt19937 rng_;
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadProperty, testing::ValuesIn(kKeypadSetups),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(KeypadProperty, RandomPressesStayBoundedFinishableAndUndoable) {
  SCOPED_TRACE("replay with --gtest_random_seed=" + std::to_string(seed_));
  const std::string opening = NewPad().Snapshot();
  for (int session = 0; session < kSessions && !HasFailure(); ++session) {
    KeypadHarness pad = NewPad();
    std::vector<std::string> history;  // the state before each key still on the undo list
    for (int press = 0; press < kPressesPerSession && !HasFailure(); ++press) {
      const int key = EnabledKeyOrCommand(pad);
      const std::string before = pad.Snapshot();
      pad.keypad.Press(key);
      if (key == TKeypad::kRestart) {
        history.clear();
        EXPECT_EQ(pad.Snapshot(), opening);
      } else if (key == TKeypad::kUndo) {
        EXPECT_EQ(pad.Snapshot(), history.empty() ? before : history.back());
        if (!history.empty()) history.pop_back();
      } else {
        // An enabled key always shows its effect; one refused by a bound should have been off.
        EXPECT_NE(pad.Text(), before.substr(0, before.find(" | "))) << TKeypad::Label(key);
        history.push_back(before);
      }
      ASSERT_EQ(pad.keypad.UndoDepth(), history.size());
      if (pad.keypad.IsEquationMode()) {
        ASSERT_EQ(pad.keypad.Equation(), pad.equation.get());
      }
      ExpectWithinBounds(pad);
      ExpectSomewhereToGo(pad);
      ExpectCanFinish(pad);
    }
    while (!history.empty() && !HasFailure()) {
      pad.keypad.Press(TKeypad::kUndo);
      EXPECT_EQ(pad.Snapshot(), history.back());
      history.pop_back();
    }
  }
}

}  // namespace

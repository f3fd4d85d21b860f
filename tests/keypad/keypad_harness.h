#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "keypad/rules/keypad.h"

// A keypad over an equation or a formula that the test owns, as a dialog would wire it.
// Symbols are rendered with their placement so that one string shows what was keyed:
// "Cl_2^1^-" is Baseline C, Baseline l, Subscript 2, Superscript 1, Superscript -.
class KeypadHarness {
 public:
  enum class Mode { Equation, Formula };

  KeypadHarness(TKeypad::Config config, Mode mode) : keypad(config) {
    keypad.SetChangeHandler([this] { ++changes; });
    keypad.SetReplaceEquationHandler(
        [this](std::unique_ptr<TEquation> fresh) { equation = std::move(fresh); });
    if (mode == Mode::Equation) {
      equation = std::make_unique<TEquation>();
      keypad.OpenEquation(equation.get());
    } else {
      formula = std::make_unique<TFormula>();
      keypad.OpenFormula(formula.get());
    }
  }
  static KeypadHarness Answer() { return {TKeypad::AnswerDialogConfig(), Mode::Equation}; }
  static KeypadHarness NewQuestion() {
    return {TKeypad::NewQuestionDialogConfig(), Mode::Equation};
  }
  static KeypadHarness Substance() { return {TKeypad::SubstanceDialogConfig(), Mode::Formula}; }

  static int IdOf(std::string_view label) {
    for (int id = TKeypad::kFirstElement; id <= TKeypad::kUndo; ++id) {
      if (TKeypad::Label(id) == label) return id;
    }
    ADD_FAILURE() << "no key labelled " << label;
    return 0;
  }

  // Presses each key as a user would; a key that is disabled is a test failure.
  void Keys(std::initializer_list<std::string_view> labels) {
    for (std::string_view label : labels) {
      const int id = IdOf(label);
      EXPECT_TRUE(keypad.IsEnabled(id)) << "key " << label << " is disabled after " << Text();
      keypad.Press(id);
    }
  }

  static std::string Render(const TFormula& formula) {
    std::string text;
    for (const TSymbol& symbol : formula.symbols) {
      if (symbol.placement == Subscript) text += '_';
      if (symbol.placement == Superscript) text += '^';
      text += symbol.ch;
    }
    return text;
  }

  std::string Text() const {
    if (!keypad.IsEquationMode()) return keypad.Formula() ? Render(*keypad.Formula()) : "";
    const TEquation& shown = *keypad.Equation();
    std::string text;
    for (std::size_t i = 0; i < shown.reactants.size(); ++i) {
      if (i > 0) text += " + ";
      text += Render(*shown.reactants[i]);
    }
    if (shown.arrowEntered) text += " -> ";
    for (std::size_t i = 0; i < shown.products.size(); ++i) {
      if (i > 0) text += " + ";
      text += Render(*shown.products[i]);
    }
    return text;
  }

  // Everything a user could observe, plus the flags that restore it.
  std::string Snapshot() const {
    std::string flags;
    auto bit = [&flags](bool on) { flags += on ? '1' : '0'; };
    if (const TEquation* shown = keypad.Equation()) {
      for (bool on :
           {shown->digitKeysOn, shown->elementKeysOn, shown->openParenOn, shown->closeParenOn,
            shown->plusOn, shown->chargeKeysOn, shown->arrowOn, shown->arrowEntered}) {
        bit(on);
      }
      for (const TFormulaList* side : {&shown->reactants, &shown->products}) {
        for (const auto& f : *side) {
          for (bool on : {f->digitKeysOn, f->elementKeysOn, f->openParenOn, f->closeParenOn,
                          f->chargeKeysOn}) {
            bit(on);
          }
        }
      }
    } else if (const TFormula* f = keypad.Formula()) {
      for (bool on :
           {f->digitKeysOn, f->elementKeysOn, f->openParenOn, f->closeParenOn, f->chargeKeysOn}) {
        bit(on);
      }
    }
    flags += ' ';
    const TKeypad::KeyStates k = keypad.Keys();
    for (bool on :
         {k.elements, k.subscripts, k.charges, k.openParen, k.closeParen, k.plus, k.arrow}) {
      bit(on);
    }
    return Text() + " | " + flags;
  }

  TKeypad keypad;
  std::unique_ptr<TEquation> equation;
  std::unique_ptr<TFormula> formula;
  int changes = 0;
};

// Key states written as the groups that are on, e.g. "elements (".
inline std::string OnGroups(const TKeypad::KeyStates& k) {
  std::string text;
  auto add = [&text](bool on, const char* name) {
    if (!on) return;
    if (!text.empty()) text += ' ';
    text += name;
  };
  add(k.elements, "elements");
  add(k.subscripts, "subscripts");
  add(k.charges, "charges");
  add(k.openParen, "(");
  add(k.closeParen, ")");
  add(k.plus, "+");
  add(k.arrow, "->");
  return text;
}

// The three ways the keypad is set up: the answer dialog, the new-question dialog and the
// substance dialogs.
struct KeypadSetup {
  const char* name;
  TKeypad::Config config;
  KeypadHarness::Mode mode;
};

inline const KeypadSetup kKeypadSetups[] = {
    {"Answer", TKeypad::AnswerDialogConfig(), KeypadHarness::Mode::Equation},
    {"NewQuestion", TKeypad::NewQuestionDialogConfig(), KeypadHarness::Mode::Equation},
    {"Substance", TKeypad::SubstanceDialogConfig(), KeypadHarness::Mode::Formula},
};

inline void PrintTo(const KeypadSetup& setup, std::ostream* os) {
  *os << setup.name;
}

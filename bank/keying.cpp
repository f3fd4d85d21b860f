#include "bank/keying.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include "bank/bank_text.h"
#include "bank/element_symbol.h"
#include "keypad/rules/keypad.h"
#include "keypad/rules/keypad_key.h"
#include "model/charge_text.h"

namespace {

bool IsElementKey(int id) {
  return id >= TKeypad::kFirstElement && id <= TKeypad::kLastElement;
}

// One formula text as the labels of the keys that make it, or a reason why it has none.
bool FormulaKeys(const std::string& formula, std::vector<std::string>& keys, std::string& reason) {
  for (std::size_t i = 0; i < formula.size();) {
    const unsigned char c = static_cast<unsigned char>(formula[i]);
    if (std::string symbol; ReadElementSymbol(formula, i, symbol)) {
      if (!IsElementKey(KeypadKeyId(symbol))) {
        reason = "there is no element key " + symbol + " (in " + formula + ")";
        return false;
      }
      keys.push_back(symbol);
    } else if (c >= '2' && c <= '9') {
      keys.emplace_back(1, formula[i++]);
    } else if (c == '0' || c == '1') {
      reason = "subscript keys run from 2 to 9; " + formula + " needs a " + formula[i];
      return false;
    } else if (c == '(' || c == ')') {
      keys.emplace_back(1, formula[i++]);
    } else {
      reason = std::string("no key makes \"") + formula[i] + "\" (in " + formula + ")";
      return false;
    }
  }
  return true;
}

class TKeyer {
 public:
  TKeyer() { keypad_.OpenEquation(&equation_); }

  bool Press(const std::string& label, std::string& reason) {
    const int id = KeypadKeyId(label);
    if (id == 0 || !keypad_.IsEnabled(id)) {
      reason = "the key " + label + " is greyed after " + Keyed();
      return false;
    }
    keypad_.Press(id);
    keyed_ += (label == "+" || label == "->") ? " " + label + " " : label;
    return true;
  }

  const TEquation& Equation() const { return equation_; }

 private:
  std::string Keyed() const { return keyed_.empty() ? "the start" : "\"" + keyed_ + "\""; }

  TEquation equation_;
  TKeypad keypad_{TKeypad::AnswerDialogConfig()};
  std::string keyed_;
};

bool SameAsKeyed(const TReaction& reaction, const TEquation& equation, std::string& reason) {
  for (const bool reactant : {true, false}) {
    const TFormulaList& keyed = equation.Side(reactant);
    std::size_t k = 0;
    for (int s = 0; s < TReaction::kSlots; ++s) {
      const Substance& stored = reaction.Side(reactant)[s];
      if (stored.IsEmpty()) continue;
      if (k >= keyed.size()) {
        reason = "the keypad dropped " + std::string(stored.FormulaText());
        return false;
      }
      const SplitText split = SplitFormulaText(*keyed[k++]);
      if (split.formula != stored.FormulaText() || ChargeFromText(split.charge) != stored.charge) {
        reason = "keying " + std::string(stored.FormulaText()) + " gives " + split.formula +
                 split.charge;
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool KeyAnswer(const TReaction& reaction, std::string& reason) {
  TKeyer keyer;
  for (const bool reactant : {true, false}) {
    if (!reactant && !keyer.Press("->", reason)) return false;
    bool first = true;
    for (int s = 0; s < TReaction::kSlots; ++s) {
      const Substance& substance = reaction.Side(reactant)[s];
      if (substance.IsEmpty()) {
        // The grader skips an empty slot, but a charge on it is something no key can make.
        if (substance.charge != 0) {
          reason = "a charge with no formula cannot be keyed";
          return false;
        }
        continue;
      }
      if (!first && !keyer.Press("+", reason)) return false;
      first = false;
      std::vector<std::string> keys;
      if (!FormulaKeys(std::string(substance.FormulaText()), keys, reason)) return false;
      if (substance.charge != 0) {
        const int64_t size = std::llabs(static_cast<int64_t>(substance.charge));
        if (size > 5) {
          reason = "charge keys run from 1 to 5; " + SubstanceText(substance) + " has " +
                   std::to_string(size);
          return false;
        }
        keys.push_back(std::to_string(size) + (substance.charge > 0 ? "+" : "-"));
      }
      for (const std::string& key : keys)
        if (!keyer.Press(key, reason)) return false;
    }
  }
  return SameAsKeyed(reaction, keyer.Equation(), reason);
}

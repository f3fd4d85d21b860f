#include "model/answer_text.h"

#include <vector>

#include "model/charge_text.h"
#include "model/equation.h"
#include "model/reaction.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// One capital and at most one small letter: what typing takes for an element symbol.
bool IsLoneElementSymbol(std::string_view formula) {
  if (formula.empty() || formula.size() > 2 || formula[0] < 'A' || formula[0] > 'Z') return false;
  return formula.size() == 1 || (formula[1] >= 'a' && formula[1] <= 'z');
}

std::string JoinSides(const std::vector<std::string>& reactants,
                      const std::vector<std::string>& products, bool arrow) {
  auto join = [](const std::vector<std::string>& side) {
    std::string text;
    for (const std::string& substance : side) text += (text.empty() ? "" : " + ") + substance;
    return text;
  };
  if (!arrow) return join(reactants);
  return products.empty() ? join(reactants) + " ->" : join(reactants) + " -> " + join(products);
}

}  // namespace

std::string SubstanceText(std::string_view formula, std::string_view displayCharge) {
  std::string text(formula);
  if (displayCharge.empty()) return text;
  // Typing reads "Fe3+" as the element's subscript turned into its charge, but any other
  // digit before a sign as a subscript ("FeSCN2+" is FeSCN2 with 1+), and a sign after a
  // digit as a charge of one; so "^" goes wherever the plain form would read otherwise.
  const bool endsInDigit = !text.empty() && IsDigit(text.back());
  const char chargeDigit = IsDigit(displayCharge.front()) ? displayCharge.front() : 0;
  const bool typedAsLoneElement =
      IsLoneElementSymbol(formula) && chargeDigit >= '2' && chargeDigit <= '5';
  if (endsInDigit || (chargeDigit && !typedAsLoneElement)) text += '^';
  text += displayCharge;
  return text;
}

std::string FormulaAnswerText(const TFormula& formula) {
  const SplitText split = SplitFormulaText(formula);
  return SubstanceText(split.formula, ChargeToDisplay(split.charge));
}

std::string EquationAnswerText(const TEquation& equation) {
  std::vector<std::string> sides[2];
  for (bool reactant : {true, false})
    for (const auto& formula : equation.Side(reactant))
      sides[reactant ? 0 : 1].push_back(FormulaAnswerText(*formula));
  return JoinSides(sides[0], sides[1], equation.arrowEntered || !sides[1].empty());
}

std::string StoredAnswerText(const TReaction& reaction) {
  std::vector<std::string> sides[2];
  for (bool reactant : {true, false}) {
    const Substance* side = reaction.Side(reactant);
    for (int i = 0; i < TReaction::kSlots; ++i) {
      if (side[i].IsEmpty()) continue;
      sides[reactant ? 0 : 1].push_back(
          SubstanceText(side[i].FormulaText(), ChargeToDisplay(ChargeToText(side[i].charge))));
    }
  }
  return JoinSides(sides[0], sides[1], true);
}

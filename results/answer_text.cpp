#include "results/answer_text.h"

#include <vector>

#include "model/charge_text.h"
#include "model/equation.h"
#include "model/reaction.h"

namespace {

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
  const bool endsInDigit = !text.empty() && text.back() >= '0' && text.back() <= '9';
  if (endsInDigit) text += '^';
  text += displayCharge;
  return text;
}

std::string FormulaText(const TFormula& formula) {
  const SplitText split = SplitFormulaText(formula);
  return SubstanceText(split.formula, ChargeToDisplay(split.charge));
}

std::string EquationText(const TEquation& equation) {
  std::vector<std::string> sides[2];
  for (bool reactant : {true, false})
    for (const auto& formula : equation.Side(reactant))
      sides[reactant ? 0 : 1].push_back(FormulaText(*formula));
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

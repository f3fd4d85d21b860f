#include "coach/rules/formula_search.h"

#include <algorithm>
#include <string>

namespace {

int CapitalCount(std::string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

}  // namespace

TFormula* FindSameFormula(const TEquation& equation, std::string_view text, bool reactantSide) {
  for (const auto& formula : equation.Side(reactantSide)) {
    if (formula->TextBeforeCharge() == text) return formula.get();
  }
  return nullptr;
}

TFormula* FindContainingFormula(const TEquation& equation, std::string_view text,
                                bool reactantSide) {
  for (const auto& formula : equation.Side(reactantSide)) {
    const std::string own = formula->TextBeforeCharge();
    if (own == text || CapitalCount(own) < 2) return nullptr;
    if (own.find(text) != std::string::npos) return formula.get();
  }
  return nullptr;
}

#pragma once
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "model/charge_text.h"
#include "model/equation.h"
#include "model/reaction.h"

// Keyed equations written as text for tests: "Ag^1+ + Cl^1- -> AgCl". Letters and parentheses
// are baseline, digits subscripts, everything after '^' superscript; "_" is an empty formula.
inline std::unique_ptr<TFormula> FormulaFromText(std::string_view text) {
  auto formula = std::make_unique<TFormula>();
  if (text == "_") return formula;
  bool charge = false;
  for (char c : text) {
    if (c == '^') {
      charge = true;
      continue;
    }
    const bool digit = c >= '0' && c <= '9';
    formula->symbols.emplace_back(c, charge ? Superscript : digit ? Subscript : Baseline);
  }
  return formula;
}

inline std::unique_ptr<TEquation> EquationFromText(const std::string& text) {
  auto equation = std::make_unique<TEquation>();
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    if (word == "+") continue;
    if (word == "->") {
      equation->arrowEntered = true;
      continue;
    }
    equation->Side(!equation->arrowEntered).push_back(FormulaFromText(word));
  }
  return equation;
}

struct StoredSubstance {
  const char* formula;
  int32_t charge;
};

inline std::unique_ptr<TReaction> ReactionOf(std::initializer_list<StoredSubstance> reactants,
                                             std::initializer_list<StoredSubstance> products) {
  auto reaction = std::make_unique<TReaction>("question", Precipitation);
  int row = 0;
  for (const StoredSubstance& s : reactants) {
    reaction->reactants[row].SetFormula(s.formula);
    reaction->reactants[row++].charge = s.charge;
  }
  row = 0;
  for (const StoredSubstance& s : products) {
    reaction->products[row].SetFormula(s.formula);
    reaction->products[row++].charge = s.charge;
  }
  return reaction;
}

// A stored reaction from its answer written as keyed text ("Ag^1+ + Cl^1- -> AgCl"), for a
// question of the given type.
inline std::unique_ptr<TReaction> StoredReaction(const std::string& text,
                                                 int32_t type = Precipitation) {
  auto equation = EquationFromText(text);
  auto reaction = std::make_unique<TReaction>("question", type);
  for (bool reactant : {true, false})
    for (std::size_t i = 0; i < equation->Side(reactant).size(); ++i) {
      const TFormula& f = *equation->Side(reactant)[i];
      reaction->Side(reactant)[i].SetFormula(f.TextBeforeCharge());
      reaction->Side(reactant)[i].charge = ChargeFromText(f.TrailingChargeText());
    }
  return reaction;
}

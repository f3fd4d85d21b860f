#pragma once
#include <string>

#include "model/equation.h"

// The inverse of EquationFromText: "Ag^1+ + Cl^1- -> AgCl", "_" for an empty formula. A digit
// that is not a subscript, or a letter that is, shows in brackets so that it cannot pass.
inline std::string FormulaText(const TFormula& formula) {
  if (formula.symbols.empty()) return "_";
  std::string text;
  bool inCharge = false;
  for (const TSymbol& symbol : formula.symbols) {
    const bool digit = symbol.ch >= '0' && symbol.ch <= '9';
    if (symbol.placement == Superscript) {
      if (!inCharge) text += '^';
      inCharge = true;
      text += symbol.ch;
      continue;
    }
    inCharge = false;
    const bool expected = digit ? symbol.placement == Subscript : symbol.placement == Baseline;
    text += expected ? std::string(1, symbol.ch) : "[" + std::string(1, symbol.ch) + "]";
  }
  return text;
}

inline std::string EquationText(const TEquation& equation) {
  std::string text;
  for (std::size_t i = 0; i < equation.reactants.size(); ++i)
    text += (i ? " + " : "") + FormulaText(*equation.reactants[i]);
  if (equation.arrowEntered) text += " ->";
  for (std::size_t i = 0; i < equation.products.size(); ++i)
    text += (i ? " + " : " ") + FormulaText(*equation.products[i]);
  return text;
}

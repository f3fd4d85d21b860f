#pragma once
#include <string>
#include <string_view>

class TEquation;
class TFormula;
class TReaction;

// Equations as one line of text for the results: "Ag+ + Cl- -> AgCl", "SO4^2-" where a charge
// would run into a subscript; "Ag+ + Cl- ->" with no products yet, "Ag+" before the arrow.
std::string SubstanceText(std::string_view formula, std::string_view displayCharge);
std::string FormulaText(const TFormula& formula);
std::string EquationText(const TEquation& equation);
std::string StoredAnswerText(const TReaction& reaction);

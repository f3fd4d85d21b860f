#pragma once
#include <string>
#include <string_view>

class TEquation;
class TFormula;
class TReaction;

// Equations as one line of text for the results, in the form typing reads back to the same
// equation: "Ag+ + Cl- -> AgCl", "Fe3+" on a lone element, "^" before any other charge with a
// digit and after a subscript ("SO4^2-", "FeSCN^2+", "Hg2^2+"); "Ag+ + Cl- ->" with no
// products yet, "Ag+" before the arrow.
std::string SubstanceText(std::string_view formula, std::string_view displayCharge);
std::string FormulaAnswerText(const TFormula& formula);
std::string EquationAnswerText(const TEquation& equation);
std::string StoredAnswerText(const TReaction& reaction);

#pragma once
#include <array>
#include <string>
#include <string_view>

#include "model/formula.h"

// The oxidation numbers a student picks from, and what picking one does to a formula.

// "5+" down to "5-", the order the lists show them in.
inline constexpr std::array<const char*, 11> kChargeChoices = {"5+", "4+", "3+", "2+", "1+", "0",
                                                               "1-", "2-", "3-", "4-", "5-"};

// The decimal form a correct charge is given in: "2+" is "2", "2-" is "-2", "0" stays.
std::string ChoiceToDecimal(std::string_view choice);

// Replaces the formula's trailing charge by the choice's characters as superscripts;
// "0" leaves it with none.
void ApplyChargeChoice(TFormula& formula, std::string_view choice);

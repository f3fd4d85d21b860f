#pragma once
#include <string_view>

#include "model/equation.h"

// Searches one side of the student's equation by formula text: the characters of a formula's
// symbols up to its first superscript one.

// The first formula of the side whose text equals text, or null.
TFormula* FindSameFormula(const TEquation& equation, std::string_view text, bool reactantSide);

// The first formula of the side whose text contains text (a compound still to be dissociated),
// or null. The whole search ends with null at the first formula whose text equals text or holds
// fewer than two capital letters.
TFormula* FindContainingFormula(const TEquation& equation, std::string_view text,
                                bool reactantSide);

#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/reaction.h"

// Whether an equation can be balanced: some positive whole coefficients conserve every element
// and the total charge. Worked out exactly, in rational arithmetic, as a feasibility problem
// over the null space of the element-and-charge matrix, so that an equation whose only
// solutions need a zero or negative coefficient (a typo such as Fe{2+} + OH{-} -> Fe(OH)3) is
// caught, and one with several independent balancings (permanganate with peroxide) is not.
struct TBalance {
  bool balanced = false;
  // Substances in slot order, reactants then products, empty slots left out.
  std::vector<std::string> substances;
  // One positive solution in lowest terms (the only one up to scale when it is unique).
  std::vector<int64_t> coefficients;
  // How many independent balancings there are (the dimension of the solution space): 1 when
  // the balance is the reaction's own; more when several unrelated ones mix, and the one above
  // is just one of them; 0 when unknown.
  int independent = 0;
  // Why the equation cannot be balanced, or why it could not be worked out.
  std::string reason;
};

TBalance BalanceReaction(const TReaction& reaction);

// The equation with its coefficients, for people to read: "2 Al + 6 H{+} -> 2 Al{3+} + 3 H2".
std::string BalancedText(const TReaction& reaction, const TBalance& balance);

// Adds the atoms of one formula text (parentheses and subscripts of any number of digits) to
// counts, by element symbol; false with a reason when the text is not a formula, when a pair of
// parentheses or the whole formula holds no element, or when a count would leave 64 bits.
bool CountElements(const std::string& formula, std::vector<std::pair<std::string, int64_t>>& counts,
                   std::string& reason);

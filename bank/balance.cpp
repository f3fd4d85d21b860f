#include "bank/balance.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "bank/bank_text.h"
#include "bank/element_symbol.h"
#include "bank/fraction.h"

namespace {

using Counts = std::vector<std::pair<std::string, int64_t>>;

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

constexpr const char* kTooLarge = "the numbers grow too large to work out";

// False when the count would leave 64 bits.
bool Add(Counts& counts, const std::string& element, int64_t n) {
  for (auto& [name, count] : counts)
    if (name == element) return !__builtin_add_overflow(count, n, &count);
  counts.emplace_back(element, n);
  return true;
}

// A subscript after an element or ")": all its digits, or 1 when there are none. False when it
// does not fit in 64 bits.
bool ReadCount(const std::string& text, std::size_t& i, int64_t& n) {
  if (i >= text.size() || !IsDigit(text[i])) {
    n = 1;
    return true;
  }
  n = 0;
  bool fits = true;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    fits =
        fits && !__builtin_mul_overflow(n, 10, &n) && !__builtin_add_overflow(n, text[i] - '0', &n);
  return fits;
}

// The phase-one simplex method on exact fractions, with Bland's rule so that it cannot cycle:
// finds y >= 0 with A y = b, or shows that there is none.
class TFeasibility {
 public:
  TFeasibility(std::vector<std::vector<TFraction>> a, std::vector<TFraction> b)
      : rows_(a.size()), cols_(rows_ ? a[0].size() : 0) {
    // Tableau [A | I | b] with one artificial variable a row, b made non-negative.
    tableau_.assign(rows_, std::vector<TFraction>(cols_ + rows_ + 1));
    for (std::size_t i = 0; i < rows_; ++i) {
      const bool flip = b[i].Sign() < 0;
      for (std::size_t j = 0; j < cols_; ++j) tableau_[i][j] = flip ? -a[i][j] : a[i][j];
      tableau_[i][cols_ + i] = 1;
      tableau_[i].back() = flip ? -b[i] : b[i];
      basis_.push_back(cols_ + i);
    }
  }

  // False when the numbers grew too large to be trusted.
  bool Solve(bool& feasible, std::vector<TFraction>& y) {
    for (const auto& row : tableau_)
      for (const TFraction& cell : row)
        if (cell.Overflow()) return false;
    for (;;) {
      // Minimise the sum of the artificial variables; Bland: the first column that lowers it.
      std::size_t enter = SIZE_MAX;
      for (std::size_t j = 0; j < cols_ + rows_ && enter == SIZE_MAX; ++j) {
        if (InBasis(j)) continue;
        const TFraction cost = ReducedCost(j);
        if (cost.Overflow()) return false;
        if (cost.Sign() < 0) enter = j;
      }
      if (enter == SIZE_MAX) break;
      std::size_t leave = SIZE_MAX;
      TFraction best;
      for (std::size_t i = 0; i < rows_; ++i) {
        if (tableau_[i][enter].Sign() <= 0) continue;
        const TFraction ratio = tableau_[i].back() / tableau_[i][enter];
        if (ratio.Overflow()) return false;
        // The comparison is a subtraction that can overflow too: a wrong "not less" here
        // would let a basic variable go negative.
        const TFraction lead = leave == SIZE_MAX ? TFraction(-1) : ratio - best;
        if (lead.Overflow()) return false;
        if (lead.Sign() < 0 || (lead.IsZero() && basis_[i] < basis_[leave])) {
          leave = i;
          best = ratio;
        }
      }
      if (leave == SIZE_MAX) break;  // unbounded in a minimisation bounded below: cannot happen
      if (!Pivot(leave, enter)) return false;
    }
    TFraction artificial;
    for (std::size_t i = 0; i < rows_; ++i)
      if (basis_[i] >= cols_) artificial = artificial + tableau_[i].back();
    feasible = artificial.IsZero();
    y.assign(cols_, TFraction());
    for (std::size_t i = 0; i < rows_; ++i) {
      if (basis_[i] < cols_) y[basis_[i]] = tableau_[i].back();
      if (tableau_[i].back().Sign() < 0) return false;  // never so in sound arithmetic
    }
    return !artificial.Overflow();
  }

 private:
  bool InBasis(std::size_t j) const {
    return std::find(basis_.begin(), basis_.end(), j) != basis_.end();
  }

  // Cost of column j against the basis, where artificial columns cost 1 and real ones 0.
  TFraction ReducedCost(std::size_t j) const {
    TFraction cost = j >= cols_ ? 1 : 0;
    for (std::size_t i = 0; i < rows_; ++i)
      if (basis_[i] >= cols_) cost = cost - tableau_[i][j];
    return cost;
  }

  bool Pivot(std::size_t row, std::size_t col) {
    const TFraction pivot = tableau_[row][col];
    for (auto& cell : tableau_[row]) {
      cell = cell / pivot;
      if (cell.Overflow()) return false;
    }
    for (std::size_t i = 0; i < rows_; ++i) {
      if (i == row || tableau_[i][col].IsZero()) continue;
      const TFraction factor = tableau_[i][col];
      for (std::size_t j = 0; j < tableau_[i].size(); ++j) {
        tableau_[i][j] = tableau_[i][j] - factor * tableau_[row][j];
        if (tableau_[i][j].Overflow()) return false;
      }
    }
    basis_[row] = col;
    return true;
  }

  std::size_t rows_;
  std::size_t cols_;
  std::vector<std::vector<TFraction>> tableau_;
  std::vector<std::size_t> basis_;
};

// Whether whole coefficients are all positive and make every row of a (elements, then the
// charge) sum to zero; a reason when not.
bool Conserves(const std::vector<std::vector<TFraction>>& a, const std::vector<int64_t>& x,
               std::string& reason) {
  for (const int64_t c : x)
    if (c <= 0) {
      reason = "the coefficients worked out are not all positive";
      return false;
    }
  for (const auto& row : a) {
    int64_t sum = 0;
    for (std::size_t j = 0; j < x.size(); ++j) {
      int64_t term = 0;
      if (row[j].Den() != 1 || __builtin_mul_overflow(row[j].Num(), x[j], &term) ||
          __builtin_add_overflow(sum, term, &sum)) {
        reason = kTooLarge;
        return false;
      }
    }
    if (sum != 0) {
      reason = "the coefficients worked out do not conserve every element and the charge";
      return false;
    }
  }
  return true;
}

// The number of independent balancings: the dimension of the null space of a, columns less
// rank, by elimination on exact fractions; 0 when the numbers grow too large.
int Independent(std::vector<std::vector<TFraction>> a) {
  const std::size_t cols = a.empty() ? 0 : a[0].size();
  std::size_t rank = 0;
  for (std::size_t col = 0; col < cols && rank < a.size(); ++col) {
    std::size_t pivot = rank;
    while (pivot < a.size() && a[pivot][col].IsZero()) ++pivot;
    if (pivot == a.size()) continue;
    std::swap(a[pivot], a[rank]);
    for (std::size_t i = rank + 1; i < a.size(); ++i) {
      if (a[i][col].IsZero()) continue;
      const TFraction factor = a[i][col] / a[rank][col];
      for (std::size_t j = col; j < cols; ++j) {
        a[i][j] = a[i][j] - factor * a[rank][j];
        if (a[i][j].Overflow()) return 0;
      }
    }
    ++rank;
  }
  return static_cast<int>(cols - rank);
}

}  // namespace

bool CountElements(const std::string& formula, Counts& counts, std::string& reason) {
  // One frame of counts per open parenthesis; a ")" folds its frame, times its subscript, into
  // the frame below.
  std::vector<Counts> frames(1);
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    std::string element;
    if (ReadElementSymbol(formula, i, element)) {
      int64_t n = 0;
      if (!ReadCount(formula, i, n) || !Add(frames.back(), element, n)) {
        reason = std::string(kTooLarge) + " in " + formula;
        return false;
      }
    } else if (c == '(') {
      frames.emplace_back();
      ++i;
    } else if (c == ')') {
      if (frames.size() < 2) {
        reason = "\")\" without \"(\" in " + formula;
        return false;
      }
      ++i;
      if (frames.back().empty()) {
        reason = "\"()\" holds no element in " + formula;
        return false;
      }
      int64_t n = 0;
      bool fits = ReadCount(formula, i, n);
      const Counts inner = std::move(frames.back());
      frames.pop_back();
      for (const auto& [element, count] : inner) {
        int64_t times = 0;
        fits =
            fits && !__builtin_mul_overflow(count, n, &times) && Add(frames.back(), element, times);
      }
      if (!fits) {
        reason = std::string(kTooLarge) + " in " + formula;
        return false;
      }
    } else {
      reason = std::string("\"") + c + "\" cannot stand here in " + formula;
      return false;
    }
  }
  if (frames.size() != 1) {
    reason = "\"(\" is not closed in " + formula;
    return false;
  }
  if (frames[0].empty()) {
    reason = formula + " holds no element";
    return false;
  }
  for (const auto& [element, count] : frames[0])
    if (!Add(counts, element, count)) {
      reason = std::string(kTooLarge) + " in " + formula;
      return false;
    }
  return true;
}

namespace {

using TMatrix = std::vector<std::vector<TFraction>>;

// The reaction as a matrix: columns are substances, products negated; rows are elements and
// then the charge. Fills result's substance texts; false with result's reason when a side is
// empty or a formula cannot be counted.
bool ReactionMatrix(const TReaction& reaction, TMatrix& a, TBalance& result) {
  std::vector<Counts> columns;
  std::vector<int64_t> charges;
  std::vector<int> signs;
  for (const bool reactant : {true, false}) {
    const Substance* side = reaction.Side(reactant);
    bool any = false;
    for (int s = 0; s < TReaction::kSlots; ++s) {
      if (side[s].IsEmpty()) continue;
      any = true;
      const std::string formula(side[s].FormulaText());
      Counts counts;
      if (!CountElements(formula, counts, result.reason)) return false;
      columns.push_back(counts);
      charges.push_back(side[s].charge);
      signs.push_back(reactant ? 1 : -1);
      result.substances.push_back(SubstanceText(side[s]));
    }
    if (!any) {
      result.reason = reactant ? "there are no reactants" : "there are no products";
      return false;
    }
  }
  std::vector<std::string> elements;
  for (const Counts& counts : columns)
    for (const auto& [element, count] : counts)
      if (std::find(elements.begin(), elements.end(), element) == elements.end())
        elements.push_back(element);
  const std::size_t n = columns.size();
  a.assign(elements.size() + 1, std::vector<TFraction>(n));
  for (std::size_t j = 0; j < n; ++j) {
    for (const auto& [element, count] : columns[j]) {
      const auto row = std::find(elements.begin(), elements.end(), element) - elements.begin();
      a[static_cast<std::size_t>(row)][j] = TFraction(signs[j] * count);
    }
    a.back()[j] = TFraction(signs[j] * charges[j]);
  }
  return true;
}

// Coefficients x >= 1 with A x = 0 exist exactly when y = x - 1 >= 0 solves A y = -A 1; finds
// such a y, or false with the reason.
bool SolveShifted(const TMatrix& a, std::vector<TFraction>& y, std::string& reason) {
  std::vector<TFraction> b(a.size());
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < a[i].size(); ++j) {
      b[i] = b[i] - a[i][j];
      if (b[i].Overflow()) {
        reason = kTooLarge;
        return false;
      }
    }
  TFeasibility problem(a, b);
  bool feasible = false;
  if (!problem.Solve(feasible, y)) {
    reason = kTooLarge;
    return false;
  }
  if (!feasible) {
    reason = "no positive whole coefficients conserve every element and the charge";
    return false;
  }
  return true;
}

// x = 1 + y scaled to whole numbers in lowest terms; false when they do not fit.
bool WholeCoefficients(const std::vector<TFraction>& y, std::vector<int64_t>& coefficients) {
  std::vector<TFraction> x;
  int64_t lcm = 1;
  bool tooLarge = false;
  for (const TFraction& v : y) {
    x.push_back(v + TFraction(1));
    const int64_t g = std::gcd(lcm, x.back().Den());
    tooLarge =
        tooLarge || x.back().Overflow() || __builtin_mul_overflow(lcm / g, x.back().Den(), &lcm);
  }
  int64_t gcd = 0;
  for (const TFraction& v : x) {
    int64_t c = 0;
    tooLarge = tooLarge || __builtin_mul_overflow(v.Num(), lcm / v.Den(), &c);
    coefficients.push_back(c);
    gcd = std::gcd(gcd, c);
  }
  if (tooLarge || gcd == 0) {
    coefficients.clear();
    return false;
  }
  for (int64_t& c : coefficients) c /= gcd;
  return true;
}

}  // namespace

TBalance BalanceReaction(const TReaction& reaction) {
  TBalance result;
  TMatrix a;
  std::vector<TFraction> y;
  if (!ReactionMatrix(reaction, a, result) || !SolveShifted(a, y, result.reason)) return result;
  if (!WholeCoefficients(y, result.coefficients)) {
    result.reason = kTooLarge;
    return result;
  }
  // The answer is checked on its own before it is believed: whatever went wrong above, an
  // equation is called balanced only with positive coefficients that conserve each element and
  // the charge, summed in checked arithmetic.
  if (!Conserves(a, result.coefficients, result.reason)) {
    result.coefficients.clear();
    return result;
  }
  result.independent = Independent(a);
  result.balanced = true;
  return result;
}

std::string BalancedText(const TReaction& reaction, const TBalance& balance) {
  std::string text;
  std::size_t k = 0;
  for (const bool reactant : {true, false}) {
    bool first = true;
    for (int s = 0; s < TReaction::kSlots; ++s) {
      const Substance& substance = reaction.Side(reactant)[s];
      if (substance.IsEmpty()) continue;
      if (!first) text += " + ";
      first = false;
      if (k < balance.coefficients.size() && balance.coefficients[k] != 1)
        text += std::to_string(balance.coefficients[k]) + " ";
      text += SubstanceText(substance);
      ++k;
    }
    if (reactant) text += " -> ";
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

#include "coach/rules/dissociation.h"

#include <cstdlib>
#include <string>

#include "model/text_surface.h"

namespace {

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsSmall(char c) {
  return c >= 'a' && c <= 'z';
}

bool HasLetter(const TFormula& part) {
  for (const TSymbol& symbol : part.symbols)
    if (IsCapital(symbol.ch) || IsSmall(symbol.ch)) return true;
  return false;
}

}  // namespace

bool CanDissociateAt(const TFormula& substance, int position) {
  const auto& s = substance.symbols;
  const int n = static_cast<int>(s.size());
  if (position < 0 || position >= n - 1) return false;
  if (IsCapital(s[position].ch) && IsSmall(s[position + 1].ch)) return false;
  bool openBefore = false;
  for (int i = 0; i <= position; ++i) openBefore = openBefore || s[i].ch == '(';
  bool closeAfter = false;
  for (int i = position + 1; i < n; ++i) closeAfter = closeAfter || s[i].ch == ')';
  if (openBefore && closeAfter) return false;
  // A part that cleaning would leave without an element (BaCl|2, Ca(OH)|2) is no species.
  TFormula first;
  first.CopyFrom(substance);
  std::unique_ptr<TFormula> second = SplitOff(first, position);
  CleanPart(first);
  CleanPart(*second);
  return HasLetter(first) && HasLetter(*second);
}

std::unique_ptr<TFormula> SplitOff(TFormula& first, int position) {
  auto second = std::make_unique<TFormula>();
  auto& symbols = first.symbols;
  const auto cut = symbols.begin() + std::min<std::ptrdiff_t>(position + 1, symbols.size());
  for (auto it = cut; it != symbols.end(); ++it)
    second->symbols.emplace_back(it->ch, it->placement);
  symbols.erase(cut, symbols.end());
  return second;
}

void CleanPart(TFormula& part) {
  auto& s = part.symbols;
  if (!s.empty() && s.front().placement == Subscript) s.erase(s.begin());
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i].ch;
    if (c == '(') {
      s.erase(s.begin() + i);
    } else if (c == ')') {
      s.erase(s.begin() + i);
      if (i < s.size() && s[i].placement == Subscript) s.erase(s.begin() + i);
    } else {
      ++i;
    }
  }
}

std::vector<int> SymbolBoundaries(const TFormula& formula, const TTextSurface& surface,
                                  int startX) {
  std::vector<int> boundaries;
  int x = startX;
  // As drawn: the "1" of a charge of one takes no room, so its boundary is the one before it.
  for (std::size_t i = 0; i < formula.symbols.size(); ++i) {
    x += formula.SymbolWidth(i, surface);
    boundaries.push_back(x);
  }
  return boundaries;
}

int NearestBoundary(const std::vector<int>& boundaries, int x, int maxDistance) {
  int best = -1;
  int bestDistance = maxDistance;
  for (std::size_t i = 0; i < boundaries.size(); ++i) {
    const int distance = std::abs(boundaries[i] - x);
    if (distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

#include "model/formula.h"

void TFormula::Draw(TTextSurface& dc, int& x, int y) const {
  for (std::size_t i = 0; i < symbols.size(); ++i)
    if (IsDrawn(i)) symbols[i].Draw(dc, x, y);
}

bool TFormula::IsDrawn(std::size_t index) const {
  if (index >= symbols.size()) return false;
  const TSymbol& symbol = symbols[index];
  if (symbol.placement != Superscript || symbol.ch != '1' || index + 1 >= symbols.size())
    return true;
  const TSymbol& sign = symbols[index + 1];
  if (sign.placement != Superscript || (sign.ch != '+' && sign.ch != '-')) return true;
  // "1" alone before the sign: a raised digit before it would make it part of a larger number.
  const bool digitBefore = index > 0 && symbols[index - 1].placement == Superscript &&
                           symbols[index - 1].ch >= '0' && symbols[index - 1].ch <= '9';
  return digitBefore;
}

int TFormula::SymbolWidth(std::size_t index, const TTextSurface& dc) const {
  return IsDrawn(index) ? symbols[index].Width(dc) : 0;
}

void TFormula::CopyFrom(const TFormula& source) {
  if (&source == this) return;
  symbols.clear();
  digitKeysOn = source.digitKeysOn;
  elementKeysOn = source.elementKeysOn;
  openParenOn = source.openParenOn;
  closeParenOn = source.closeParenOn;
  chargeKeysOn = source.chargeKeysOn;
  symbols.reserve(source.symbols.size());
  for (const TSymbol& symbol : source.symbols) symbols.emplace_back(symbol.ch, symbol.placement);
}

void TFormula::Append(std::string_view text, int32_t placement) {
  for (char c : text) symbols.emplace_back(c, placement);
}

std::string TFormula::AllText() const {
  std::string text;
  for (const TSymbol& symbol : symbols) text += symbol.ch;
  return text;
}

std::string TFormula::TextBeforeCharge() const {
  std::string text;
  for (const TSymbol& symbol : symbols) {
    if (symbol.placement == Superscript) break;
    text += symbol.ch;
  }
  return text;
}

std::size_t TFormula::ChargeStart() const {
  std::size_t start = symbols.size();
  while (start > 1 && symbols[start - 1].placement == Superscript) --start;
  return start;
}

std::string TFormula::TrailingChargeText() const {
  std::string text;
  for (std::size_t i = ChargeStart(); i < symbols.size(); ++i) text += symbols[i].ch;
  return text;
}

void TFormula::RemoveTrailingCharge() {
  symbols.erase(symbols.begin() + static_cast<std::ptrdiff_t>(ChargeStart()), symbols.end());
}

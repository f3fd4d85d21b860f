#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/symbol.h"

// One substance in keyed form: its characters in the order keyed, plus the single-formula
// keypad's key flags.
class TFormula : public TStreamableBase {
 public:
  TFormula() = default;
  TFormula(const TFormula&) = delete;
  TFormula& operator=(const TFormula&) = delete;
  TFormula(TFormula&&) = default;
  TFormula& operator=(TFormula&&) = default;

  // Draws the symbols as chemists write them: a charge of one as its sign alone (Cl⁻, NH₄⁺),
  // though its "1" stays keyed, stored and graded.
  void Draw(TTextSurface& dc, int& x, int y) const;
  // Whether Draw draws symbol index: all but the "1" of a charge of one.
  bool IsDrawn(std::size_t index) const;
  // How far Draw advances x for symbol index: nothing for a symbol it does not draw.
  int SymbolWidth(std::size_t index, const TTextSurface& dc) const;
  // Deep copy of symbols and the five key flags.
  void CopyFrom(const TFormula& source);
  // Appends every character of text with one placement.
  void Append(std::string_view text, int32_t placement);
  // All characters, whatever their placement.
  std::string AllText() const;
  // Characters of the non-superscript symbols up to the first superscript one.
  std::string TextBeforeCharge() const;
  // Characters of the trailing run of superscript symbols (symbol 0 never counts).
  std::string TrailingChargeText() const;
  // Index where the trailing run of superscript symbols begins (symbol 0 never counts).
  std::size_t ChargeStart() const;
  // Removes the trailing run of superscript symbols; symbol 0 is never removed.
  void RemoveTrailingCharge();

  std::vector<TSymbol> symbols;
  bool digitKeysOn = false;
  bool elementKeysOn = false;
  bool openParenOn = false;
  bool closeParenOn = false;
  bool chargeKeysOn = false;
};

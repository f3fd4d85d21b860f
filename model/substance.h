#pragma once
#include <cstdint>
#include <string_view>

#include "model/text_field.h"

// One substance in text form as stored: formula text (at most 9 characters) and charge.
struct Substance {
  static constexpr std::size_t kFormulaSize = 10;

  std::string_view FormulaText() const { return FieldText(formula, kFormulaSize); }
  void SetFormula(std::string_view text) { SetFieldText(formula, kFormulaSize, text); }
  bool IsEmpty() const { return formula[0] == 0; }

  char formula[kFormulaSize] = {};
  int32_t charge = 0;
};

#pragma once
#include <cstddef>
#include <string_view>

#include "model/text_field.h"

// 200 characters: reactant formula texts, reactant charge texts, product formula texts,
// product charge texts, five 10-character fields each, in that order.
class ComparisonTable {
 public:
  enum Array { ReactantFormula = 0, ReactantCharge = 1, ProductFormula = 2, ProductCharge = 3 };
  static constexpr int kRows = 5;
  static constexpr std::size_t kFieldSize = 10;
  static constexpr std::size_t kSize = 4 * kRows * kFieldSize;

  static Array FormulaArray(bool reactant) { return reactant ? ReactantFormula : ProductFormula; }
  static Array ChargeArray(bool reactant) { return reactant ? ReactantCharge : ProductCharge; }

  // Accessors check the row: a row outside 0..4 reads as empty and is never written.
  std::string_view Field(Array array, int row) const;
  void SetField(Array array, int row, std::string_view text);
  void Clear();
  const char* Data() const { return data_; }

 private:
  char* FieldPtr(Array array, int row) { return data_ + (array * kRows + row) * kFieldSize; }
  const char* FieldPtr(Array array, int row) const {
    return data_ + (array * kRows + row) * kFieldSize;
  }

  char data_[kSize] = {};
};
static_assert(sizeof(ComparisonTable) == ComparisonTable::kSize);

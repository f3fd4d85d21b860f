#include "model/comparison_table.h"

#include <cstring>

std::string_view ComparisonTable::Field(Array array, int row) const {
  if (row < 0 || row >= kRows) return {};
  return FieldText(FieldPtr(array, row), kFieldSize);
}

void ComparisonTable::SetField(Array array, int row, std::string_view text) {
  if (row < 0 || row >= kRows) return;
  SetFieldText(FieldPtr(array, row), kFieldSize, text);
}

void ComparisonTable::Clear() {
  std::memset(data_, 0, sizeof data_);
}

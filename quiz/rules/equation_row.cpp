#include "quiz/rules/equation_row.h"

#include <string>

#include "model/charge_text.h"

namespace {

void Piece(TTextSurface& surface, std::string_view text, int& x, int y) {
  surface.TextOut(x, y, text);
  x += surface.TextWidth(text);
}

void Script(TTextSurface& surface, TTextSurface::Script script, int shift, std::string_view text,
            int& x, int y) {
  surface.ScriptOut(x, y, script, shift, text);
  x += surface.ScriptWidth(text);
}

bool ShowsCharge(std::string_view charge) {
  return charge == "+" || charge == "-" || LeadingValue(charge) != 0;
}

bool RestIsEmpty(const ComparisonTable& table, ComparisonTable::Array formulas, int row) {
  for (int later = row + 1; later < ComparisonTable::kRows; ++later)
    if (!table.Field(formulas, later).empty()) return false;
  return true;
}

void DrawSubstance(TTextSurface& surface, const ComparisonTable& table, bool reactant, int row,
                   int& x, int y) {
  const int third = surface.TextHeight() / 3;
  for (char c : table.Field(ComparisonTable::FormulaArray(reactant), row)) {
    if (c >= '1' && c <= '9')
      Script(surface, TTextSurface::Script::Sub, third, std::string(1, c), x, y);
    else
      Piece(surface, std::string(1, c), x, y);
  }
  std::string_view charge = table.Field(ComparisonTable::ChargeArray(reactant), row);
  if (ShowsCharge(charge)) Script(surface, TTextSurface::Script::Super, third, charge, x, y);
}

}  // namespace

void DrawEquationRow(TTextSurface& surface, const ComparisonTable& table, int& x, int y) {
  for (bool reactant : {true, false}) {
    const ComparisonTable::Array formulas = ComparisonTable::FormulaArray(reactant);
    for (int row = 0; row < ComparisonTable::kRows; ++row) {
      DrawSubstance(surface, table, reactant, row, x, y);
      if (row == ComparisonTable::kRows - 1 || RestIsEmpty(table, formulas, row)) {
        if (reactant) Piece(surface, " -> ", x, y);
        break;
      }
      if (!table.Field(formulas, row).empty()) Piece(surface, " + ", x, y);
    }
  }
}

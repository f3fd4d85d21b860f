#include "coach/rules/grader.h"

#include <algorithm>
#include <atomic>

#include "model/charge_text.h"

namespace {

using Array = ComparisonTable::Array;

void ForEachChargeField(ComparisonTable& table, auto&& change) {
  for (Array array : {ComparisonTable::ReactantCharge, ComparisonTable::ProductCharge}) {
    for (int row = 0; row < ComparisonTable::kRows; ++row) {
      table.SetField(array, row, change(table.Field(array, row)));
    }
  }
}

// Clears every pair of equal texts with equal charges; returns how many pairs were cleared.
int ClearMatches(ComparisonTable& correct, ComparisonTable& student, bool reactant,
                 bool skipEmptyStudent) {
  const Array formulas = ComparisonTable::FormulaArray(reactant);
  const Array charges = ComparisonTable::ChargeArray(reactant);
  int cleared = 0;
  for (int i = 0; i < ComparisonTable::kRows; ++i) {
    for (int j = 0; j < ComparisonTable::kRows; ++j) {
      if (skipEmptyStudent && student.Field(formulas, i).empty()) continue;
      if (correct.Field(formulas, j) == student.Field(formulas, i) &&
          correct.Field(charges, j) == student.Field(charges, i)) {
        correct.SetField(formulas, j, "");
        student.SetField(formulas, i, "");
        ++cleared;
      }
    }
  }
  return cleared;
}

bool AllTextsEmpty(const ComparisonTable& correct, const ComparisonTable& student, bool reactant) {
  const Array formulas = ComparisonTable::FormulaArray(reactant);
  for (int row = 0; row < ComparisonTable::kRows; ++row) {
    if (!correct.Field(formulas, row).empty() || !student.Field(formulas, row).empty()) {
      return false;
    }
  }
  return true;
}

}  // namespace

void FillCorrectTable(const TReaction& reaction, ComparisonTable& correct) {
  correct.Clear();
  for (bool reactant : {true, false}) {
    const Substance* side = reaction.Side(reactant);
    for (int row = 0; row < TReaction::kSlots && row < ComparisonTable::kRows; ++row) {
      correct.SetField(ComparisonTable::FormulaArray(reactant), row, side[row].FormulaText());
      correct.SetField(ComparisonTable::ChargeArray(reactant), row, ChargeToText(side[row].charge));
    }
  }
}

void FillTables(const TReaction& reaction, const TEquation& equation, ComparisonTable& correct,
                ComparisonTable& student) {
  FillCorrectTable(reaction, correct);
  student.Clear();
  RefillStudentTable(equation, student);
}

void RefillStudentTable(const TEquation& equation, ComparisonTable& student) {
  for (bool reactant : {true, false}) {
    const TFormulaList& side = equation.Side(reactant);
    const int rows = std::min<int>(static_cast<int>(side.size()), ComparisonTable::kRows);
    for (int row = 0; row < rows; ++row) {
      const SplitText split = SplitFormulaText(*side[row]);
      student.SetField(ComparisonTable::FormulaArray(reactant), row, split.formula);
      student.SetField(ComparisonTable::ChargeArray(reactant), row, split.charge);
    }
  }
}

std::string NormalizeChargeStepA(std::string_view charge) {
  const int32_t value = LeadingValue(charge);
  if (value < 0) return std::string(charge);
  if (charge == "-") return "-1";
  if (charge.find('-') != std::string_view::npos) return ChargeToText(-value);
  return std::string(charge);
}

std::string NormalizeChargeStepB(std::string_view charge) {
  return ChargeToText(ChargeFromText(charge));
}

void NormalizeCharges(ComparisonTable& correct, ComparisonTable& student) {
  ForEachChargeField(correct, NormalizeChargeStepA);
  ForEachChargeField(student, NormalizeChargeStepA);
  ForEachChargeField(student, NormalizeChargeStepB);
}

int CompareTables(ComparisonTable& correct, ComparisonTable& student) {
  NormalizeCharges(correct, student);
  int score = 0;
  ClearMatches(correct, student, true, false);
  if (AllTextsEmpty(correct, student, true)) ++score;
  if (ClearMatches(correct, student, false, true) > 0) ++score;
  if (AllTextsEmpty(correct, student, false)) ++score;
  return score;
}

namespace {

std::atomic<long> gradings{0};

}  // namespace

long GradingCount() {
  return gradings.load();
}

int GradeAnswer(const TReaction& reaction, const TEquation& equation, ComparisonTable& correct,
                ComparisonTable& student) {
  ++gradings;
  FillTables(reaction, equation, correct, student);
  return CompareTables(correct, student);
}

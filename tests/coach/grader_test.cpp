#include "coach/rules/grader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/equation_text.h"

namespace {

using Table = ComparisonTable;

// Silver chloride precipitation, and a reaction with two products for the partial scores.
std::unique_ptr<TReaction> SilverChloride() {
  return ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
}
std::unique_ptr<TReaction> TwoProducts() {
  return ReactionOf({{"CaCO3", 0}, {"H", 1}}, {{"Ca", 2}, {"H2CO3", 0}});
}

struct GradeCase {
  const char* name;
  std::unique_ptr<TReaction> (*reaction)();
  const char* answer;
  int score;
};

void PrintTo(const GradeCase& c, std::ostream* os) {
  *os << c.name << ": " << c.answer;
}

class Grading : public testing::TestWithParam<GradeCase> {};

TEST_P(Grading, Scores) {
  const auto reaction = GetParam().reaction();
  const auto answer = EquationFromText(GetParam().answer);
  Table correct, student;
  EXPECT_EQ(GradeAnswer(*reaction, *answer, correct, student), GetParam().score);
}

const GradeCase kGradeCases[] = {
    {"RightAnswer", SilverChloride, "Ag^1+ + Cl^1- -> AgCl", 3},
    {"AnotherOrder", SilverChloride, "Cl^1- + Ag^1+ -> AgCl", 3},
    {"OneOfTwoProducts", TwoProducts, "CaCO3 + H^1+ -> Ca^2+", 2},
    {"OneOfTwoProductsOtherWrong", TwoProducts, "H^1+ + CaCO3 -> CO2 + Ca^2+", 2},
    {"ReactantsOnly", SilverChloride, "Ag^1+ + Cl^1- -> AgCl2", 1},
    {"ReactantsNoArrow", SilverChloride, "Ag^1+ + Cl^1-", 1},
    {"EmptyFormulasIgnored", SilverChloride, "Ag^1+ + Cl^1- + _ -> AgCl + _", 3},
    {"StoredZeroIsNoCharge", TwoProducts, "CaCO3 + H^1+ -> H2CO3 + Ca^2+", 3},
    {"SubstanceTwice", SilverChloride, "Ag^1+ + Ag^1+ + Cl^1- -> AgCl", 2},
    {"ProductTwice", SilverChloride, "Ag^1+ + Cl^1- -> AgCl + AgCl", 2},
    {"WrongCharge", SilverChloride, "Ag^2+ + Cl^1- -> AgCl", 2},
    {"MissingCharge", SilverChloride, "Ag + Cl^1- -> AgCl", 2},
    {"ChargeOnNeutral", SilverChloride, "Ag^1+ + Cl^1- -> AgCl^1+", 1},
    {"WrongSide", SilverChloride, "Ag^1+ -> AgCl + Cl^1-", 1},
    {"CaseMatters", SilverChloride, "AG^1+ + Cl^1- -> Agcl", 0},
    {"Nothing", SilverChloride, "_", 0},
};

INSTANTIATE_TEST_SUITE_P(Grader, Grading, testing::ValuesIn(kGradeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What is left after the comparison is what the coaching works from.
TEST(Grader, LeftoverTextsTellWhatIsWrong) {
  const auto reaction = SilverChloride();
  const auto answer = EquationFromText("Ag^2+ + Cl^1- -> AgCl + NO3^1-");
  Table correct, student;
  ASSERT_EQ(GradeAnswer(*reaction, *answer, correct, student), 1);
  EXPECT_EQ(correct.Field(Table::ReactantFormula, 0), "Ag");
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 0), "1");
  EXPECT_EQ(correct.Field(Table::ReactantFormula, 1), "");
  EXPECT_EQ(student.Field(Table::ReactantFormula, 0), "Ag");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 0), "2");
  EXPECT_EQ(student.Field(Table::ReactantFormula, 1), "");
  EXPECT_EQ(correct.Field(Table::ProductFormula, 0), "");
  EXPECT_EQ(student.Field(Table::ProductFormula, 1), "NO3");
  EXPECT_EQ(student.Field(Table::ProductCharge, 1), "-1");
}

TEST(Grader, FillTablesWritesStoredChargesAsDecimalAndKeyedChargesAsTyped) {
  const auto reaction = ReactionOf({{"Ba", 2}, {"SO4", -2}}, {{"BaSO4", 0}});
  const auto answer = EquationFromText("Ba^2+ + SO4^2- -> BaSO4");
  Table correct, student;
  std::memset(static_cast<void*>(&student), 'x', sizeof student);
  FillTables(*reaction, *answer, correct, student);
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 0), "2");
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 1), "-2");
  EXPECT_EQ(correct.Field(Table::ProductCharge, 0), "0");
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 4), "0");
  EXPECT_EQ(student.Field(Table::ReactantFormula, 1), "SO4");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 1), "2-");
  EXPECT_EQ(student.Field(Table::ProductCharge, 0), "");
  EXPECT_EQ(student.Field(Table::ProductFormula, 2), "") << "the student table is cleared first";
}

struct ChargeCase {
  const char* text;
  const char* stepA;
  const char* stepB;
};

TEST(Grader, ChargeNormalizationSteps) {
  const ChargeCase cases[] = {
      {"2-", "-2", "-2"}, {"-", "-1", "-1"},  {"+", "+", "1"},     {"3+", "3+", "3"},
      {"3", "3", "3"},    {"-3", "-3", "-3"}, {"0", "0", "0"},     {"", "", "0"},
      {"1-", "-1", "-1"}, {"1+", "1+", "1"},  {"10+", "10+", "1"}, {"-2-", "-2-", "-2"},
  };
  for (const ChargeCase& c : cases) {
    EXPECT_EQ(NormalizeChargeStepA(c.text), c.stepA) << c.text;
    EXPECT_EQ(NormalizeChargeStepB(NormalizeChargeStepA(c.text)), c.stepB) << c.text;
  }
}

// Step B turns display forms into decimal ones on the student's side only.
TEST(Grader, NormalizeChargesAppliesStepBToStudentOnly) {
  Table correct, student;
  for (Table* table : {&correct, &student}) {
    table->SetField(Table::ReactantCharge, 0, "+");
    table->SetField(Table::ReactantCharge, 4, "2-");
    table->SetField(Table::ProductCharge, 2, "3+");
  }
  NormalizeCharges(correct, student);
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 0), "+");
  EXPECT_EQ(correct.Field(Table::ReactantCharge, 4), "-2");
  EXPECT_EQ(correct.Field(Table::ProductCharge, 2), "3+");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 0), "1");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 4), "-2");
  EXPECT_EQ(student.Field(Table::ProductCharge, 2), "3");
  EXPECT_EQ(student.Field(Table::ProductCharge, 0), "0");
}

// An answer bigger than the table: the first five formulas a side and nine characters a text
// are written, nothing else, and every field still ends in a zero.
TEST(Grader, OversizedAnswerNeverWritesPastTheTable) {
  const auto answer =
      EquationFromText("Na^1+ + K^1+ + Li^1+ + Rb^1+ + Cs^1+ + Fr^1+ -> Ca(NO3)2(OH)2^2- + AgCl");
  struct Guarded {
    char before[16];
    Table table;
    char after[16];
  } guarded;
  std::memset(static_cast<void*>(&guarded), '#', sizeof guarded);
  const auto reaction = SilverChloride();
  Table correct;
  FillTables(*reaction, *answer, correct, guarded.table);
  EXPECT_EQ(std::string(guarded.before, 16), std::string(16, '#'));
  EXPECT_EQ(std::string(guarded.after, 16), std::string(16, '#'));
  EXPECT_EQ(guarded.table.Field(Table::ReactantFormula, 4), "Cs");
  EXPECT_EQ(guarded.table.Field(Table::ProductFormula, 0), "Ca(NO3)2(");
  EXPECT_EQ(guarded.table.Field(Table::ProductCharge, 0), "2-");
  EXPECT_EQ(guarded.table.Field(Table::ProductFormula, 1), "AgCl");
  for (std::size_t field = 0; field < Table::kSize / Table::kFieldSize; ++field) {
    EXPECT_EQ(guarded.table.Data()[field * Table::kFieldSize + 9], 0) << "field " << field;
  }
}

TEST(Grader, RefillKeepsRowsBeyondTheEquation) {
  Table student;
  for (bool reactant : {true, false}) {
    for (int row = 0; row < Table::kRows; ++row) {
      student.SetField(Table::FormulaArray(reactant), row, "old");
      student.SetField(Table::ChargeArray(reactant), row, "9");
    }
  }
  RefillStudentTable(*EquationFromText("Fe^3+ + _ -> Fe(OH)3"), student);
  EXPECT_EQ(student.Field(Table::ReactantFormula, 0), "Fe");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 0), "3+");
  EXPECT_EQ(student.Field(Table::ReactantFormula, 1), "");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 1), "");
  EXPECT_EQ(student.Field(Table::ReactantFormula, 2), "old");
  EXPECT_EQ(student.Field(Table::ReactantCharge, 4), "9");
  EXPECT_EQ(student.Field(Table::ProductFormula, 0), "Fe(OH)3");
  EXPECT_EQ(student.Field(Table::ProductCharge, 0), "");
  EXPECT_EQ(student.Field(Table::ProductFormula, 1), "old");
}

}  // namespace

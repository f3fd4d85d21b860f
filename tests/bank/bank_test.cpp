#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "bank/balance.h"
#include "bank/bank_checks.h"
#include "bank/bank_text.h"
#include "bank/fraction.h"
#include "model/reaction_file.h"
#include "tests/support/has_text.h"
#include "tests/support/working_folder.h"

namespace {

// Each kind of refusal: a text with good lines and bad ones, the lines that must be refused,
// and a word that each refusal must carry.
struct TRefusal {
  const char* kind;
  const char* text;
  std::set<int> refused;
  const char* word;
};

std::ostream& operator<<(std::ostream& out, const TRefusal& refusal) {
  return out << refusal.kind;
}

class ConverterRefuses : public testing::TestWithParam<TRefusal> {};

TEST_P(ConverterRefuses, NamingTheLine) {
  const TRefusal& refusal = GetParam();
  std::istringstream text(refusal.text);
  const TImportResult result = ImportBank(text, false);
  EXPECT_FALSE(result.ok);
  std::set<int> refused;
  for (const TBankIssue& issue : result.issues) {
    EXPECT_TRUE(issue.error) << issue.text;
    EXPECT_TRUE(HasText(issue.text, refusal.word)) << issue.text;
    refused.insert(issue.line);
  }
  EXPECT_EQ(refused, refusal.refused);
  // Every other line that holds a reaction is taken.
  std::set<int> taken(result.lineOfReaction.begin(), result.lineOfReaction.end());
  for (int line : refusal.refused) EXPECT_EQ(taken.count(line), 0u) << line;
  EXPECT_FALSE(taken.empty());
}

const std::string kLongQuestion(100, 'x');
const std::string kLongestQuestion(99, 'y');
// 60 characters of two UTF-8 bytes each: 120 bytes of text, 60 in the file.
const std::string kAccented = [] {
  std::string s;
  for (int i = 0; i < 60; ++i) s += "\xC3\xA9";
  return s;
}();
const std::string kLengthText = "Precipitation | " + kLongestQuestion +
                                " | Ag{+} + Cl{-} -> AgCl\n" + "Precipitation | " + kLongQuestion +
                                " | Ag{+} + Br{-} -> AgBr\n" + "Precipitation | " + kAccented +
                                " | Ag{+} + I{-} -> AgI\n" + "Precipitation | \"" +
                                kLongestQuestion.substr(1) + "z\" | Pb{2+} + I{-} -> PbI2\n";

INSTANTIATE_TEST_SUITE_P(
    EachKind, ConverterRefuses,
    testing::Values(
        TRefusal{"unkeyable",
                 "# subscript 1, \")\" then \"+\", charge 6, no D key, and one that keys\n"
                 "Miscellaneous | Sucrose burns. | C12H22O11 + O2 -> CO2 + H2O\n"
                 "AcidBase | Sodium hydroxide in brackets. | Na(OH) + H{+} -> Na{+} + H2O\n"
                 "Redox | Iron(VI). | Fe{2+} + Fe{6+} -> Fe{4+}\n"
                 "Miscellaneous | Heavy water forms. | D2 + O2 -> D2O\n"
                 "ComplexIon | Fixing. | AgBr + S2O3{2-} -> Ag(S2O3)2{3-} + Br{-}\n",
                 {2, 3, 4, 5},
                 "cannot be keyed"},
        TRefusal{"unbalanceable",
                 "Precipitation | A typo. | Fe{2+} + OH{-} -> Fe(OH)3\n"
                 "Precipitation | Too much chloride. | Ag{+} + Cl{-} -> AgCl2\n"
                 "Redox | Silver forgotten. | Cu + Ag{+} -> Cu{2+}\n"
                 "Redox | Dichromate needs 14. | Cr2O7{2-} + Fe{2+} + H{+} -> Cr{3+} + Fe{3+} + "
                 "H2O\n"
                 "Miscellaneous | Oxygen lost. | H2O2 -> H2O\n"
                 "Redox | Two balancings. | MnO4{-} + H2O2 + H{+} -> Mn{2+} + O2 + H2O\n",
                 {1, 2, 3, 5},
                 "cannot be balanced"},
        TRefusal{"long question", kLengthText.c_str(), {2}, "characters; at most 99"},
        TRefusal{"duplicate",
                 "Precipitation | Silver nitrate and salt. | Ag{+} + Cl{-} -> AgCl\n"
                 "Precipitation | Silver nitrate and bromide. | Ag{+} + Br{-} -> AgBr\n"
                 "\n"
                 "Precipitation | silver  nitrate and SALT. | Ag{+} + Cl{-} -> AgCl\n"
                 "Precipitation | Silver nitrate and bromide. | Ag{+} + Br{-} -> AgBr\n",
                 {4, 5},
                 "repeats line"},
        TRefusal{"bad type",
                 "Precipitate | Silver and chloride. | Ag{+} + Cl{-} -> AgCl\n"
                 "acid/base | Acid and base. | H{+} + OH{-} -> H2O\n"
                 "7 | Silver and bromide. | Ag{+} + Br{-} -> AgBr\n"
                 "| Silver and iodide. | Ag{+} + I{-} -> AgI\n"
                 "2 | Zinc and copper. | Zn + Cu{2+} -> Zn{2+} + Cu\n",
                 {1, 3, 4},
                 "type"},
        TRefusal{"type code outside the five",
                 "4 | Zinc and copper. | Zn + Cu{2+} -> Zn{2+} + Cu\n"
                 "5 | Iron and copper. | Fe + Cu{2+} -> Fe{2+} + Cu\n"
                 "255 | Silver and bromide. | Ag{+} + Br{-} -> AgBr\n"
                 "-1 | Silver and iodide. | Ag{+} + I{-} -> AgI\n",
                 {2, 3, 4},
                 "type code"},
        TRefusal{"question of blanks",
                 "Redox | \"   \" | Zn + Cu{2+} -> Zn{2+} + Cu\n"
                 "Redox | \" Iron and silver. \" | Fe + Ag{+} -> Fe{2+} + Ag\n",
                 {1},
                 "only blanks"},
        TRefusal{"formula with no element",
                 "Precipitation | Chalk. | Ca{2+} + CO3{2-} -> Ca()2CO3\n"
                 "Miscellaneous | Nothing. | ()2 -> ()2\n"
                 "Precipitation | Calcium phosphate. | Ca{2+} + PO4{3-} -> Ca3(PO4)2\n",
                 {1, 2},
                 "holds no element"}),
    [](const testing::TestParamInfo<TRefusal>& info) {
      std::string name = info.param.kind;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(Balance, FindsTheLowestWholeCoefficients) {
  const struct {
    const char* equation;
    std::vector<int64_t> coefficients;
  } rows[] = {
      {"Cr2O7{2-} + Fe{2+} + H{+} -> Cr{3+} + Fe{3+} + H2O", {1, 6, 14, 2, 6, 7}},
      {"Ca{2+} + PO4{3-} -> Ca3(PO4)2", {3, 2, 1}},
      {"Au + CN{-} + O2 + H2O -> Au(CN)2{-} + OH{-}", {4, 8, 1, 2, 4, 4}},
      {"C3H8 + O2 -> CO2 + H2O", {1, 5, 3, 4}},
      {"Mg3N2 + H2O -> Mg(OH)2 + NH3", {1, 6, 3, 2}},
  };
  for (const auto& row : rows) {
    std::unique_ptr<TReaction> reaction;
    std::string reason;
    ASSERT_TRUE(ParseBankLine(std::string("Redox | q | ") + row.equation, reaction, reason));
    const TBalance balance = BalanceReaction(*reaction);
    EXPECT_TRUE(balance.balanced) << row.equation << ": " << balance.reason;
    EXPECT_EQ(balance.coefficients, row.coefficients) << BalancedText(*reaction, balance);
  }
}

std::unique_ptr<TReaction> Equation(const std::string& equation) {
  std::unique_ptr<TReaction> reaction;
  std::string reason;
  EXPECT_TRUE(ParseBankLine("Redox | q | " + equation, reaction, reason)) << reason;
  return reaction;
}

// Equations that no positive whole coefficients balance, among them ones whose numbers grow
// past 64 bits on the way, where a wrapped comparison once let a negative coefficient through.
TEST(Balance, RefusesWhatCannotBeBalancedWhateverTheNumbers) {
  const char* const rows[] = {
      "N438865O{+} + NO2252626 -> N785455O9{-} + N7982O25",
      "N438865O{+} + NO2252626 -> N785455O9 + N7982O25",
      "C9999999H + O2 -> CO2{2-} + H2O",
      "H99999999 + O98765431 -> H2O{5-}",
      "Fe{2147483647+} + Cl{2147483648-} -> FeCl{3+}",
      "H2 -> H{+}",
      "Fe{2+} + OH{-} -> Fe(OH)3",
  };
  for (const char* row : rows) {
    const auto reaction = Equation(row);
    ASSERT_TRUE(reaction);
    const TBalance balance = BalanceReaction(*reaction);
    EXPECT_FALSE(balance.balanced) << row << ": " << BalancedText(*reaction, balance);
    EXPECT_FALSE(balance.reason.empty()) << row;
    EXPECT_TRUE(balance.coefficients.empty()) << row;
  }
}

// A subscript of any length is read whole, and a formula is refused only for what it is.
TEST(Balance, CountsLongSubscriptsAndRefusesEmptyParentheses) {
  const struct {
    const char* formula;
    const char* element;
    int64_t count;  // 0: refused
    const char* word;
  } rows[] = {
      {"H22222222", "H", 22222222, ""},
      {"(H99999999)99999999", "H", 9999999800000001, ""},
      {"Ca(OH)2", "O", 2, ""},
      {"Ca()2CO3", "", 0, "holds no element"},
      {"()2", "", 0, "holds no element"},
      {"2", "", 0, "cannot stand here"},
      {"((H99999999)99999999)99999999", "", 0, "too large"},
      {"H999999999999999999999", "", 0, "too large"},
      {"H9223372036854775807H", "", 0, "too large"},  // each fits, their sum does not
  };
  for (const auto& row : rows) {
    std::vector<std::pair<std::string, int64_t>> counts;
    std::string reason;
    const bool read = CountElements(row.formula, counts, reason);
    EXPECT_EQ(read, row.count != 0) << row.formula << ": " << reason;
    if (row.count == 0) {
      EXPECT_TRUE(HasText(reason, row.word)) << row.formula << ": " << reason;
      continue;
    }
    int64_t found = 0;
    for (const auto& [element, count] : counts)
      if (element == row.element) found = count;
    EXPECT_EQ(found, row.count) << row.formula;
  }
}

// How many independent balancings an equation has: one is the reaction's own; with more, the
// coefficients printed would be one mix among many.
TEST(Balance, CountsIndependentBalancings) {
  const struct {
    const char* equation;
    int independent;
  } rows[] = {
      {"Cr2O7{2-} + Fe{2+} + H{+} -> Cr{3+} + Fe{3+} + H2O", 1},
      {"C3H8 + O2 -> CO2 + H2O", 1},
      {"MnO4{-} + H2O2 + H{+} -> Mn{2+} + O2 + H2O", 2},
      {"H2 + O2 -> H2O + H2O2", 2},
      {"Ag{+} + Cl{-} -> AgCl", 1},
  };
  for (const auto& row : rows) {
    const auto reaction = Equation(row.equation);
    ASSERT_TRUE(reaction);
    const TBalance balance = BalanceReaction(*reaction);
    EXPECT_TRUE(balance.balanced) << row.equation << ": " << balance.reason;
    EXPECT_EQ(balance.independent, row.independent) << row.equation;
  }
}

// Arithmetic that leaves 64 bits is flagged, never wrapped, and the flag is carried on.
TEST(Fraction, FlagsEveryOverflow) {
  const TFraction max(INT64_MAX), one(1), half(1, 2), tiny(1, INT64_MAX);
  const struct {
    const char* what;
    TFraction value;
    bool overflow;
  } rows[] = {
      {"max + 1", max + one, true},
      {"max - 1", max - one, false},
      {"-max", -max, false},
      {"-max - 1, which has no negative", -max - one, true},
      {"max * 2", max * TFraction(2), true},
      {"max * 1/2", max * half, false},
      {"tiny + 1/(max-1)", tiny + TFraction(1, INT64_MAX - 1), true},
      {"1 / tiny", one / tiny, false},
      {"1 / (tiny * 1/2)", one / (tiny * half), true},
      {"the least number", TFraction(INT64_MIN), true},
      {"over the least number", TFraction(1, INT64_MIN), true},
      {"carried", (max + one) - (max + one) + one, true},
      {"1 / 0", one / TFraction(), true},
  };
  for (const auto& row : rows) EXPECT_EQ(row.value.Overflow(), row.overflow) << row.what;
}

// Tests run in parallel processes: each test has files of its own.
std::string TempPath(const std::string& name) {
  return testing::TempDir() + "/" + testing::UnitTest::GetInstance()->current_test_info()->name() +
         "." + name;
}

// The starter bank a new installation gets: enough questions of every type for a quiz of each,
// every line passing the checks.
struct TStarterShare {
  const char* name;
  int type;  // -1: every type together
  std::size_t least;
};

class StarterBank : public testing::TestWithParam<TStarterShare> {};

TEST_P(StarterBank, HoldsEnoughReactions) {
  std::ifstream in(TARVOLIN_STARTER_TEXT, std::ios::binary);
  const TImportResult starter = ImportBank(in, false);
  ASSERT_TRUE(starter.ok);
  const TStarterShare& share = GetParam();
  std::size_t count = 0;
  for (const auto& reaction : starter.reactions)
    count += share.type < 0 || reaction->type == share.type;
  EXPECT_GE(count, share.least);
}

INSTANTIATE_TEST_SUITE_P(, StarterBank,
                         testing::Values(TStarterShare{"All", -1, 177},
                                         TStarterShare{"Precipitation", Precipitation, 20},
                                         TStarterShare{"AcidBase", AcidBase, 20},
                                         TStarterShare{"Redox", Redox, 20},
                                         TStarterShare{"ComplexIon", ComplexIon, 20},
                                         TStarterShare{"Miscellaneous", Miscellaneous, 20}),
                         [](const testing::TestParamInfo<TStarterShare>& info) {
                           return std::string(info.param.name);
                         });

// Import, export, import again: the second reaction file equals the first byte for byte.
void ExpectRoundTrip(const TReactionList& reactions, bool lenient) {
  const std::string first = TempPath("first.rxn"), second = TempPath("second.rxn");
  ASSERT_TRUE(WriteReactionFile(reactions, first));
  TReactionList read;
  ASSERT_EQ(ReadReactionFile(read, first), ReadResult::Ok);
  const TExportResult exported = ExportBank(read);
  ASSERT_TRUE(exported.ok);
  std::istringstream text(exported.text);
  const TImportResult imported = ImportBank(text, lenient);
  for (const TBankIssue& issue : imported.issues)
    EXPECT_FALSE(issue.error) << issue.line << ": " << issue.text;
  ASSERT_TRUE(WriteReactionFile(imported.reactions, second));
  EXPECT_EQ(ReadWholeFile(first), ReadWholeFile(second));
}

TEST(RoundTrip, StarterBankComesBackByteForByte) {
  std::ifstream in(TARVOLIN_STARTER_TEXT, std::ios::binary);
  const TImportResult starter = ImportBank(in, false);
  ASSERT_TRUE(starter.ok);
  ASSERT_GE(starter.reactions.size(), 120u);
  ExpectRoundTrip(starter.reactions, false);
}

TEST(RoundTrip, AnyFileTheProgramWritesComesBackByteForByte) {
  TReactionList list;
  const auto add = [&list](const std::string& question, int32_t type) -> TReaction& {
    list.push_back(std::make_unique<TReaction>(question, type));
    return *list.back();
  };
  TReaction& gaps = add("  Blanks around | and a bar inside  ", 0);
  gaps.reactants[1].SetFormula("Ag");
  gaps.reactants[1].charge = 1;
  gaps.reactants[3].charge = -2;  // a charge on an empty slot
  gaps.products[4].SetFormula("AgCl");
  TReaction& extremes = add("\"Quoted\"", 9);
  extremes.reactants[0].SetFormula("C10H22");
  extremes.reactants[0].charge = INT32_MIN;
  extremes.products[0].SetFormula("(((");
  extremes.products[0].charge = INT32_MAX;
  add("Caf\xE9, \x80 5 and \x81 and \x9F", 3).reactants[0].SetFormula("Zn");
  add("", 4);  // no question and no answer at all
  TReaction& repeat = add("CAF\xE9, \x80 5 AND \x81   and \x9F", 1);  // the same, in other case
  repeat.reactants[0].SetFormula("Fe");
  repeat.reactants[0].charge = 2;
  repeat.reactants[1].SetFormula("OH");
  repeat.reactants[1].charge = -1;
  repeat.products[0].SetFormula("Fe(OH)3");  // cannot be balanced
  ExpectRoundTrip(list, true);

  // What the program itself would not ask is exported with warnings and refused unless lenient.
  const TExportResult exported = ExportBank(list);
  std::set<int> warned;
  for (const TBankIssue& issue : exported.issues) warned.insert(issue.line);
  EXPECT_EQ(warned, (std::set<int>{4, 5, 6, 7, 8}));
  std::istringstream text(exported.text);
  EXPECT_FALSE(ImportBank(text, false).ok);
}

// Blanks at either end of a question, or a question of blanks alone, come back byte for byte.
TEST(RoundTrip, QuestionsWithBlanksAtTheirEndsComeBack) {
  const char* const questions[] = {
      " Leading.", "Trailing. ", "  Both.  ",   "\tTab.",      "Tab.\t",
      " ",         " \t ",       "\"Quoted\" ", " \"Quoted\"", "Inner  blanks."};
  TReactionList list;
  for (const char* question : questions) {
    list.push_back(std::make_unique<TReaction>(question, 0));
    list.back()->reactants[0].SetFormula("Ag");
  }
  ExpectRoundTrip(list, true);
}

TEST(Export, RefusesWhatTheTextFormCannotCarry) {
  TReactionList list;
  list.push_back(std::make_unique<TReaction>("Fine.", 0));
  list.push_back(std::make_unique<TReaction>("Two\nlines", 0));
  list.push_back(std::make_unique<TReaction>("A blank in a formula.", 0));
  list.back()->reactants[0].SetFormula("Ag Cl");
  list.push_back(std::make_unique<TReaction>("", 0));
  std::memset(list.back()->question, 'q', TReaction::kQuestionSize);  // no end
  list.push_back(std::make_unique<TReaction>("Leftover bytes.", 0));
  list.back()->question[90] = 'z';
  const TExportResult exported = ExportBank(list);
  EXPECT_FALSE(exported.ok);
  EXPECT_TRUE(exported.text.empty());
  std::vector<std::string> errors;
  bool noted = false;
  for (const TBankIssue& issue : exported.issues) {
    if (issue.error) errors.push_back(issue.text.substr(0, issue.text.find(':')));
    noted = noted || issue.text.find(
                         "reaction 5: bytes after the end of the question are not "
                         "kept") == 0;
  }
  EXPECT_EQ(errors, (std::vector<std::string>{"reaction 2", "reaction 3", "reaction 4"}));
  EXPECT_TRUE(noted);
}

}  // namespace

#include "bank/bank_checks.h"

#include <cctype>
#include <map>

#include "bank/balance.h"
#include "bank/bank_text.h"
#include "bank/keying.h"

namespace {

constexpr const char* kHeader[] = {
    "# Tarvolin reactions, one a line: TYPE | QUESTION | REACTANTS -> PRODUCTS",
    "# TYPE: Precipitation, AcidBase, Redox, ComplexIon or Miscellaneous. Charges in braces:",
    "# Ag{+}, SO4{2-}. \"_\" is an empty slot. Lines starting with # are skipped.",
};

std::string WithoutByteOrderMark(const std::string& line) {
  return line.rfind("\xEF\xBB\xBF", 0) == 0 ? line.substr(3) : line;
}

bool IsBlankOrComment(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == '#';
}

}  // namespace

std::vector<std::string> AnswerProblems(const TReaction& reaction) {
  std::vector<std::string> problems;
  // A formula that is no formula (a "()" with nothing in it, no element at all) is told as
  // such; its balance would only repeat the reason.
  bool formulas = true;
  for (const bool reactant : {true, false})
    for (int s = 0; s < TReaction::kSlots; ++s) {
      const Substance& substance = reaction.Side(reactant)[s];
      if (substance.IsEmpty()) continue;
      std::vector<std::pair<std::string, int64_t>> counts;
      std::string reason;
      if (!CountElements(std::string(substance.FormulaText()), counts, reason)) {
        problems.push_back("the formula " + SubstanceText(substance) +
                           " is not a formula: " + reason);
        formulas = false;
      }
    }
  std::string reason;
  if (!KeyAnswer(reaction, reason)) problems.push_back("the answer cannot be keyed: " + reason);
  if (formulas) {
    const TBalance balance = BalanceReaction(reaction);
    if (!balance.balanced) problems.push_back("the equation cannot be balanced: " + balance.reason);
  }
  return problems;
}

std::vector<std::string> ReactionProblems(const TReaction& reaction) {
  std::vector<std::string> problems;
  if (reaction.type < 0 || reaction.type >= kReactionTypeCount)
    problems.push_back("type code " + std::to_string(reaction.type) +
                       " is none of the five types, so the quiz never asks it");
  const std::string_view question = reaction.Question();
  if (question.empty())
    problems.push_back("the question is empty");
  else if (question.find_first_not_of(" \t") == std::string_view::npos)
    problems.push_back("the question is only blanks");
  for (std::string& problem : AnswerProblems(reaction)) problems.push_back(std::move(problem));
  return problems;
}

std::string QuestionKey(std::string_view question) {
  std::string key;
  bool blank = false;
  for (char c : question) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !key.empty()) key += ' ';
    blank = false;
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

TImportResult ImportBank(std::istream& text, bool lenient) {
  TImportResult result;
  std::map<std::string, int> seen;  // question key -> line
  std::string line;
  for (int number = 1; std::getline(text, line); ++number) {
    if (number == 1) line = WithoutByteOrderMark(line);
    if (IsBlankOrComment(line)) continue;
    std::unique_ptr<TReaction> reaction;
    std::string reason;
    if (!ParseBankLine(line, reaction, reason)) {
      result.issues.push_back({number, true, reason});
      result.ok = false;
      continue;
    }
    std::vector<std::string> problems = ReactionProblems(*reaction);
    const auto [at, fresh] = seen.emplace(QuestionKey(reaction->Question()), number);
    if (!fresh) problems.push_back("the question repeats line " + std::to_string(at->second));
    for (const std::string& problem : problems)
      result.issues.push_back({number, !lenient, problem});
    if (!problems.empty() && !lenient) {
      result.ok = false;
      continue;
    }
    result.reactions.push_back(std::move(reaction));
    result.lineOfReaction.push_back(number);
  }
  if (text.bad()) {
    result.issues.push_back({0, true, "read error"});
    result.ok = false;
  }
  return result;
}

TExportResult ExportBank(const TReactionList& reactions) {
  TExportResult result;
  int number = 0;
  for (const char* line : kHeader) {
    result.text += std::string(line) + "\n";
    ++number;
  }
  std::map<std::string, std::size_t> seen;  // question key -> reaction number
  for (std::size_t r = 0; r < reactions.size(); ++r) {
    ++number;
    const std::string which = "reaction " + std::to_string(r + 1) + ": ";
    std::string line, reason;
    std::vector<std::string> notes;
    if (!FormatBankLine(*reactions[r], line, reason, notes)) {
      result.issues.push_back({number, true, which + reason + "; the text form cannot carry it"});
      result.ok = false;
      continue;
    }
    result.text += line + "\n";
    for (const std::string& note : notes) result.issues.push_back({number, false, which + note});
    std::vector<std::string> problems = ReactionProblems(*reactions[r]);
    const auto [at, fresh] = seen.emplace(QuestionKey(reactions[r]->Question()), r + 1);
    if (!fresh) problems.push_back("the question repeats reaction " + std::to_string(at->second));
    for (const std::string& problem : problems)
      result.issues.push_back(
          {number, false, which + problem + " (import refuses it unless --lenient)"});
  }
  if (!result.ok) result.text.clear();
  return result;
}

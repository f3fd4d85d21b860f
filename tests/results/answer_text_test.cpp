// The answer's text form, as the results and the CSV write it, read back by typing it: every
// answer of the starter bank comes back as the same equation.
#include "model/answer_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bank/bank_text.h"
#include "coach/rules/regrade.h"
#include "keypad/rules/keyboard_input.h"
#include "keypad/rules/keypad.h"
#include "model/charge_text.h"
#include "model/equation.h"
#include "model/reaction.h"

namespace {

std::vector<std::unique_ptr<TReaction>> StarterBank() {
  std::ifstream file(TARVOLIN_STARTER_TEXT);
  EXPECT_TRUE(file) << TARVOLIN_STARTER_TEXT;
  std::vector<std::unique_ptr<TReaction>> bank;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::unique_ptr<TReaction> reaction;
    std::string reason;
    EXPECT_TRUE(ParseBankLine(line, reaction, reason)) << number << ": " << reason;
    if (reaction) bank.push_back(std::move(reaction));
  }
  return bank;
}

// The substances of a keyed side as (formula, charge), empty formulas left out.
std::vector<std::pair<std::string, int32_t>> Keyed(const TFormulaList& side) {
  std::vector<std::pair<std::string, int32_t>> substances;
  for (const auto& formula : side) {
    if (formula->symbols.empty()) continue;
    const SplitText split = SplitFormulaText(*formula);
    substances.emplace_back(split.formula, ChargeFromText(split.charge));
  }
  return substances;
}

std::vector<std::pair<std::string, int32_t>> Stored(const TReaction& reaction, bool reactants) {
  std::vector<std::pair<std::string, int32_t>> substances;
  const Substance* side = reaction.Side(reactants);
  for (int i = 0; i < TReaction::kSlots; ++i)
    if (!side[i].IsEmpty()) substances.emplace_back(side[i].FormulaText(), side[i].charge);
  return substances;
}

TEST(AnswerText, EveryStarterAnswerTypedBackFromItsTextIsTheSameEquation) {
  const std::vector<std::unique_ptr<TReaction>> bank = StarterBank();
  EXPECT_GE(bank.size(), 155u);
  int caretsAfterLetters = 0;
  for (const auto& reaction : bank) {
    const std::string text = StoredAnswerText(*reaction);
    TKeypad keypad;
    TEquation equation;
    keypad.OpenEquation(&equation);
    TKeyboardInput typing(keypad);
    const std::optional<TKeyboardInput::Refusal> refusal =
        typing.Paste(std::u32string(text.begin(), text.end()));
    ASSERT_FALSE(refusal) << text << ": " << refusal->PasteMessage();
    EXPECT_EQ(Keyed(equation.Side(true)), Stored(*reaction, true)) << text;
    EXPECT_EQ(Keyed(equation.Side(false)), Stored(*reaction, false)) << text;
    // The keyed equation, written as the first and final answers are, is the same text.
    EXPECT_EQ(EquationAnswerText(equation), text);
    // Graded again from its text, the answer right at once is right.
    EXPECT_TRUE(ScoresGivenByTarvolin(text, text, text, TEnding::RightAtOnce, 3, 3)) << text;
    for (std::size_t at = text.find('^'); at != std::string::npos; at = text.find('^', at + 1))
      if (at > 0 && std::isalpha(static_cast<unsigned char>(text[at - 1]))) ++caretsAfterLetters;
  }
  // FeSCN^2+ and its kind are among them: the bank has charges that need "^" after a letter.
  EXPECT_GT(caretsAfterLetters, 0);
}

}  // namespace

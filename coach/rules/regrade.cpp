#include "coach/rules/regrade.h"

#include <string>

#include "coach/rules/grader.h"
#include "keypad/rules/keyboard_input.h"
#include "keypad/rules/keypad.h"
#include "model/charge_text.h"
#include "model/question_outcome.h"
#include "model/reaction.h"

namespace {

// Types text into equation as the answer dialog takes it from the keyboard: false when a
// character is refused or the text ends half typed. The program writes these texts in ASCII.
bool TypeEquation(std::string_view text, TEquation& equation) {
  std::u32string characters;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 0x7F) return false;
    characters.push_back(static_cast<char32_t>(c));
  }
  TKeypad keypad(TKeypad::AnswerDialogConfig());
  keypad.OpenEquation(&equation);
  TKeyboardInput typing(keypad);
  return !typing.Paste(characters);
}

// The reaction whose stored answer reads as text: every typed formula a substance, with at
// least one on each side and no more than a reaction holds.
bool ReactionFromText(std::string_view text, TReaction& reaction) {
  TEquation equation;
  if (!TypeEquation(text, equation)) return false;
  for (const bool reactant : {true, false}) {
    int slot = 0;
    for (const auto& formula : equation.Side(reactant)) {
      if (formula->symbols.empty() || slot == TReaction::kSlots) return false;
      const SplitText split = SplitFormulaText(*formula);
      Substance& substance = reaction.Side(reactant)[slot++];
      substance.SetFormula(split.formula);
      substance.charge = ChargeFromText(split.charge);
    }
    if (slot == 0) return false;
  }
  return true;
}

// The score the answer dialog gives the equation text reads as; -1 when it cannot be typed.
int Grade(const TReaction& reaction, std::string_view text) {
  TEquation equation;
  if (!TypeEquation(text, equation)) return -1;
  ComparisonTable correct, student;
  return GradeAnswer(reaction, equation, correct, student);
}

bool IsScore(int32_t score) {
  return score >= 0 && score <= kFullScore;
}

}  // namespace

bool ScoresGivenByTarvolin(std::string_view storedAnswer, std::string_view firstAnswer,
                           std::string_view finalAnswer, TEnding ending, int32_t firstScore,
                           int32_t finalScore) {
  if (ending == TEnding::Quit) return firstScore == 0 && finalScore == 0;
  if (!IsScore(firstScore) || !IsScore(finalScore)) return false;
  const bool rightFirst = firstScore == kFullScore;
  const bool rightAtEnd = finalScore == kFullScore;
  switch (ending) {
    case TEnding::RightAtOnce:
      if (!rightFirst || !rightAtEnd) return false;
      break;
    case TEnding::RightAfterCoaching:
      if (rightFirst || !rightAtEnd) return false;
      break;
    case TEnding::Answer:
      if (rightFirst || rightAtEnd) return false;
      break;
    default:
      return false;
  }
  TReaction reaction("", 0);
  if (!ReactionFromText(storedAnswer, reaction)) return false;
  const int first = Grade(reaction, firstAnswer);
  const int last = Grade(reaction, finalAnswer);
  if (first != firstScore || last < 0) return false;
  // "&Answer" in the oxidation-number dialog ends coaching without grading the charges put
  // right in that round: the kept score is then the one before, never more than the equation's.
  return ending == TEnding::Answer ? finalScore <= last : finalScore == last;
}

// What a reaction exercises is foreseen without a window; here the real coach meets each
// foreseen mistake in the answer dialog, and its first coaching dialog must be the one foreseen.
#include <gtest/gtest.h>

#include <fstream>

#include "bank/bank_text.h"
#include "coach/check_answer.h"
#include "coach/rules/exercised_kinds.h"
#include "keypad/answer_window.h"
#include "keypad/equation_dialog.h"
#include "keypad/rules/keyboard_input.h"
#include "keypad/rules/keypad.h"
#include "tests/support/driver.h"
#include "ui/resources/resource_ids.h"

// Which coaching, about what, when a comparison fails.
void PrintTo(const TCoachingNote& note, std::ostream* os) {
  *os << CoachingStepName(note.step) << " " << note.substance;
}

namespace {

// The coaching dialog of each step, by its template.
const char* const kDialogOf[] = {TemplateId::kChangeCharge, TemplateId::kSplitIt,
                                 TemplateId::kEditSubstance, TemplateId::kAddSubstance};

std::unique_ptr<TEquation> Typed(const std::string& text) {
  auto equation = std::make_unique<TEquation>();
  TKeypad keypad(TKeypad::AnswerDialogConfig());
  keypad.OpenEquation(equation.get());
  TKeyboardInput typing(keypad);
  EXPECT_FALSE(typing.Paste(std::u32string(text.begin(), text.end()))) << text;
  return equation;
}

TEST(ExercisedKinds, TheCoachOpensTheDialogForeseenForEveryMistake) {
  std::ifstream in(TARVOLIN_STARTER_TEXT);
  std::string reason;
  int line = 0, checked = 0;
  for (std::string text; std::getline(in, text);) {
    std::unique_ptr<TReaction> reaction;
    // Every seventh starter reaction keeps the test short; each of them with all its mistakes.
    if (!ParseBankLine(text, reaction, reason) || line++ % 7 != 0) continue;
    for (const TMistakeMade& made : ExercisedBy(*reaction).mistakes) {
      TDriver driver;
      TEquationDialog dialog(nullptr, *reaction, CheckAnswer);
      driver.ExpectDialog<TEquationDialog>()
          .Do([&made](TEquationDialog& d) { d.AnswerWindow()->SetEquation(Typed(made.answer)); })
          .Press("Check");
      driver.ExpectDialog(kDialogOf[static_cast<int>(made.note.step)]).Press("Answer");
      dialog.Execute();
      driver.Verify();
      ASSERT_FALSE(dialog.Outcome().coaching.empty()) << made.answer;
      EXPECT_EQ(dialog.Outcome().coaching.front(), made.note) << made.answer;
      ++checked;
    }
  }
  EXPECT_GT(checked, 200);
}

}  // namespace

#include "coach/rules/charge_choice.h"

#include <utility>

std::string ChoiceToDecimal(std::string_view choice) {
  std::string text(choice);
  if (text.size() < 2) return text;
  if (text[1] == '+') {
    text.resize(1);
  } else if (text[1] == '-') {
    std::swap(text[0], text[1]);
  }
  return text;
}

void ApplyChargeChoice(TFormula& formula, std::string_view choice) {
  formula.RemoveTrailingCharge();
  if (choice != "0") formula.Append(choice, Superscript);
}

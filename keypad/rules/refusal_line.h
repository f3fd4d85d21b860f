#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "keypad/rules/keyboard_input.h"

// The line under a keypad dialog's strip once typed characters or a paste were refused: every
// refused character with its reason, those of one reason together,
//   "2" refused: there are no coefficients: ...; "c", "o" refused: element symbols begin with ...
// or, where that does not fit, the first with its reason and the others after it,
//   "2" refused: there are no coefficients: ... (and 4 more: "c", "o", "2", "+")
// or only how many others there are. fits says whether a text fits the line; the shortest
// form is given when none does. Empty for no refusal.
std::string RefusalLine(const std::vector<TKeyboardInput::Refusal>& refusals,
                        const std::function<bool(std::string_view)>& fits);

#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class TFormula;

// Keyed form to text form: the formula text runs up to the last non-superscript symbol
// (symbol 0 always belongs to it), the charge text is the rest.
struct SplitText {
  std::string formula;
  std::string charge;
};
SplitText SplitFormulaText(const TFormula& formula);
// The same into two 10-byte fields, which it zero-fills first; at most 9 characters each.
void SplitFormulaText(const TFormula& formula, char* formulaField, char* chargeField);

// Integer to decimal form: "0", "2", "-3".
std::string ChargeToText(int32_t charge);
// Keyed or display form to integer: "+" 1, "-" -1, else the digits 1-9 in order,
// negative when the text holds '-'.
int32_t ChargeFromText(std::string_view text);
// Any form to display form: "" for 0, "+", "-", "2+", "3-".
std::string ChargeToDisplay(std::string_view text);
// The leading signed decimal value of a text, 0 when it starts with no number.
int32_t LeadingValue(std::string_view text);
// The keypad's charge text made readable by ChargeFromText whatever its form: "-" becomes
// "-1", a text with '-' and a non-negative leading value becomes the decimal text of minus
// that value ("3-" becomes "-3"); every other text stays.
std::string NormalizeChargeText(std::string_view text);

#include "model/charge_text.h"

#include <cstdint>
#include <limits>

#include "model/formula.h"
#include "model/text_field.h"

SplitText SplitFormulaText(const TFormula& formula) {
  SplitText split;
  const auto& symbols = formula.symbols;
  if (symbols.empty()) return split;
  std::size_t k = symbols.size() - 1;
  while (k > 0 && symbols[k].placement == Superscript) --k;
  for (std::size_t i = 0; i < symbols.size(); ++i)
    (i <= k ? split.formula : split.charge) += symbols[i].ch;
  return split;
}

void SplitFormulaText(const TFormula& formula, char* formulaField, char* chargeField) {
  const SplitText split = SplitFormulaText(formula);
  SetFieldText(formulaField, 10, split.formula);
  SetFieldText(chargeField, 10, split.charge);
}

std::string ChargeToText(int32_t charge) {
  return std::to_string(charge);
}

// Appends a decimal digit, holding at the largest int32 rather than overflowing.
static int64_t AddDigit(int64_t value, char digit) {
  value = value * 10 + (digit - '0');
  return value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : value;
}

int32_t ChargeFromText(std::string_view text) {
  const bool negative = text.find('-') != std::string_view::npos;
  if (!negative && text == "+") return 1;
  if (negative && text == "-") return -1;
  int64_t value = 0;
  for (char c : text)
    if (c >= '1' && c <= '9') value = AddDigit(value, c);
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t LeadingValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = AddDigit(value, text[i]);
  return static_cast<int32_t>(negative ? -value : value);
}

std::string ChargeToDisplay(std::string_view text) {
  if (text == "+" || text == "-") return std::string(text);
  if (text == "1-" || text == "-1") return "-";
  if (text == "1+" || text == "+1") return "+";
  const int64_t v = LeadingValue(text);
  if (v == 1) return "+";
  if (v == -1) return "-";
  if (v == 0) return "";
  if (text.size() > 1 && text[1] == '-') return std::string(text);
  if (v >= 2) return std::to_string(v) + "+";
  return std::to_string(-v) + "-";
}

std::string NormalizeChargeText(std::string_view text) {
  const int32_t v = LeadingValue(text);
  if (v < 0) return std::string(text);
  if (text == "-") return "-1";
  if (text.find('-') != std::string_view::npos) return std::to_string(-static_cast<int64_t>(v));
  return std::string(text);
}

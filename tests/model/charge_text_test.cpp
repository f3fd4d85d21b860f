#include "model/charge_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/formula.h"

namespace {

TFormula Keyed(std::initializer_list<std::pair<const char*, int32_t>> keys) {
  TFormula formula;
  for (const auto& [text, placement] : keys) formula.Append(text, placement);
  return formula;
}

TEST(ChargeFromText, ReadsKeyedAndDisplayForms) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},    {"+", 1},   {"-", -1}, {"2+", 2},  {"3-", -3},   {"1+", 1}, {"1-", -1},
      {"-3", -3}, {"10+", 1}, {"0", 0},  {"5-", -5}, {"2+3+", 23}, {"-", -1}, {"20-", -2},
  };
  for (const auto& c : cases) EXPECT_EQ(ChargeFromText(c.text), c.value) << '"' << c.text << '"';
}

TEST(ChargeFromText, HugeDigitRunsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(ChargeFromText("99999999999999+"), INT32_MAX);
  EXPECT_EQ(ChargeFromText("99999999999999-"), -INT32_MAX);
}

TEST(ChargeToText, WritesSignedDecimal) {
  EXPECT_EQ(ChargeToText(0), "0");
  EXPECT_EQ(ChargeToText(2), "2");
  EXPECT_EQ(ChargeToText(-3), "-3");
  EXPECT_EQ(ChargeToText(INT32_MIN), "-2147483648");
}

TEST(ChargeToDisplay, FollowsTheFirstRuleThatApplies) {
  const struct {
    const char* text;
    const char* display;
  } cases[] = {
      {"+", "+"},   {"-", "-"},   {"1-", "-"},   {"-1", "-"},  {"1+", "+"},  {"+1", "+"},
      {"1", "+"},   {"0", ""},    {"", ""},      {"2", "2+"},  {"-2", "2-"}, {"2+", "2+"},
      {"3-", "3-"}, {"-3", "3-"}, {"10", "10+"}, {"+2", "2+"}, {"x", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChargeToDisplay(c.text), c.display) << '"' << c.text << '"';
}

TEST(SplitFormulaText, SeparatesTheTrailingCharge) {
  const struct {
    TFormula formula;
    const char* text;
    const char* charge;
  } cases[] = {
      {Keyed({{"Fe", Baseline}, {"3-", Superscript}}), "Fe", "3-"},
      {Keyed({{"S", Baseline}, {"O", Baseline}, {"4", Subscript}, {"2-", Superscript}}), "SO4",
       "2-"},
      {Keyed({{"Ca", Baseline},
              {"(", Baseline},
              {"OH", Baseline},
              {")", Baseline},
              {"2", Subscript}}),
       "Ca(OH)2", ""},
      // A charge keyed first: symbol 0 always stays in the formula text.
      {Keyed({{"2+", Superscript}}), "2", "+"},
      {Keyed({{"2+3-", Superscript}}), "2", "+3-"},
      {Keyed({}), "", ""},
  };
  for (const auto& c : cases) {
    const SplitText split = SplitFormulaText(c.formula);
    EXPECT_EQ(split.formula, c.text);
    EXPECT_EQ(split.charge, c.charge);
    EXPECT_EQ(ChargeToDisplay(split.charge).empty(), ChargeFromText(split.charge) == 0);
  }
}

TEST(SplitFormulaText, NeverWritesPastItsTenByteFields) {
  TFormula longFormula;
  longFormula.Append("ABCDEFGHIJKLMN", Baseline);
  longFormula.Append("1234567890123", Superscript);
  char fields[3][10];
  std::memset(fields, 'z', sizeof fields);
  SplitFormulaText(longFormula, fields[0], fields[1]);
  EXPECT_STREQ(fields[0], "ABCDEFGHI");
  EXPECT_STREQ(fields[1], "123456789");
  for (char c : fields[2]) EXPECT_EQ(c, 'z');
}

}  // namespace

TEST(NormalizeChargeText, KeyedNegativeChargesBecomeDecimal) {
  const std::pair<const char*, const char*> cases[] = {{"-", "-1"},  {"3-", "-3"}, {"1-", "-1"},
                                                       {"-2", "-2"}, {"2+", "2+"}, {"+", "+"},
                                                       {"", ""},     {"0", "0"},   {"--", "0"}};
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(NormalizeChargeText(in), out) << in;
    EXPECT_EQ(ChargeFromText(NormalizeChargeText(in)), ChargeFromText(in)) << in;
  }
}

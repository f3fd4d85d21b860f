#include "coach/change_charge_dialog.h"

#include <gtest/gtest.h>

#include "tests/support/equation_text.h"
#include "keypad/answer_window.h"
#include "keypad/static_window.h"
#include "tests/support/driver.h"
#include "ui/combo_box.h"

namespace {

struct ChargeCase {
  const char* substance;
  const char* correct;
  const char* shownFirst;
  std::vector<std::string> picks;  // all wrong but the last, which is right unless answered
  bool answered;                   // ends with "&Answer"
  const char* chargeAfter;
};

class ChangeCharge : public testing::TestWithParam<ChargeCase> {};

TEST_P(ChangeCharge, AppliesEveryPickAndClosesOnTheRightOne) {
  const ChargeCase& c = GetParam();
  TAnswerWindow equationWindow(nullptr, false);
  equationWindow.SetEquation(EquationFromText(std::string("Ag + ") + c.substance + " -> Ag"));
  TFormula* substance = equationWindow.Equation()->reactants[1].get();
  const std::string formula = substance->TextBeforeCharge();
  auto lineOneIs = [&formula](TChangeChargeDialog& d, const std::string& charge) {
    EXPECT_EQ(d.MessagePanel()->Line(0).Text(),
              "The oxidation number of " + formula + " is not " + charge);
  };

  TDriver driver;
  auto& script = driver.ExpectDialog<TChangeChargeDialog>().Check([&](TChangeChargeDialog& d) {
    EXPECT_EQ(d.ChargeList()->GetText(), c.shownFirst);
    lineOneIs(d, c.shownFirst);
  });
  for (std::size_t i = 0; i < c.picks.size(); ++i) {
    const std::string choice = c.picks[i];
    script.Do([choice](TChangeChargeDialog& d) { d.ChargeList()->SetText(choice); }).Press(1);
    if (i + 1 == c.picks.size() && !c.answered) {
      driver
          .ExpectMessage("Very good. " + choice + " is the correct oxidation number.", "Excellent")
          .WithIcon(MbIcon::Success);
      break;
    }
    driver.ExpectMessage("Sorry. " + choice + " is not the correct oxidation number. Try again.",
                         "Oops");
    script.Check([=](TChangeChargeDialog& d) { lineOneIs(d, choice); });
  }
  if (c.answered) script.Press("Answer");

  TChangeChargeDialog dialog(nullptr, &equationWindow, c.correct, substance);
  EXPECT_EQ(dialog.Execute(), c.answered ? 2 : 1);
  EXPECT_EQ(substance->AllText(), formula + c.chargeAfter);
  EXPECT_EQ(substance->TrailingChargeText(), c.chargeAfter);  // as superscripts
}

INSTANTIATE_TEST_SUITE_P(Coach, ChangeCharge,
                         testing::Values(ChargeCase{"Fe^2+", "3", "2+", {"3-", "3+"}, false, "3+"},
                                         ChargeCase{"Fe^2+", "3", "2+", {"1+"}, true, "1+"},
                                         ChargeCase{"Cl2^1-", "0", "1-", {"0"}, false, ""},
                                         ChargeCase{"SO4", "-2", "0", {"0", "2-"}, false, "2-"},
                                         ChargeCase{"Fe", "3", "0", {}, true, ""}));

}  // namespace

// The test driver on the modal-run and message-box seams, and the seams themselves.
#include "tests/support/driver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QPushButton>
#include <string>
#include <vector>

#include "keypad/keypad_dialog.h"
#include "keypad/rules/keypad_key.h"
#include "ui/check_box.h"
#include "ui/dialog.h"
#include "ui/message_box.h"
#include "ui/modal_run.h"

namespace {

// A keypad dialog that records the labels of the keys pressed; Check (1) asks a question and
// closes with 1 on Yes; key "->" runs the type dialog 605 and remembers its result.
class TKeyDialog : public TDialog {
 public:
  explicit TKeyDialog(const std::string& name = "607")
      : TDialog(nullptr, name, TKeypadDialog::KeyControls(name == "607" || name == "610")) {
    for (const TKeypadKey& key : KeypadKeys())
      if (key.id != 193) Bind(key.id, [this, label = key.label] { pressed.push_back(label); });
    Bind(193, &TKeyDialog::RunNested);
    Bind(1, &TKeyDialog::CmCheck);
  }
  std::vector<std::string> pressed;
  int nestedResult = 0;

 protected:
  void SetupWindow() override {
    TDialog::SetupWindow();
    EnableButton(194, false);  // "(" off
  }

 private:
  void CmCheck() {
    if (MessageBox(this, "Done?", "Confirmation", MbIcon::Question, MbButtons::YesNo) == IDYES)
      CloseWindow(1);
  }
  void RunNested() {
    TDialog nested(this, "605");
    nestedResult = nested.Execute();
  }
};

TEST(Driver, PressesKeysByLabelAndIdAndReturnsTheCloseCode) {
  TDriver driver;
  driver.ExpectDialog<TKeyDialog>().Press({"Ag", "1+", "+", "Cl", "1-"}).Press(146).Press(1);
  driver.ExpectMessage("Done?", "Confirmation")
      .WithIcon(MbIcon::Question)
      .WithButtons(MbButtons::YesNo)
      .Answer(IDYES);
  TKeyDialog dialog;
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(dialog.pressed, (std::vector<std::string>{"Ag", "1+", "+", "Cl", "1-", "Ag"}));
  EXPECT_TRUE(driver.AllMet());
}

TEST(Driver, MnemonicsAreIgnoredInLabels) {
  TDriver driver;
  driver.ExpectDialog("607").Press("Restart").Press("Quit");
  TKeyDialog dialog;
  EXPECT_EQ(dialog.Execute(), 2);
  EXPECT_TRUE(dialog.pressed.empty());  // Restart is not bound in this dialog
}

TEST(Driver, DisabledKeysDoNothingAndAreRecorded) {
  TDriver driver;
  driver.ExpectDialog<TKeyDialog>()
      .Press("(")
      .PressExpectingDisabled("(")
      .Do([](TKeyDialog& d) { d.Button(146)->hide(); })
      .Press("Ag")
      .Press("Quit");
  TKeyDialog dialog;
  EXPECT_EQ(dialog.Execute(), 2);
  EXPECT_TRUE(dialog.pressed.empty());
  ASSERT_EQ(driver.IgnoredPresses().size(), 2u);
  EXPECT_NE(driver.IgnoredPresses()[0].find("\"(\""), std::string::npos);
}

TEST(Driver, NestedDialogsAndMessagesAreServedInOrder) {
  TDriver driver;
  driver.ExpectDialog<TKeyDialog>()
      .Press({"H", "->"})
      .Check([](TKeyDialog& d) { EXPECT_EQ(d.nestedResult, 1); })
      .Press(1)
      .Press(1);
  driver.ExpectDialog("605").Do([](TDialog& d) { d.CheckBox(103)->click(); }).Press("OK");
  driver.ExpectMessage("Done?", "Confirmation").Answer(IDNO);
  driver.ExpectMessage("Done?", "Confirmation").Answer(IDYES);
  TKeyDialog dialog;
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(driver.Log().size(), 4u);
}

TEST(Driver, UnexpectedMessageBoxFails) {
  EXPECT_NONFATAL_FAILURE(
      ([] {
        TDriver driver;
        EXPECT_EQ(MessageBox(nullptr, "Cannot open tarvolin.rxn", "Warning", MbIcon::Exclamation),
                  IDOK);
      })(),
      "Unexpected message box \"Cannot open tarvolin.rxn\"");
}

TEST(Driver, UnexpectedDialogFailsAndIsCancelled) {
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectMessage("Hello", "Information");
                            TKeyDialog dialog;
                            EXPECT_EQ(dialog.Execute(), 2);
                            MessageBox(nullptr, "Hello", "Information", MbIcon::Information);
                          })(),
                          "Unexpected dialog 607");
}

TEST(Driver, WrongMessageTextFails) {
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectMessage("Very good.", "Excellent");
                            MessageBox(nullptr, "Very good!", "Excellent", MbIcon::Exclamation);
                          })(),
                          "not the one expected");
}

TEST(Driver, AnswerTheBoxDoesNotOfferFails) {
  EXPECT_NONFATAL_FAILURE(
      ([] {
        TDriver driver;
        driver.ExpectMessage("Hello", "Information").Answer(IDYES);
        EXPECT_EQ(MessageBox(nullptr, "Hello", "Information", MbIcon::Information), IDOK);
      })(),
      "only offers OK");
}

TEST(Driver, LeftoverExpectationsFail) {
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectDialog<TKeyDialog>().Press(2);
                            driver.ExpectMessage("Never shown", "Warning");
                          })(),
                          "2 expected dialog(s) or message box(es) never came up");
}

TEST(Driver, ScriptEndingWithTheDialogOpenFailsAndClosesItWithTwo) {
  TKeyDialog dialog;
  EXPECT_NONFATAL_FAILURE(([&] {
                            TDriver driver;
                            driver.ExpectDialog<TKeyDialog>().Press("Ag");
                            EXPECT_EQ(dialog.Execute(), 2);
                          })(),
                          "ended with the dialog still open");
  EXPECT_TRUE(dialog.IsClosed());
}

TEST(Driver, StepsAfterTheDialogClosedFail) {
  TKeyDialog dialog;
  EXPECT_NONFATAL_FAILURE(([&] {
                            TDriver driver;
                            driver.ExpectDialog<TKeyDialog>().Press("Quit").Press("Ag");
                            EXPECT_EQ(dialog.Execute(), 2);
                          })(),
                          "steps remain: press \"Ag\"");
  EXPECT_TRUE(dialog.pressed.empty());
}

TEST(Driver, DialogOfAnotherClassOrTemplateFails) {
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectDialog<TKeyDialog>().Press(1);
                            TDialog other(nullptr, "605");
                            EXPECT_EQ(other.Execute(), 2);
                          })(),
                          "Expected a dialog of class");
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectDialog("CHANGECHARGE").Press(1);
                            TDialog other(nullptr, "605");
                            other.Execute();
                          })(),
                          "Expected dialog CHANGECHARGE");
}

TEST(Driver, PressingAMissingOrAmbiguousButtonFails) {
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectDialog("608").Press("+").Press(2);
                            TDialog dialog(nullptr, "608");
                            dialog.Execute();
                          })(),
                          "no button labelled \"+\"");
  EXPECT_NONFATAL_FAILURE(([] {
                            TDriver driver;
                            driver.ExpectDialog("605").Press(4711).Press(2);
                            TDialog dialog(nullptr, "605");
                            dialog.Execute();
                          })(),
                          "no button with id 4711");
}

TEST(Driver, MatchesTemplatesIgnoringCaseAndRestoresTheSeams) {
  TModalRunner outerRunner = [](TDialog&) { return 42; };
  TModalRunner saved = SetModalRunner(outerRunner);
  {
    TDriver driver;
    driver.ExpectDialog("changecharge").Press("Answer");
    TDialog dialog(nullptr, "CHANGECHARGE");
    EXPECT_EQ(dialog.Execute(), 2);
  }
  TDialog after(nullptr, "605");
  EXPECT_EQ(after.Execute(), 42);  // the runner from before the driver is back
  SetModalRunner(saved);
}

TEST(MessageBoxSeam, HandlerGetsTheRequestAndItsAnswerIsReturned) {
  std::vector<TMessageBoxRequest> seen;
  TMessageBoxHandler previous = SetMessageBoxHandler([&](const TMessageBoxRequest& r) {
    seen.push_back(r);
    return IDCANCEL;
  });
  EXPECT_EQ(MessageBox(nullptr, "Save changes?", "Confirmation", MbIcon::Question,
                       MbButtons::YesNoCancel),
            IDCANCEL);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Save changes?");
  EXPECT_EQ(seen[0].caption, "Confirmation");
  EXPECT_EQ(seen[0].icon, MbIcon::Question);
  EXPECT_EQ(seen[0].buttons, MbButtons::YesNoCancel);
  TMessageBoxHandler mine = SetMessageBoxHandler(previous);
  EXPECT_TRUE(static_cast<bool>(mine));
}

}  // namespace

// The teacher's new-question dialog: its five checks in order and the record it fills.
#include "keypad/new_question_dialog.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <cstring>

#include "keypad/answer_window.h"
#include "tests/support/driver.h"

namespace {

using Keys = std::vector<std::string_view>;

struct DialogRun {
  int code;
  QuestionRecord record;
};

// Opens the dialog on a record holding garbage from an earlier use, types text, presses keys,
// then OK; expected is the warning OK gives (empty for none), after which it cancels.
DialogRun RunDialog(const QString& text, const Keys& keys, const std::string& expected) {
  DialogRun run{0, {}};
  std::memset(run.record.bytes, 'z', QuestionRecord::kSize);
  TDriver driver;
  auto& script = driver.ExpectDialog<TNewQuestionDialog>().Do(
      [text](TNewQuestionDialog& d) { d.QuestionEdit()->setText(text); });
  for (std::string_view key : keys) script.Press(key);
  script.Press(1);
  if (!expected.empty()) {
    driver.ExpectMessage(expected, "Warning");
    script.Press(2);
  }
  TNewQuestionDialog dialog(nullptr, &run.record, "");
  run.code = dialog.Execute();
  driver.Verify();
  return run;
}

TEST(NewQuestionDialog, OkChecksInOrderAndStaysOpenAfterEachWarning) {
  const Keys full = {"Na", "Cl", "->", "Na", "1+", "+", "Cl", "1-"};
  const struct {
    QString text;
    Keys keys;
    std::string warning;
  } cases[] = {
      {"", full, "You must enter a reaction!!"},
      {"Salt.", {}, "You must enter at least one reactant!!"},
      {"Salt.", {"Na", "Cl"}, "You must enter at least one product!!"},
      {"Salt.", {"Na", "Cl", "+"}, "You must enter at least one product!!"},
      {"", {}, "You must enter a reaction!!"},
      {"   ", full, "You must enter a reaction!!"},
      {QString::fromUtf8("\xE2\x86\x92 arrow"), full,
       "The question cannot contain the character \"\xE2\x86\x92\". Please replace it with "
       "another character."},
      {"Salt.", full, ""},
  };
  for (const auto& c : cases) {
    const DialogRun run = RunDialog(c.text, c.keys, c.warning);
    EXPECT_EQ(run.code, c.warning.empty() ? 1 : 2) << c.warning;
  }
}

TEST(NewQuestionDialog, TheRecordHoldsEachFormulaInItsSlotAndNothingElse) {
  const DialogRun run = RunDialog(QString::fromUtf8("Sodium chloride caf\xC3\xA9."),
                                  {"Na", "Cl", "->", "Na", "1+", "+", "Cl", "1-"}, "");
  ASSERT_EQ(run.code, 1);
  QuestionRecord expected;
  expected.SetQuestion("Sodium chloride caf\xE9.");  // stored one byte a character
  expected.SetFormula(true, 0, "NaCl");
  expected.SetFormula(false, 0, "Na");
  expected.SetCharge(false, 0, "1+");
  expected.SetFormula(false, 1, "Cl");
  expected.SetCharge(false, 1, "1-");
  // The record's own offsets: question at 0, reactant formulas at 100, charges at 150,
  // product formulas at 200, their charges at 250.
  EXPECT_EQ(std::string(run.record.bytes + 100, 4), "NaCl");
  EXPECT_EQ(std::string(run.record.bytes + 210, 2), "Cl");
  EXPECT_EQ(std::string(run.record.bytes + 260, 2), "1-");
  EXPECT_EQ(std::string(run.record.bytes, QuestionRecord::kSize),
            std::string(expected.bytes, QuestionRecord::kSize));
}

TEST(NewQuestionDialog, ARefusedOkLeavesNoStaleSlotsForTheNextOne) {
  QuestionRecord record;
  TDriver driver;
  driver.ExpectDialog<TNewQuestionDialog>()
      .Press({"Na", "Cl", "+", "K", "Br", "->", "Na", "Br"})
      .Press(1)  // no question yet
      .Do([](TNewQuestionDialog& d) { d.QuestionEdit()->setText("Two salts."); })
      .Press({"Undo", "Undo", "Undo", "Undo", "Undo", "Undo"})  // back to "NaCl"
      .Press({"->", "Na"})
      .Press(1);
  driver.ExpectMessage("You must enter a reaction!!", "Warning");
  TNewQuestionDialog dialog(nullptr, &record, "");
  ASSERT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(record.Formula(true, 0), "NaCl");
  EXPECT_EQ(record.Formula(true, 1), "");
  EXPECT_EQ(record.Formula(false, 0), "Na");
}

TEST(NewQuestionDialog, OpensOnTheQuestionGivenWithTheLimitShownAndParenOnlyFirst) {
  const std::string longQuestion(120, 'q');
  QuestionRecord record;
  TDriver driver;
  driver.ExpectDialog<TNewQuestionDialog>()
      .Check([](TNewQuestionDialog& d) {
        EXPECT_EQ(d.QuestionEdit()->maxLength(), 99);
        EXPECT_EQ(d.QuestionEdit()->text().size(), 99);
        EXPECT_TRUE(d.QuestionEdit()->hasFocus() || !d.isActiveWindow());
        EXPECT_TRUE(d.IsButtonEnabled(194));  // "(" opens the first reactant
      })
      .Press({"Na", "+"})
      .PressExpectingDisabled("(")
      .Press({"Cl", "->"})
      .PressExpectingDisabled("(")
      .Press({"Na", "Cl"})
      .Press(1);
  TNewQuestionDialog dialog(nullptr, &record, longQuestion);
  ASSERT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(record.Question(), std::string(99, 'q'));
  driver.Verify();
}

TEST(NewQuestionDialog, CountsTheQuestionsCharactersSaysWhenAPasteWasCutAndFollowsALongAnswer) {
  QuestionRecord record;
  TDriver driver;
  auto& script = driver.ExpectDialog<TNewQuestionDialog>().Check([](TNewQuestionDialog& d) {
    EXPECT_EQ(d.LengthStatic()->text(), "6/99");
    d.QuestionEdit()->setText(QString(62, 'q'));
    EXPECT_EQ(d.LengthStatic()->text(), "62/99");
    // A paste longer than the room left is cut, and the teacher is told.
    QGuiApplication::clipboard()->setText(QString(50, 'p'));
    d.QuestionEdit()->setFocus();
    d.QuestionEdit()->end(false);
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(d.QuestionEdit(), &paste);
    EXPECT_EQ(d.QuestionEdit()->text().size(), 99);
    EXPECT_EQ(d.LengthStatic()->text(), "99/99");
    EXPECT_TRUE(d.HintLine()->text().contains("cut")) << d.HintLine()->text().toStdString();
  });
  // An answer wider than the strip: the strip follows its end as keys are pressed.
  for (const char* joint : {"+", "+", "+", "+", "->", "+", "+", "+", "+"})
    script.Press({"Cr", "2", "O", "7", "2-", joint});
  script.Press({"Cr", "2", "O", "7", "2-"});
  script.Check([](TNewQuestionDialog& d) {
    TAnswerWindow& strip = *d.AnswerWindow();
    ASSERT_GT(strip.DrawnSize().width(), strip.ClientRect().width());
    EXPECT_GT(strip.Scroller()->XPos(), 0);
    EXPECT_EQ(strip.Scroller()->XPos(), strip.Scroller()->XRange());
  });
  script.Press(2);
  TNewQuestionDialog dialog(nullptr, &record, "Given.");
  dialog.Execute();
  driver.Verify();
}

}  // namespace

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coach/change_charge_dialog.h"
#include "coach/check_answer.h"
#include "coach/rules/grader.h"
#include "coach/split_it_dialog.h"
#include "coach/split_window.h"
#include "keypad/answer_window.h"
#include "keypad/blank_window.h"
#include "keypad/edit_substance_dialog.h"
#include "keypad/equation_dialog.h"
#include "keypad/static_window.h"
#include "model/charge_text.h"
#include "split_click.h"
#include "tests/keypad/equation_render.h"
#include "tests/support/driver.h"
#include "tests/support/equation_text.h"
#include "ui/combo_box.h"

namespace {

const char* const kSuccess = "Very good, you have the correct net ionic equation.";

// Records each time a window is shown ("S") or hidden ("H") by the program.
class TVisibilityLog : public QObject {
 public:
  std::string log;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!event->spontaneous() && event->type() == QEvent::Show) log += 'S';
    if (!event->spontaneous() && event->type() == QEvent::Hide) log += 'H';
    return QObject::eventFilter(watched, event);
  }
};

// One question of a quiz: the answer dialog with the real Check.
struct Question {
  explicit Question(std::unique_ptr<TReaction> stored) : reaction(std::move(stored)) {
    dialog.installEventFilter(&visibility);
  }

  std::unique_ptr<TReaction> reaction;
  TEquationDialog dialog{nullptr, *reaction, CheckAnswer};
  TVisibilityLog visibility;

  // The first row of the student's side of the result display, from the outcome.
  std::string FirstRow(bool reactant) const {
    ComparisonTable table;
    if (const TEquation* final = dialog.Outcome().finalEquation.get())
      RefillStudentTable(*final, table);
    return std::string(table.Field(ComparisonTable::FormulaArray(reactant), 0)) + "/" +
           std::string(table.Field(ComparisonTable::ChargeArray(reactant), 0));
  }
};

// What a test does in the coaching dialogs and message boxes after Check.
using Coaching = std::function<void(TDriver&, Question&)>;

// Picks a charge in the oxidation-number dialog; after a wrong pick the dialog stays open for
// the steps the caller adds to the script returned.
TDialogScript<TDialog>& ChooseCharge(
    TDriver& driver, const std::string& charge, bool right,
    std::function<void(TDialog&)> check = [](TDialog&) {}) {
  auto& script = driver.ExpectDialog("changecharge");
  script.Check(std::move(check))
      .Do([charge](TDialog& d) { d.ComboBox(102)->SetText(charge); })
      .Press("OK");
  if (right)
    driver.ExpectMessage("Very good. " + charge + " is the correct oxidation number.", "Excellent");
  else
    driver.ExpectMessage("Sorry. " + charge + " is not the correct oxidation number. Try again.",
                         "Oops");
  return script;
}

void DissociateAfter(TDriver& driver, int symbol, const char* charge1, const char* charge2) {
  driver.ExpectDialog<TSplitItDialog>()
      .Do([symbol](TSplitItDialog& d) {
        ClickAt(*d.SplitWindow(), BoundaryAfter(*d.SplitWindow(), symbol));
      })
      .Press("Dissociate")
      .Do([=](TSplitItDialog& d) {
        d.ComboBox(102)->SetText(charge1);
        d.ComboBox(103)->SetText(charge2);
      })
      .Press("OK");
}

struct Flow {
  const char* name;
  const char* stored;  // the stored answer, as a keyed equation
  std::vector<std::string_view> keys;
  Coaching coaching;
  int result;
  int points;
  const char* answer;  // the student's equation at the end
  const char* firstReactantRow;
};

void PrintTo(const Flow& flow, std::ostream* os) {
  *os << flow.name;
}

class CheckAnswerFlows : public testing::TestWithParam<Flow> {};

TEST_P(CheckAnswerFlows, EndWithTheScoreAndTheEquationAsCoachingLeftThem) {
  const Flow& flow = GetParam();
  Question q(StoredReaction(flow.stored));
  TDriver driver;
  auto& answer = driver.ExpectDialog<TEquationDialog>();
  for (std::string_view key : flow.keys) answer.Press(key);
  answer.Press("Check");
  flow.coaching(driver, q);
  if (flow.result == 1) driver.ExpectMessage(kSuccess, "Congratulations").WithIcon(MbIcon::Success);
  EXPECT_EQ(q.dialog.Execute(), flow.result);
  // Each substance dialog hides the answer dialog, which is shown again whatever the student
  // did there; it is hidden for good only when it closes.
  std::string shown = "S";
  for (const std::string& opened : driver.Log())
    if (opened.starts_with("dialog 608") || opened.starts_with("dialog 609")) shown += "HS";
  EXPECT_EQ(q.visibility.log, shown + "H");
  EXPECT_EQ(q.dialog.Outcome().points, flow.points);
  EXPECT_EQ(EquationText(*q.dialog.AnswerWindow()->Equation()), flow.answer);
  // After a wrong answer the table holds the equation as it ended, charges as keyed.
  if (flow.result == 7) {
    EXPECT_EQ(q.FirstRow(true), flow.firstReactantRow);
  }
}

const char* const kAgCl = "Ag^1+ + Cl^1- -> AgCl";
const char* const kFeOH3 = "Fe^3+ + OH^1- -> Fe(OH)3";

// clang-format off
const Flow kFlows[] = {
    {"RightInAnotherOrder", kAgCl, {"Cl", "1-", "+", "Ag", "1+", "->", "Ag", "Cl"},
     [](TDriver&, Question&) {}, 1, 3, "Cl^1- + Ag^1+ -> AgCl", ""},
    {"SulfateIsKeyedAsItShows", "Ba^2+ + SO4^2- -> BaSO4", {"S", "O", "4", "2-", "->", "Ba", "S", "O", "4"},
     [](TDriver& d, Question&) { d.ExpectDialog("609").Press("Answer"); },
     7, 2, "SO4^2- -> BaSO4", "SO4/2-"},
    {"SpectatorIonDeletedWhileTheAnswerDialogIsHidden", kAgCl,
     {"Ag", "1+", "+", "Na", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question& q) {
       d.ExpectDialog("608").Check([&q](TDialog&) { EXPECT_FALSE(q.dialog.isVisible()); }).Press("Delete");
     }, 1, 3, kAgCl, ""},
    {"MissingProductAddedAfterTheArrow", kAgCl, {"Ag", "1+", "+", "Cl", "1-"},
     [](TDriver& d, Question&) { d.ExpectDialog("609").Press({"Ag", "Cl", "OK"}); },
     1, 3, kAgCl, ""},
    {"MissingReactantThenNeutralProduct", kAgCl, {"Ag", "1+", "->", "Ag", "Cl", "1-"},
     [](TDriver& d, Question& q) {
       d.ExpectDialog("609").Press({"Cl", "1-", "OK"});
       ChooseCharge(d, "0", true, [&q](TDialog&) { EXPECT_TRUE(q.dialog.isVisible()); });
     }, 1, 3, kAgCl, ""},
    {"WrongChargeOnIron", kFeOH3, {"Fe", "2+", "+", "O", "H", "1-", "->", "Fe", "(", "O", "H", ")", "3"},
     [](TDriver& d, Question&) { ChooseCharge(d, "3+", true); }, 1, 3, kFeOH3, ""},
    {"SilverNitrateDissociated", kAgCl, {"Ag", "N", "O", "3", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) {
       DissociateAfter(d, 1, "1+", "1-");
       d.ExpectDialog("608").Press("Delete");  // the nitrate is a spectator
     }, 1, 3, kAgCl, ""},
    // The keyboard alone: the line placed with the arrows and cut with Enter, the charges
    // picked with Up and Down and OK with Enter; the spectator deleted with the Delete key.
    {"SilverNitrateDissociatedFromTheKeyboard", kAgCl, {"Ag", "N", "O", "3", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) {
       d.ExpectDialog<TSplitItDialog>().Do([](TSplitItDialog& s) {
         PressKeys(s, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return, Qt::Key_Up, Qt::Key_Tab,
                       Qt::Key_Down, Qt::Key_Return});
       });
       d.ExpectDialog("608").Do([](TDialog& e) { PressKeys(e, {Qt::Key_Delete}); });
     }, 1, 3, kAgCl, ""},
    {"WrongChargeOnIronFromTheKeyboard", kFeOH3, {"Fe", "2+", "+", "O", "H", "1-", "->", "Fe", "(", "O", "H", ")", "3"},
     [](TDriver& d, Question&) {
       d.ExpectDialog("changecharge").Do([](TDialog& c) { PressKeys(c, {Qt::Key_Up, Qt::Key_Return}); });
       d.ExpectMessage("Very good. 3+ is the correct oxidation number.", "Excellent");
     }, 1, 3, kFeOH3, ""},
    {"MissingProductTypedAndEntered", kAgCl, {"Ag", "1+", "+", "Cl", "1-"},
     [](TDriver& d, Question&) {
       d.ExpectDialog("609").Do([](TDialog& a) {
         for (char c : std::string_view("AgCl")) PressKey(a, QChar(c).toUpper().unicode(), QChar(c));
         PressKeys(a, {Qt::Key_Return});
       });
     }, 1, 3, kAgCl, ""},
    // "&Answer" ends coaching with the score of the last grading before it.
    {"AnswerAfterAWrongCharge", kFeOH3, {"Fe", "2+", "+", "O", "H", "1-", "->", "Fe", "(", "O", "H", ")", "3"},
     [](TDriver& d, Question&) {
       ChooseCharge(d, "2-", false).Press("Answer");
     }, 7, 2, "Fe^2- + OH^1- -> Fe(OH)3", "Fe/2-"},
    {"AnswerInDissociation", kAgCl, {"Ag", "N", "O", "3", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) { d.ExpectDialog("SPLITITDIALOG").Press("Answer"); },
     7, 2, "AgNO3 + Cl^1- -> AgCl", "AgNO3/"},
    {"AnswerForAWrongSubstance", kAgCl, {"Na", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) { d.ExpectDialog("608").Press("Answer"); },
     7, 2, "Na^1+ + Cl^1- -> AgCl", "Na/1+"},
    {"AnswerForAMissingProductAfterAFix", kFeOH3, {"Fe", "2+", "+", "O", "H", "1-"},
     [](TDriver& d, Question&) {
       ChooseCharge(d, "3+", true);
       d.ExpectDialog("609").Press("Answer");
     }, 7, 1, "Fe^3+ + OH^1-", "Fe/3+"},
    // Within a pass every charge is put right before anything is dissociated.
    {"ChargesBeforeDissociation", kAgCl, {"Ag", "N", "O", "3", "+", "Cl", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) {
       ChooseCharge(d, "1-", true);
       DissociateAfter(d, 1, "1+", "1-");
       d.ExpectDialog("608").Press("Delete");
     }, 1, 3, kAgCl, ""},
    {"SeveralChargesInOnePass", kFeOH3, {"Fe", "2+", "+", "O", "H", "->", "Fe", "(", "O", "H", ")", "3"},
     [](TDriver& d, Question&) {
       ChooseCharge(d, "3+", true);
       ChooseCharge(d, "1-", true);
     }, 1, 3, kFeOH3, ""},
    // A skipped compound is not offered again: the search goes on to the next problem.
    {"SkipLetsTheSearchGoOn", kAgCl, {"Ag", "N", "O", "3", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) {
       d.ExpectDialog("SPLITITDIALOG").Press("Skip");
       d.ExpectDialog("608").Press("Answer");
     }, 7, 2, "AgNO3 + Cl^1- -> AgCl", "AgNO3/"},
    // The copy that matched stays; the one left over is the one named.
    {"TheUnmatchedCopyIsTheWrongSubstance", kAgCl,
     {"Ag", "1+", "+", "Ag", "+", "Cl", "1-", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) {
       d.ExpectDialog<TEditSubstanceDialog>()
           .Check([](TEditSubstanceDialog& e) {
             EXPECT_EQ(e.MessageWindow()->Lines()[0].Text(),
                       "Ag is not a reactant. It should be reentered below or deleted.");
           })
           .Press("Delete");
     }, 1, 3, kAgCl, ""},
    {"TheUnmatchedCopyGetsTheCharge", "Fe^3+ + Fe -> Fe^2+",
     {"Fe", "3+", "+", "Fe", "2+", "->", "Fe", "2+"},
     [](TDriver& d, Question&) {
       ChooseCharge(d, "0", true, [](TDialog& c) {
         EXPECT_EQ(static_cast<TChangeChargeDialog&>(c).MessagePanel()->Line(0).Text(),
                   "The oxidation number of Fe is not 2+");
       });
     }, 1, 3, "Fe^3+ + Fe -> Fe^2+", ""},
    // Two wrong copies of one formula: each is corrected once, the second dialog on the copy
    // the first did not touch, and neither is then taken for a substance that does not belong.
    {"TwoWrongCopiesEachCorrectedOnce", "Fe^3+ + Fe -> Fe^2+",
     {"Fe", "2+", "+", "Fe", "2+", "->", "Fe", "2+"},
     [](TDriver& d, Question& q) {
       ChooseCharge(d, "3+", true, [&q](TDialog& c) {
         EXPECT_EQ(static_cast<TChangeChargeDialog&>(c).MessagePanel()->Line(0).Text(),
                   "The oxidation number of Fe is not 2+");
         EXPECT_EQ(EquationText(*q.dialog.AnswerWindow()->Equation()), "Fe^2+ + Fe^2+ -> Fe^2+");
       });
       ChooseCharge(d, "0", true, [&q](TDialog& c) {
         EXPECT_EQ(static_cast<TChangeChargeDialog&>(c).MessagePanel()->Line(0).Text(),
                   "The oxidation number of Fe is not 2+");
         EXPECT_EQ(EquationText(*q.dialog.AnswerWindow()->Equation()), "Fe^3+ + Fe^2+ -> Fe^2+");
       });
     }, 1, 3, "Fe^3+ + Fe -> Fe^2+", ""},
    // A wrong product deleted, then the missing one added: two restarts of the product pass.
    {"RestartsInTheProductPass", kAgCl, {"Ag", "1+", "+", "Cl", "1-", "->", "Na", "N", "O", "3"},
     [](TDriver& d, Question&) {
       d.ExpectDialog("608").Press("Delete");
       d.ExpectDialog("609").Press({"Ag", "Cl", "OK"});
     }, 1, 3, kAgCl, ""},
    // No dialog can earn the point for a right product when none is stored: no hang.
    {"StoredAnswerWithoutProducts", "Ag^1+ ->", {"Ag", "1+", "->", "Ag", "Cl"},
     [](TDriver& d, Question&) { d.ExpectDialog("608").Press("Delete"); },
     7, 2, "Ag^1+ ->", "Ag/1+"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, CheckAnswerFlows, testing::ValuesIn(kFlows),
                         [](const auto& info) { return std::string(info.param.name); });

// One Check's coaching dialogs open at one place each kind, wherever the answer dialog stands:
// the oxidation-number and dissociation dialogs beside it (or, without room, below its
// question), the substance dialogs in its place; all fully on the screen.
TEST(CoachingPlace, OneCoachingKeepsItsDialogsAtOnePlace) {
  for (const QPoint answerAt : {QPoint(0, 0), QPoint(40, 30), QPoint(300, 80), QPoint(900, 500)}) {
    SCOPED_TRACE(std::to_string(answerAt.x()) + "," + std::to_string(answerAt.y()));
    Question q(StoredReaction(kAgCl));
    q.dialog.move(answerAt);
    std::vector<QRect> beside;
    QRect answer, question, substance;
    auto note = [&](TDialog& d) { beside.push_back(d.frameGeometry()); };
    TDriver driver;
    driver.ExpectDialog<TEquationDialog>()
        .Press({"Ag", "N", "O", "3", "+", "Cl", "->", "Ag", "Cl"})
        .Check([&](TEquationDialog& d) {
          answer = d.frameGeometry();
          int keysTop = d.height();
          for (QPushButton* key : d.findChildren<QPushButton*>())
            keysTop = std::min(keysTop, key->y());
          question = QRect(answer.topLeft(), QSize(answer.width(), d.y() - answer.y() + keysTop));
        })
        .Press("Check");
    ChooseCharge(driver, "1-", true, note);
    driver.ExpectDialog<TSplitItDialog>()
        .Check(note)
        .Do([](TSplitItDialog& d) {
          ClickAt(*d.SplitWindow(), BoundaryAfter(*d.SplitWindow(), 1));
        })
        .Press("Dissociate")
        .Do([](TSplitItDialog& d) {
          d.ComboBox(102)->SetText("1+");
          d.ComboBox(103)->SetText("1-");
        })
        .Press("OK");
    driver.ExpectDialog("608")
        .Check([&](TDialog& d) { substance = d.frameGeometry(); })
        .Press("Delete");
    driver.ExpectMessage(kSuccess, "Congratulations");
    EXPECT_EQ(q.dialog.Execute(), 1);
    driver.Verify();

    const QRect screen = q.dialog.screen()->availableGeometry();
    ASSERT_EQ(beside.size(), 2u);
    EXPECT_EQ(beside[0].topLeft(), beside[1].topLeft());
    for (const QRect& dialog : beside) {
      EXPECT_TRUE(screen.contains(dialog));
      EXPECT_FALSE(dialog.intersects(question));
    }
    EXPECT_EQ(substance.topLeft(), answer.topLeft());
  }
}

// The real modal loops, no driver: a missing reactant is added in dialog 609, which hides the
// answer dialog while it runs. Each dialog is worked from a timer while it waits.
TEST(RealModalLoops, TheAnswerDialogHidesForTheSubstanceDialogAndComesBack) {
  Question q(StoredReaction(kAgCl));
  std::vector<std::string> seen;  // each dialog met, with whether the answer dialog showed
  auto click = [](TDialog& d, std::initializer_list<int> ids) {
    for (int id : ids) d.Button(id)->click();
  };
  QObject timers;  // pending polls die with it
  bool checked = false;
  std::function<void()> poll = [&] {
    QWidget* modal = QApplication::activeModalWidget();
    const std::string answer = q.dialog.isVisible() ? "shown" : "hidden";
    if (seen.size() > 5) {  // something unexpected keeps coming: end it
      if (modal) modal->close();
      return;
    }
    QTimer::singleShot(10, &timers, poll);  // runs on inside the loops the clicks below open
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.push_back(box->text().toStdString() + ", answer " + answer);
      box->button(QMessageBox::Ok)->click();
    } else if (auto* dialog = qobject_cast<TDialog*>(modal)) {
      if (dialog == &q.dialog && checked) return;
      seen.push_back(dialog->TemplateName() + ", answer " + answer);
      if (dialog == &q.dialog) {
        checked = true;
        click(*dialog, {146, 182, 193, 146, 172, 1});  // Ag 1+ -> Ag Cl, Check
      } else {
        click(*dialog, {172, 187, 1});  // Cl 1-, OK
      }
    }
  };
  QTimer::singleShot(10, &timers, poll);
  EXPECT_EQ(q.dialog.Execute(), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"607, answer shown", "609, answer hidden",
                                            std::string(kSuccess) + ", answer shown"}));
  EXPECT_EQ(EquationText(*q.dialog.AnswerWindow()->Equation()), kAgCl);
}

}  // namespace

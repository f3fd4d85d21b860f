#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "equation_render.h"
#include "keypad/add_substance_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/blank_window.h"
#include "keypad/edit_window.h"
#include "keypad/equation_dialog.h"
#include "tests/support/driver.h"
#include "tests/support/equation_text.h"
#include "ui/dc.h"

namespace {

std::unique_ptr<TReaction> SilverChloride() {
  auto reaction = ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
  SetFieldText(reaction->question, TReaction::kQuestionSize, "Silver nitrate and salt are mixed.");
  return reaction;
}

// An answer dialog whose Check records the equation built and closes with 7.
struct AnswerDialogRun {
  std::unique_ptr<TReaction> reaction = SilverChloride();
  std::string checked;  // empty while Check has not run
  TEquationDialog dialog{nullptr, *reaction, [this](TEquationDialog& d) {
                           checked = EquationText(*d.AnswerWindow()->Equation());
                           return std::optional<TCheckResult>(TCheckResult{});
                         }};
};

void ExpectButtonsFollowTheKeypad(TEquationDialog& d) {
  for (int id = TKeypad::kFirstElement; id <= TKeypad::kLastSubscript; ++id)
    EXPECT_EQ(d.IsButtonEnabled(id), d.Keypad().IsEnabled(id)) << id;
  for (int id : {1, 2, 205, 206}) EXPECT_TRUE(d.IsButtonEnabled(id)) << id;
}

TEST(EquationDialog, KeysBuildTheEquationThatCheckSees) {
  AnswerDialogRun run;
  TDriver driver;
  driver.ExpectDialog<TEquationDialog>()
      .Check(ExpectButtonsFollowTheKeypad)
      .Press({"Na", "1+", "Restart", "Undo"})  // a restart cannot be undone
      .Press({"Ba", "2+", "+", "S", "O", "4", "2-", "->", "Ba", "S", "O", "4", "2", "Undo"})
      .Check([](TEquationDialog& d) {
        EXPECT_EQ(d.Keypad().Equation(), d.AnswerWindow()->Equation());
        ExpectButtonsFollowTheKeypad(d);
      })
      .Press(1);
  EXPECT_EQ(run.dialog.Execute(), 7);
  EXPECT_EQ(run.checked, "Ba^2+ + SO4^2- -> BaSO4");
}

// Five long formulas a side: after every key the caret is in sight, and the scroll range
// reaches the end of the equation without ever scrolling past it into blank strip.
TEST(EquationDialog, ALongEquationScrollsToKeepTheCaretInSight) {
  std::vector<std::string_view> keys;
  for (int i = 0; i < 5; ++i) {
    if (i) keys.push_back("+");
    for (std::string_view key : {"Cr", "2", "O", "7", "2-"}) keys.push_back(key);
  }
  keys.push_back("->");
  for (int i = 0; i < 5; ++i) {
    if (i) keys.push_back("+");
    for (std::string_view key : {"Mn", "Br", "O", "4", "1-"}) keys.push_back(key);
  }
  keys.push_back("Undo");
  keys.push_back("Restart");
  AnswerDialogRun run;
  TDriver driver;
  auto& script = driver.ExpectDialog<TEquationDialog>();
  int widest = 0;
  for (std::string_view key : keys) {
    script.Press(key).Check([&widest, key](TEquationDialog& d) {
      TAnswerWindow& strip = *d.AnswerWindow();
      strip.grab();  // paints, which puts the caret where drawing ended
      const int page = strip.ClientRect().width();
      const int caret = strip.CaretPos().x();
      EXPECT_GE(caret, 0) << key;
      EXPECT_LE(caret + strip.CaretSize().width(), page) << key;
      const int end = caret + strip.Scroller()->Offset().x();  // where the equation ends
      const int furthest = strip.Scroller()->XRange() * strip.Scroller()->XUnit();
      EXPECT_GE(furthest + page, end + strip.CaretSize().width()) << key;
      EXPECT_LT(furthest, std::max(1, end)) << key;
      // A scroll bar only while there is something to scroll.
      if (QScrollBar* bar = strip.HorizontalScrollBar()) {
        EXPECT_EQ(bar->maximum(), strip.Scroller()->XRange()) << key;
      }
      EXPECT_EQ(strip.HorizontalScrollBar() != nullptr, strip.Scroller()->XRange() > 0) << key;
      EXPECT_EQ(strip.VerticalScrollBar(), nullptr) << key;
      widest = std::max(widest, end);
    });
  }
  script.Check([](TEquationDialog& d) { EXPECT_EQ(d.AnswerWindow()->Scroller()->XPos(), 0); })
      .Press(1);
  EXPECT_EQ(run.dialog.Execute(), 7);
  EXPECT_GT(widest, run.dialog.AnswerWindow()->ClientRect().width());  // it did scroll
}

TEST(EquationDialog, DisabledKeysDoNothing) {
  AnswerDialogRun run;
  TDriver driver;
  driver.ExpectDialog<TEquationDialog>()
      .Press({"2", "1+", "+", "->", ")", "Fe", "3+", "Cl", "4", "("})
      .Check([](TEquationDialog& d) {
        d.Dispatch(TKeypad::kFirstSubscript);  // a command for a greyed key is refused too
        EXPECT_EQ(EquationText(*d.AnswerWindow()->Equation()), "Fe^3+");
      })
      .Press(1);
  EXPECT_EQ(run.dialog.Execute(), 7);
  EXPECT_EQ(driver.IgnoredPresses().size(), 8u);
}

TEST(EquationDialog, QuitWritesNothing) {
  AnswerDialogRun run;
  TDriver driver;
  driver.ExpectDialog<TEquationDialog>().Press({"Ag", "1+", "+", "Cl"}).Press("Quit");
  EXPECT_EQ(run.dialog.Execute(), 2);
  // No score and no checked answer go back, only the equation as it stood.
  const TQuestionOutcome& outcome = run.dialog.Outcome();
  EXPECT_EQ(outcome.ending, TEnding::Quit);
  EXPECT_EQ(outcome.points, 0);
  EXPECT_EQ(outcome.firstScore, 0);
  EXPECT_EQ(outcome.firstEquation, nullptr);
  ASSERT_NE(outcome.finalEquation, nullptr);
  EXPECT_EQ(EquationText(*outcome.finalEquation), "Ag^1+ + Cl");
  EXPECT_TRUE(run.checked.empty());
}

void ExpectNoKeyCovered(const TDialog& dialog, const QWidget& strip) {
  for (int id = TKeypad::kFirstElement; id <= TKeypad::kLastSubscript; ++id) {
    if (const QPushButton* key = dialog.Button(id)) {
      EXPECT_FALSE(key->geometry().intersects(strip.geometry())) << "key " << id;
    }
  }
}

// The strips stand at fixed distances from the template's bottom (moved down together only if
// they would cover keys), the question at the top; where the hint line under them needs more
// room than the template leaves, the dialog grows below them.
TEST(KeypadDialogs, QuestionAndStripsArePlacedBelowTheKeys) {
  AnswerDialogRun run;
  run.dialog.Create();
  const int w = run.dialog.width();
  const int bottom = run.dialog.MapDialogRect(QRect(0, 0, 330, 252)).height();
  EXPECT_EQ(run.dialog.AnswerWindow()->geometry(), QRect(10, bottom - 150, w - 20, 100));
  EXPECT_GE(run.dialog.height(), bottom);
  ExpectNoKeyCovered(run.dialog, *run.dialog.AnswerWindow());
  const auto* question = run.dialog.findChild<QLabel*>();
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(question->geometry(), QRect(10, 10, 450, 35));
  EXPECT_EQ(question->text().toStdString(), run.reaction->Question());

  auto equation = EquationFromText("Na^1+ -> NaCl");
  TAddSubstanceDialog add(nullptr, *run.reaction, equation.get(), false);
  add.Create();
  const QRect strip = add.AnswerWindow()->geometry();
  EXPECT_EQ(strip, QRect(10, strip.y(), w - 20, 40));
  EXPECT_GE(strip.y(), add.height() - 175);
  ExpectNoKeyCovered(add, *add.AnswerWindow());
  EXPECT_EQ(add.MessageWindow()->geometry(), strip.translated(0, 45));
  EXPECT_EQ(add.EditWindow()->geometry(), QRect(w / 2 - 50, strip.y() + 90, 100, 20));
  EXPECT_LT(add.EditWindow()->geometry().bottom(), add.Button(1)->geometry().top());
}

// The substance dialogs, each on the student's equation given.
enum class Kind { Edit, Add };

struct SubstanceCase {
  const char* name;
  Kind kind;
  const char* equation;
  bool reactant;
  int wrongIndex;                    // Edit only: the wrong substance's place on its side
  std::vector<std::string> presses;  // the last one closes the dialog
  int result;
  const char* after;
  const char* message;  // the first line of the message strip
};

void PrintTo(const SubstanceCase& c, std::ostream* os) {
  *os << c.name;
}

class SubstanceDialogs : public testing::TestWithParam<SubstanceCase> {};

TEST_P(SubstanceDialogs, ChangeTheStudentsEquationAsTheButtonSays) {
  const SubstanceCase& c = GetParam();
  auto reaction = SilverChloride();
  auto equation = EquationFromText(c.equation);
  const std::string before = EquationText(*equation);
  std::unique_ptr<TEditSubstanceDialog> dialog;
  if (c.kind == Kind::Edit)
    dialog = std::make_unique<TEditSubstanceDialog>(nullptr, *reaction,
                                                    equation->Side(c.reactant)[c.wrongIndex].get(),
                                                    equation.get(), c.reactant);
  else
    dialog = std::make_unique<TAddSubstanceDialog>(nullptr, *reaction, equation.get(), c.reactant);
  TDriver driver;
  auto& script = driver.ExpectDialog<TEditSubstanceDialog>();
  for (std::size_t i = 0; i + 1 < c.presses.size(); ++i) script.Press(c.presses[i]);
  script.Check([&](TEditSubstanceDialog& d) {
    // The strip above keeps the equation as it was, whatever was keyed.
    EXPECT_EQ(EquationText(*d.AnswerWindow()->Equation()), before);
    const auto& lines = d.MessageWindow()->Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text(), c.message);
    EXPECT_EQ(lines[1].Text(), c.kind == Kind::Edit ? "Use the buttons above to create a "
                                                      "replacement or click the delete key."
                                                    : "Use the buttons above to create a new "
                                                      "substance.");
    EXPECT_EQ(d.EditWindow()->Formula(), d.EditedFormula());
  });
  script.Press(c.presses.back());
  EXPECT_EQ(dialog->Execute(), c.result);
  EXPECT_EQ(EquationText(*equation), c.after);
  EXPECT_TRUE(driver.IgnoredPresses().empty());
}

const char* const kNaNotReactant =
    "Na1+ is not a reactant. It should be reentered below or deleted.";
const char* const kReactantMissing = "There is a reactant missing in this reaction.";

// clang-format off
const SubstanceCase kSubstanceCases[] = {
    {"EditOkRightAwayLeavesAnEmptyFormula", Kind::Edit, "Na^1+ + Cl^1- -> NaCl", true, 0,
     {"OK"}, 1, "_ + Cl^1- -> NaCl", kNaNotReactant},
    {"EditReplacesAProduct", Kind::Edit, "Na^1+ + Cl^1- -> NaCl", false, 0,
     {"Ag", "Cl", "OK"}, 1, "Na^1+ + Cl^1- -> AgCl",
     "NaCl is not a product. It should be reentered below or deleted."},
    {"EditUndoAndRestartActOnTheEditedFormula", Kind::Edit, "Na^1+ + Cl^1- -> NaCl", true, 0,
     {"K", "1+", "Undo", "Undo", "Ag", "Restart", "Undo", "Ag", "1+", "OK"}, 1,
     "Ag^1+ + Cl^1- -> NaCl", kNaNotReactant},
    {"EditAnswerLeavesTheEquation", Kind::Edit, "Cl^1- + Na^1+ -> NaCl", true, 1,
     {"Ag", "1+", "Answer"}, 2, "Cl^1- + Na^1+ -> NaCl", kNaNotReactant},
    {"EditDeletesTheOnlyReactant", Kind::Edit, "Na^1+ -> AgCl", true, 0,
     {"Ag", "Delete"}, 1, " -> AgCl", kNaNotReactant},
    {"AddFirstProductSetsTheArrow", Kind::Add, "Ag^1+ + Cl^1-", false, 0,
     {"Ag", "Cl", "OK"}, 1, "Ag^1+ + Cl^1- -> AgCl", "There is a product missing in this reaction."},
    {"AddFillsAnEmptyLastFormula", Kind::Add, "Ag^1+ + _", true, 0,
     {"Cl", "1-", "OK"}, 1, "Ag^1+ + Cl^1-", kReactantMissing},
    {"AddAppendsOtherwise", Kind::Add, "Ag^1+ -> AgCl", true, 0,
     {"Cl", "1-", "Undo", "Undo", "Br", "Restart", "Cl", "1-", "OK"}, 1, "Ag^1+ + Cl^1- -> AgCl",
     kReactantMissing},
    // A sixth formula could never be graded: an empty one is filled instead.
    {"AddNeverMakesASixthFormula", Kind::Add, "Ag^1+ + _ + K^1+ + Na^1+ + Li^1+", true, 0,
     {"Cl", "1-", "OK"}, 1, "Ag^1+ + Cl^1- + K^1+ + Na^1+ + Li^1+", kReactantMissing},
    {"AddAnswerAddsNothing", Kind::Add, "Ag^1+ + Cl^1-", true, 0,
     {"Ag", "Cl", "Answer"}, 2, "Ag^1+ + Cl^1-", kReactantMissing},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, SubstanceDialogs, testing::ValuesIn(kSubstanceCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// The caret stands where drawing ended: after the letters at their width and the subscripts and
// charges at the narrower width they are drawn with.
TEST(Strips, TheCaretFollowsTheScriptsAtTheirDrawnWidth) {
  const std::pair<const char*, std::vector<std::pair<const char*, int32_t>>> cases[] = {
      {"sulfate",
       {{"S", Baseline},
        {"O", Baseline},
        {"4", Subscript},
        {"2", Superscript},
        {"-", Superscript}}},
      {"iron(III) sulfate",
       {{"F", Baseline},
        {"e", Baseline},
        {"2", Subscript},
        {"(", Baseline},
        {"S", Baseline},
        {"O", Baseline},
        {"4", Subscript},
        {")", Baseline},
        {"3", Subscript}}},
  };
  for (const auto& [name, symbols] : cases) {
    auto equation = std::make_unique<TEquation>();
    equation->reactants.push_back(std::make_unique<TFormula>());
    for (const auto& [text, placement] : symbols)
      equation->reactants.back()->Append(text, placement);
    TFormula formula;
    formula.CopyFrom(*equation->reactants.back());

    TAnswerWindow answer(nullptr, true);
    answer.resize(400, 60);
    answer.SetEquation(std::move(equation));
    TEditWindow edit(nullptr, &formula);
    edit.resize(200, 24);
    for (TStripWindow* strip : std::initializer_list<TStripWindow*>{&answer, &edit}) {
      strip->show();
      strip->grab();
      const TDC dc(strip->TextFont());
      int expected = strip->TextOrigin().x();
      for (const auto& [text, placement] : symbols)
        expected += placement == Baseline ? dc.TextWidth(text) : dc.ScriptWidth(text);
      EXPECT_EQ(strip->CaretPos().x(), expected) << name;
      EXPECT_EQ(strip->CaretPos().y(), strip->TextOrigin().y() + dc.TextHeight()) << name;
    }
  }
}

}  // namespace

namespace {

// With a dark palette the strips draw light text on the palette's base, nothing white, and the
// text keeps its padding from the border.
TEST(Strips, FollowADarkPaletteAndKeepTheirPadding) {
  QPalette dark;
  dark.setColor(QPalette::Base, QColor(20, 20, 24));
  dark.setColor(QPalette::Text, QColor(235, 235, 235));
  dark.setColor(QPalette::Window, QColor(40, 40, 44));
  dark.setColor(QPalette::Mid, QColor(90, 90, 90));
  TFormula sulfate;
  sulfate.Append("SO", Baseline);
  sulfate.Append("4", Subscript);
  sulfate.Append("2-", Superscript);
  auto equation = std::make_unique<TEquation>();
  equation->reactants.push_back(std::make_unique<TFormula>());
  equation->reactants.back()->CopyFrom(sulfate);

  TAnswerWindow answer(nullptr, true);
  answer.SetEquation(std::move(equation));
  TEditWindow edit(nullptr, &sulfate);
  TBlankWindow blank(nullptr, &sulfate, "word");
  const std::pair<const char*, TStripWindow*> strips[] = {
      {"answer", &answer}, {"edit", &edit}, {"panel", &blank}};
  for (const auto& [name, strip] : strips) {
    strip->setPalette(dark);
    strip->resize(160, 40);
    strip->show();
    const QImage image = strip->grab().toImage();
    int whiteish = 0, leftmostText = image.width();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.lightness() > 245) ++whiteish;
        if (c.lightness() > 150) leftmostText = std::min(leftmostText, x);
      }
    EXPECT_EQ(whiteish, 0) << name;
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), dark.color(QPalette::Base))
        << name;
    EXPECT_LT(leftmostText, image.width()) << name << " shows no text";
    EXPECT_GE(leftmostText, 1 + TStripWindow::kPadding) << name;
  }
}

}  // namespace

// Typing into the real keypad dialogs: key events as the window system sends them, compared
// with the same answer clicked on the keypad, key states and every undo step included.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "equation_render.h"
#include "keypad/add_substance_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/edit_window.h"
#include "keypad/equation_dialog.h"
#include "keypad/new_question_dialog.h"
#include "model/charge_text.h"
#include "tests/support/driver.h"
#include "tests/support/equation_text.h"
#include "ui/dc.h"

namespace {

// '\b' stands for Backspace.
void SendKeys(QWidget* target, std::u32string_view text) {
  ASSERT_NE(target, nullptr);
  for (char32_t c : text) {
    if (c == U'\b') {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
      QApplication::sendEvent(target, &press);
      continue;
    }
    const QString character = QString::fromUcs4(&c, 1);
    const int key =
        c < 0x80 ? character.toUpper().front().unicode() : static_cast<int>(Qt::Key_unknown);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, character);
    QApplication::sendEvent(target, &press);
  }
}

void SendKeys(QWidget* target, std::string_view ascii) {
  SendKeys(target, std::u32string(ascii.begin(), ascii.end()));
}

void Paste(QWidget* target, const QString& text) {
  QApplication::clipboard()->setText(text);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
  QApplication::sendEvent(target, &press);
}

void Click(TDialog& dialog, std::string_view label) {
  for (int id = TKeypad::kFirstElement; id <= TKeypad::kUndo; ++id) {
    QPushButton* button = dialog.Button(id);
    if (!button || button->text().remove('&').toStdString() != label) continue;
    ASSERT_TRUE(button->isEnabled()) << label << " is greyed";
    button->click();
    return;
  }
  FAIL() << "no button " << label;
}

struct AnswerDialog {
  std::unique_ptr<TReaction> reaction = ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
  TEquationDialog dialog{nullptr, *reaction, nullptr};

  AnswerDialog() { dialog.Create(); }
  std::string Text() const { return EquationText(*dialog.AnswerWindow()->Equation()); }
  std::string Keys() const {
    std::string keys;
    for (int id = TKeypad::kFirstElement; id <= TKeypad::kLastSubscript; ++id)
      keys += dialog.IsButtonEnabled(id) ? '1' : '0';
    return keys;
  }
  std::string Hint() const { return dialog.HintLine()->text().toStdString(); }
};

// Both dialogs show the same, and stay the same through every undo back to the start.
void ExpectSameAllTheWayBack(AnswerDialog& typed, AnswerDialog& clicked) {
  for (int step = 0;; ++step) {
    ASSERT_EQ(typed.Text(), clicked.Text()) << "after " << step << " undo steps";
    ASSERT_EQ(typed.Keys(), clicked.Keys()) << "after " << step << " undo steps";
    ASSERT_EQ(typed.dialog.Keypad().UndoDepth(), clicked.dialog.Keypad().UndoDepth());
    if (clicked.dialog.Keypad().UndoDepth() == 0) break;
    SendKeys(typed.dialog.focusWidget(), U"\b");
    Click(clicked.dialog, "Undo");
  }
}

struct TypingCase {
  const char* typed;  // '\b' is Backspace
  std::vector<std::string_view> clicks;
  const char* refused;  // the first refused character's hint, empty for none
  const char* waiting = "";
};

void PrintTo(const TypingCase& c, std::ostream* os) {
  *os << '"' << c.typed << '"';
}

const TypingCase kTyping[] = {
    {"Ag+ + Cl- -> AgCl", {"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"}, ""},
    {"Fe3+ + 3OH-", {"Fe", "3+", "+", "O", "H", "1-"}, "\"3\" refused: there are no coefficients"},
    {"NH4+", {"N", "H", "4", "1+"}, ""},
    {"SO4^2-", {"S", "O", "4", "2-"}, ""},
    {"Fe^3+", {"Fe", "3+"}, ""},
    {"Ca(OH)2", {"Ca", "(", "O", "H", ")", "2"}, ""},
    {"Cl2", {"Cl", "2"}, ""},
    {"CO3^2- + 2H+", {"C", "O", "3", "2-", "+", "H", "1+"}, "\"2\" refused: there are no coeff"},
    {"Cu + Ag+ -> Cu2+ + Ag", {"Cu", "+", "Ag", "1+", "->", "Cu", "2+", "+", "Ag"}, ""},
    {"Cr2O7^2-", {"Cr", "2", "O", "7", "2-"}, ""},
    {"Ag(NH3)2^+", {"Ag", "(", "N", "H", "3", ")", "2", "1+"}, ""},
    {"I3^-", {"I", "3", "1-"}, ""},
    {"S2-", {"S", "2-"}, ""},
    {"Hg2^2+", {"Hg", "2", "2+"}, ""},
    {"NH4+ + OH- = NH3 + H2O",
     {"N", "H", "4", "1+", "+", "O", "H", "1-", "->", "N", "H", "3", "+", "H", "2", "O"},
     ""},
    {"Ag++Cl-->AgCl", {"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"}, ""},
    {"Cl->Cl2", {"Cl", "->", "Cl", "2"}, ""},
    {"Fe3->Fe", {"Fe", "3", "->", "Fe"}, ""},
    {"CO Co", {"C", "O", "Co"}, ""},
    {"C l", {"C"}, "\"l\" refused: element symbols begin with a capital letter"},
    {"Co + CO", {"Co", "+", "C", "O"}, ""},
    // A capital that is no element waits; a non-letter cannot finish it.
    {"Z2", {}, "\"2\" refused: there is no element Z: it needs a second letter (Zn, Zr)", "Z"},
    {"Z2n2+", {"Zn", "2+"}, "\"2\" refused"},
    {"Z\bK+", {"K", "1+"}, ""},
    // Backspace takes a two-letter element back whole, and the key before it next.
    {"NaCl\b", {"Na", "Cl", "Undo"}, ""},
    {"NaCl\b\bK", {"K"}, ""},
    {"Fe3+ + 3OH-\b", {"Fe", "3+", "+", "O", "H"}, "\"3\" refused: there are no coefficients"},
    {"cl", {}, "\"c\" refused: element symbols begin with a capital letter"},
    {"Ag+ + Cl- -> AgCl -> X",
     {"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"},
     "\"-\" refused: the equation has its arrow already",
     "X"},
};

class TypedAnswers : public testing::TestWithParam<TypingCase> {};

TEST_P(TypedAnswers, KeysTheSameAsClicking) {
  const TypingCase& c = GetParam();
  AnswerDialog typed;
  AnswerDialog clicked;
  // Watch the hint line for the first refusal.
  std::string firstRefusal;
  const std::string hint = typed.Hint();
  EXPECT_EQ(hint, "Type or click: Ag+ + Cl- -> AgCl");
  for (char ch : std::string_view(c.typed)) {
    SendKeys(typed.dialog.focusWidget(), std::string_view(&ch, 1));
    if (firstRefusal.empty() && typed.Hint() != hint) firstRefusal = typed.Hint();
  }
  // Backspace ends the typed run: what it refused is no longer named.
  if (std::string_view(c.typed).ends_with('\b')) {
    EXPECT_EQ(typed.Hint(), hint);
  }
  for (std::string_view key : c.clicks) Click(clicked.dialog, key);
  if (*c.refused) {
    EXPECT_EQ(firstRefusal.substr(0, std::string_view(c.refused).size()), c.refused)
        << firstRefusal;
  } else {
    EXPECT_EQ(firstRefusal, "");
  }
  EXPECT_EQ(typed.dialog.Typing().Pending(), c.waiting);
  EXPECT_EQ(typed.dialog.AnswerWindow()->Pending(), c.waiting);
  // Backspace takes what waits first.
  for (std::size_t i = 0; i < std::string_view(c.waiting).size(); ++i)
    SendKeys(typed.dialog.focusWidget(), U"\b");
  EXPECT_EQ(typed.dialog.AnswerWindow()->Pending(), "");
  ExpectSameAllTheWayBack(typed, clicked);
}

INSTANTIATE_TEST_SUITE_P(, TypedAnswers, testing::ValuesIn(kTyping));

// The starter bank's text form ("Fe{3+} + OH{-} -> Fe(OH)3") read the way students type:
// a charge of one as "+" or "-" right after its formula, any other as "^2-".
struct BankAnswer {
  std::string line;
  std::string typed;
  std::vector<std::pair<std::string, int>> substances[2];  // reactants, products
};

std::vector<BankAnswer> StarterBank() {
  const std::string path = TARVOLIN_STARTER_TEXT;
  std::ifstream file(path);
  EXPECT_TRUE(file) << path;
  std::vector<BankAnswer> answers;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    BankAnswer answer{line, {}, {}};
    const std::string equation = line.substr(line.rfind('|') + 1);
    int side = 0;
    std::istringstream words(equation);
    std::string word;
    while (words >> word) {
      if (word == "->") {
        side = 1;
        answer.typed += " ->";
        continue;
      }
      if (word == "+") {
        answer.typed += " +";
        continue;
      }
      if (word == "_") continue;
      std::string formula = word;
      std::string charge;
      if (const auto brace = word.find('{'); brace != std::string::npos) {
        formula = word.substr(0, brace);
        charge = word.substr(brace + 1, word.size() - brace - 2);
      }
      if (!answer.typed.empty()) answer.typed += ' ';
      answer.typed += formula;
      const bool loneElement = std::regex_match(formula, std::regex("[A-Z][a-z]?"));
      if (charge == "+" || charge == "-" || charge == "1+" || charge == "1-")
        answer.typed += charge.back();
      else if (loneElement && !charge.empty())
        answer.typed += charge;  // Fe3+, as the lone element's subscript turned into its charge
      else if (!charge.empty())
        answer.typed += "^" + charge;
      answer.substances[side].emplace_back(formula, ChargeFromText(charge));
    }
    answers.push_back(std::move(answer));
  }
  return answers;
}

TEST(TypingAnswers, EveryStarterAnswerKeysAsStored) {
  const std::vector<BankAnswer> bank = StarterBank();
  EXPECT_GE(bank.size(), 155u);
  AnswerDialog typed;
  for (const BankAnswer& answer : bank) {
    Click(typed.dialog, "Restart");
    SendKeys(typed.dialog.focusWidget(), answer.typed);
    EXPECT_EQ(typed.Hint(), "Type or click: Ag+ + Cl- -> AgCl") << answer.typed;
    const TEquation& keyed = *typed.dialog.AnswerWindow()->Equation();
    for (int side = 0; side < 2; ++side) {
      const TFormulaList& formulas = keyed.Side(side == 0);
      ASSERT_EQ(formulas.size(), answer.substances[side].size()) << answer.line;
      for (std::size_t i = 0; i < formulas.size(); ++i) {
        const SplitText split = SplitFormulaText(*formulas[i]);
        EXPECT_EQ(split.formula, answer.substances[side][i].first) << answer.typed;
        EXPECT_EQ(ChargeFromText(split.charge), answer.substances[side][i].second) << answer.typed;
      }
    }
  }
}

TEST(TypingAnswers, APasteKeysTheWholeEquationOrNothing) {
  AnswerDialog pasted;
  AnswerDialog clicked;
  SendKeys(pasted.dialog.focusWidget(), "Ag+ + ");
  Paste(pasted.dialog.focusWidget(), "Cl- -> AgCl");
  for (std::string_view key : {"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
    Click(clicked.dialog, key);
  ExpectSameAllTheWayBack(pasted, clicked);

  AnswerDialog refused;
  SendKeys(refused.dialog.focusWidget(), "Fe");
  const std::string before = refused.Text();
  const std::string keys = refused.Keys();
  TDriver driver;
  driver.ExpectMessage(
      "Nothing was pasted: \"3\" (character 6) cannot be keyed: there are no coefficients: a "
      "formula begins with an element or \"(\".",
      "Warning");
  Paste(refused.dialog.focusWidget(), "3+ + 3OH- -> Fe(OH)3");
  driver.Verify();
  EXPECT_EQ(refused.Text(), before);
  EXPECT_EQ(refused.Keys(), keys);
  EXPECT_EQ(refused.dialog.Keypad().UndoDepth(), 1u);  // the e made F into Fe
  // The line under the strip names the refusal too.
  EXPECT_EQ(refused.Hint(),
            "\"3\" refused: there are no coefficients: a formula begins with an element or "
            "\"(\"");
}

// An answer dialog that counts its Check presses, on the screen with the keyboard.
struct ShownAnswerDialog {
  std::unique_ptr<TReaction> reaction = ReactionOf({{"CaC2", 0}, {"H2O", 0}}, {{"C2H2", 0}});
  int checks = 0;
  TEquationDialog dialog{nullptr, *reaction, [this](TEquationDialog&) {
                           ++checks;
                           return std::optional<TCheckResult>();
                         }};

  ShownAnswerDialog() {
    dialog.Create();
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  std::string Text() const { return EquationText(*dialog.AnswerWindow()->Equation()); }
  std::string Hint() const { return dialog.HintLine()->text().toStdString(); }
};

// Typed with a command button focused (Tab took the focus there), every character, blanks
// included, goes into the answer: nothing is checked, restarted, undone or quit half way.
class TypingOnAFocusedButton : public testing::TestWithParam<const char*> {};

TEST_P(TypingOnAFocusedButton, TypesIntoTheAnswerAndPressesNothing) {
  ShownAnswerDialog shown;
  QPushButton* button = nullptr;
  for (int id : {1, 2, TKeypad::kRestart, TKeypad::kUndo})
    if (shown.dialog.Button(id)->text() == GetParam()) button = shown.dialog.Button(id);
  ASSERT_NE(button, nullptr);
  button->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(QApplication::focusWidget(), button);
  std::string before = shown.Text();
  std::size_t depth = shown.dialog.Keypad().UndoDepth();
  for (char c : std::string_view("CaC2 + H2O -> Ca2+ + OH- + C2H2")) {
    // A press of Quit would have closed the dialog and taken the focus with it.
    ASSERT_EQ(QApplication::focusWidget(), button) << "before '" << c << "'";
    QTest::keyClick(button, c);
    const std::string now = shown.Text();
    // The answer only grows; a restart or undo would shorten it.
    EXPECT_GE(now.size(), before.size()) << "after '" << c << "': " << now;
    EXPECT_GE(shown.dialog.Keypad().UndoDepth(), depth) << "after '" << c << "'";
    before = now;
    depth = shown.dialog.Keypad().UndoDepth();
  }
  EXPECT_EQ(shown.Text(), "CaC2 + H2O -> Ca^2+ + OH^1- + C2H2");
  EXPECT_EQ(shown.checks, 0);
  EXPECT_FALSE(shown.dialog.IsClosed());
  EXPECT_EQ(shown.Hint(), "Type or click: Ag+ + Cl- -> AgCl");
  EXPECT_EQ(QApplication::focusWidget(), button);
}

INSTANTIATE_TEST_SUITE_P(, TypingOnAFocusedButton,
                         testing::Values("&Check", "&Restart", "&Undo", "Quit"),
                         [](const auto& info) {
                           return QString(info.param).remove('&').toStdString();
                         });

// What the keys that are no typing still do with a command button focused.
struct ButtonKeyCase {
  const char* name;
  int focused;  // button id
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int checks;          // Check presses after the key
  const char* answer;  // the answer after "NaCl" and the key
};

void PrintTo(const ButtonKeyCase& c, std::ostream* os) {
  *os << c.name;
}

const ButtonKeyCase kButtonKeys[] = {
    {"EnterOnRestartChecks", TKeypad::kRestart, Qt::Key_Return, Qt::NoModifier, 1, "NaCl"},
    {"KeypadEnterOnUndoChecks", TKeypad::kUndo, Qt::Key_Enter, Qt::KeypadModifier, 1, "NaCl"},
    {"AltRRestarts", 1, Qt::Key_R, Qt::AltModifier, 0, "_"},
    {"AltUUndoes", 1, Qt::Key_U, Qt::AltModifier, 0, "Na"},
    {"AltCChecks", TKeypad::kUndo, Qt::Key_C, Qt::AltModifier, 1, "NaCl"},
    // No button answers Alt+2, and an Alt key is never typed.
    {"AltTwoTypesNothing", 1, Qt::Key_2, Qt::AltModifier, 0, "NaCl"},
};

class ButtonKeys : public testing::TestWithParam<ButtonKeyCase> {};

TEST_P(ButtonKeys, StillPressTheirButtons) {
  const ButtonKeyCase& c = GetParam();
  ShownAnswerDialog shown;
  QTest::keyClicks(QApplication::focusWidget(), "NaCl");
  ASSERT_EQ(shown.Text(), "NaCl");
  shown.dialog.Button(c.focused)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
  // An Alt letter clicks its button the way a click shows, a moment later.
  for (int waited = 0; waited < 1000 && (shown.checks != c.checks || shown.Text() != c.answer);
       waited += 20)
    QTest::qWait(20);
  EXPECT_EQ(shown.checks, c.checks);
  EXPECT_EQ(shown.Text(), c.answer);
}

INSTANTIATE_TEST_SUITE_P(, ButtonKeys, testing::ValuesIn(kButtonKeys),
                         [](const auto& info) { return std::string(info.param.name); });

// Where typing does not go to the keypad (the new-question dialog with a button focused rather
// than its strip), a blank presses the button as on any dialog.
TEST(TypingInTheNewQuestionDialog, ABlankPressesAFocusedButtonThere) {
  QuestionRecord record{};
  TNewQuestionDialog dialog(nullptr, &record, "");
  dialog.Create();
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.AnswerWindow()->setFocus();
  QTest::keyClicks(dialog.AnswerWindow(), "NaCl");
  ASSERT_EQ(EquationText(*dialog.AnswerWindow()->Equation()), "NaCl");
  dialog.Button(TKeypad::kUndo)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog.Button(TKeypad::kUndo), Qt::Key_Space);
  EXPECT_EQ(EquationText(*dialog.AnswerWindow()->Equation()), "Na");
}

// The line under the strip names every character of a typed run that was refused, as far as the
// line holds them: "2co2+" refuses the coefficient, the small letters and the "+" they left.
TEST(TypingHint, NamesEveryRefusedCharacterOfTheRun) {
  ShownAnswerDialog shown;
  const QLabel& line = *shown.dialog.HintLine();
  QTest::keyClicks(QApplication::focusWidget(), "2co2+");
  const std::string text = shown.Hint();
  // The line holds the first with its reason and the count of the others...
  EXPECT_EQ(text,
            "\"2\" refused: there are no coefficients: a formula begins with an element or \"(\" "
            "(and 4 more)");
  EXPECT_LE(line.fontMetrics().horizontalAdvance(line.text()), line.width()) << text;
  // ... and its tip every one of them with its reason.
  EXPECT_EQ(line.toolTip().toStdString(),
            "\"2\" refused: there are no coefficients: a formula begins with an element or \"(\"; "
            "\"c\", \"o\" refused: element symbols begin with a capital letter; \"+\" refused: a "
            "substance must come before \"+\"");
  // As easy to read as the dialog's own text: its size, and its colour on the dialog.
  EXPECT_EQ(line.font().pointSizeF(), shown.dialog.font().pointSizeF());
  EXPECT_EQ(line.palette().color(line.foregroundRole()),
            shown.dialog.palette().color(QPalette::WindowText));
  // A click ends the run: the hint comes back, and the next refusal stands alone.
  Click(shown.dialog, "Ca");
  EXPECT_EQ(shown.Hint(), "Type or click: Ag+ + Cl- -> AgCl");
  EXPECT_EQ(line.toolTip().toStdString(), "");
  QTest::keyClicks(QApplication::focusWidget(), "x");
  EXPECT_EQ(shown.Hint(), "\"x\" refused: element symbols begin with a capital letter");
}

// A click between typed characters: the typed "C" and the clicked key are not one element, and
// a waiting capital is dropped.
TEST(TypingAnswers, AClickEndsWhatTypingWasBuilding) {
  AnswerDialog typed;
  SendKeys(typed.dialog.focusWidget(), "Na Z");
  EXPECT_EQ(typed.dialog.AnswerWindow()->Pending(), "Z");
  Click(typed.dialog, "1+");
  EXPECT_EQ(typed.dialog.AnswerWindow()->Pending(), "");
  SendKeys(typed.dialog.focusWidget(), "n");
  EXPECT_EQ(typed.Text(), "Na^1+");
}

TEST(TypingInTheNewQuestionDialog, TheQuestionBoxTypesTextAndTheStripTypesKeys) {
  QuestionRecord record{};
  TNewQuestionDialog dialog(nullptr, &record, "");
  dialog.show();
  dialog.activateWindow();
  QApplication::setActiveWindow(&dialog);
  dialog.Create();
  QLineEdit* box = dialog.QuestionEdit();
  EXPECT_EQ(dialog.focusWidget(), box);
  SendKeys(box, "Salt+ (a test)");
  EXPECT_EQ(box->text().toStdString(), "Salt+ (a test)");
  EXPECT_EQ(EquationText(*dialog.AnswerWindow()->Equation()), "_");
  // Tab moves on to the strip, and typing there presses keys.
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(box, &tab);
  EXPECT_EQ(dialog.focusWidget(), dialog.AnswerWindow());
  EXPECT_EQ(dialog.HintLine()->text().toStdString(),
            "Tab to the answer, then type or click: Ag+ + Cl- -> AgCl");
  SendKeys(dialog.focusWidget(), "Na+ + (");
  EXPECT_EQ(dialog.HintLine()->text().toStdString(),
            "\"(\" refused: only the first reactant may begin with \"(\" here");
  SendKeys(dialog.focusWidget(), "OH)- -> NaOH");
  EXPECT_EQ(EquationText(*dialog.AnswerWindow()->Equation()), "Na^1+ + OH^1- -> NaOH");
  EXPECT_EQ(box->text().toStdString(), "Salt+ (a test)");
}

TEST(TypingInSubstanceDialogs, BuildsTheEditedFormulaOnly) {
  auto reaction = ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
  auto equation = EquationFromText("Ag^1+ + Cl -> AgCl");
  TEditSubstanceDialog edit(nullptr, *reaction, equation->reactants[1].get(), equation.get(), true);
  edit.Create();
  EXPECT_EQ(edit.focusWidget(), edit.EditWindow());
  EXPECT_EQ(edit.HintLine()->text().toStdString(), "Type or click: SO4^2-, Fe3+");
  SendKeys(edit.focusWidget(), "Cl- +");
  EXPECT_EQ(FormulaText(*edit.EditedFormula()), "Cl^1-");
  EXPECT_EQ(edit.HintLine()->text().toStdString(),
            "\"+\" refused: this window builds one substance: there is no \"+\"");

  auto shorter = EquationFromText("Ag^1+ -> AgCl");
  TAddSubstanceDialog add(nullptr, *reaction, shorter.get(), true);
  add.Create();
  SendKeys(add.focusWidget(), "A");
  EXPECT_EQ(add.EditWindow()->Pending(), "A");
  Paste(add.focusWidget(), "g(NH3)2+");
  EXPECT_EQ(FormulaText(*add.EditedFormula()), "Ag(NH3)2^1+");
  EXPECT_EQ(add.EditWindow()->Pending(), "");
  SendKeys(add.focusWidget(), "\b\b");
  EXPECT_EQ(FormulaText(*add.EditedFormula()), "Ag(NH3)");
}

// The formula strip draws a charge of one as its sign alone, and the caret stands right after
// what is drawn: after "Cl" and a raised minus, not after a raised "1-".
TEST(TypingInSubstanceDialogs, TheCaretFollowsTheChargeAsDrawn) {
  const struct {
    const char* typed;
    const char* line;     // what stands on the line
    const char* raised;   // and the scripts after it, as drawn
    const char* lowered;  // subscripts between them
  } cases[] = {{"Cl-", "Cl", "-", ""},
               {"Ag+", "Ag", "+", ""},
               {"NH4+", "NH", "+", "4"},
               {"Fe3+", "Fe", "3+", ""}};
  auto reaction = ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
  for (const auto& c : cases) {
    auto equation = EquationFromText("Ag^1+ -> AgCl");
    TAddSubstanceDialog add(nullptr, *reaction, equation.get(), true);
    add.Create();
    SendKeys(add.focusWidget(), c.typed);
    TEditWindow& strip = *add.EditWindow();
    strip.grab();  // the caret moves as the strip paints
    // Character by character, as the strip draws them.
    const TDC dc(strip.TextFont());
    int x = strip.TextOrigin().x();
    for (char ch : std::string_view(c.line)) x += dc.TextWidth(std::string(1, ch));
    for (const char* scripts : {c.lowered, c.raised})
      for (char ch : std::string_view(scripts)) x += dc.ScriptWidth(std::string(1, ch));
    EXPECT_EQ(strip.CaretPos().x(), x) << c.typed;
  }
}

// The hint line shows whole in every keypad dialog, between the strips and the buttons, and
// clear of them.
TEST(TypingHint, StandsWholeBelowTheStripsAndAboveTheButtons) {
  auto reaction = ReactionOf({{"Ag", 1}, {"Cl", -1}}, {{"AgCl", 0}});
  auto equation = EquationFromText("Ag^1+ + Cl -> AgCl");
  QuestionRecord record{};
  std::vector<std::unique_ptr<TKeypadDialog>> dialogs;
  dialogs.push_back(std::make_unique<TEquationDialog>(nullptr, *reaction, nullptr));
  dialogs.push_back(std::make_unique<TNewQuestionDialog>(nullptr, &record, ""));
  dialogs.push_back(std::make_unique<TEditSubstanceDialog>(
      nullptr, *reaction, equation->reactants[1].get(), equation.get(), true));
  dialogs.push_back(
      std::make_unique<TAddSubstanceDialog>(nullptr, *reaction, equation.get(), false));
  for (auto& dialog : dialogs) {
    dialog->Create();
    const QLabel* hint = dialog->HintLine();
    ASSERT_NE(hint, nullptr);
    const QRect line = hint->geometry();
    EXPECT_GE(line.width(), hint->sizeHint().width()) << dialog->TemplateName();
    EXPECT_TRUE(dialog->rect().contains(line)) << dialog->TemplateName();
    // Not touching the button row either: the line's descenders need a gap above the buttons.
    if (const QPushButton* ok = dialog->Button(1)) {
      EXPECT_LT(line.bottom() + 1, ok->y()) << dialog->TemplateName();
    }
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
      if (control == hint || control->parentWidget() != dialog.get() ||
          !control->isVisibleTo(dialog.get()))
        continue;
      EXPECT_FALSE(control->geometry().intersects(line))
          << dialog->TemplateName() << " " << control->metaObject()->className() << " "
          << control->objectName().toStdString();
    }
  }
}

}  // namespace

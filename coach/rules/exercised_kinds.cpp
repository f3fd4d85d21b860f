#include "coach/rules/exercised_kinds.h"

#include <algorithm>
#include <array>
#include <map>

#include "coach/rules/formula_search.h"
#include "coach/rules/grader.h"
#include "keypad/rules/keyboard_input.h"
#include "keypad/rules/keypad.h"
#include "model/answer_text.h"
#include "model/charge_text.h"
#include "model/question_outcome.h"

namespace {

using Side = std::vector<std::string>;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Text(std::string_view formula, int32_t charge) {
  return SubstanceText(formula, ChargeToDisplay(ChargeToText(charge)));
}

std::string Join(const Side& reactants, const Side& products) {
  std::string text;
  for (const std::string& s : reactants) text += (text.empty() ? "" : " + ") + s;
  text += " ->";
  for (std::size_t i = 0; i < products.size(); ++i) text += (i == 0 ? " " : " + ") + products[i];
  return text;
}

// Typed as the answer dialog takes it from the keyboard; false when the keypad refuses it.
bool Type(std::string_view text, TEquation& equation) {
  std::u32string characters(text.begin(), text.end());
  TKeypad keypad(TKeypad::AnswerDialogConfig());
  keypad.OpenEquation(&equation);
  TKeyboardInput typing(keypad);
  return !typing.Paste(characters);
}

// The charge a student gets one off: a single charge doubled, any other one less.
int32_t OneOff(int32_t charge) {
  const int32_t size = charge < 0 ? -charge : charge;
  const int32_t wrong = size == 1 ? 2 : size - 1;
  return charge < 0 ? -wrong : wrong;
}

// The ion in a compound with a spectator partner: a cation with nitrate, an anion with sodium.
// Empty when the compound's formula would not fit a field.
std::string Whole(std::string_view formula, int32_t charge) {
  const int32_t size = charge < 0 ? -charge : charge;
  const std::string count = size == 1 ? "" : std::to_string(size);
  const std::string whole = charge > 0
                                ? std::string(formula) + (size == 1 ? "NO3" : "(NO3)" + count)
                                : "Na" + count + std::string(formula);
  return whole.size() < Substance::kFormulaSize ? whole : std::string();
}

bool Holds(const TReaction& reaction, std::string_view formula) {
  for (bool reactant : {true, false})
    for (int i = 0; i < TReaction::kSlots; ++i)
      if (reaction.Side(reactant)[i].FormulaText() == formula) return true;
  return false;
}

class TMistakeMaker {
 public:
  explicit TMistakeMaker(const TReaction& reaction) : reaction_(reaction) {
    for (bool reactant : {true, false})
      for (int i = 0; i < TReaction::kSlots; ++i)
        if (const Substance& s = reaction.Side(reactant)[i]; !s.IsEmpty())
          (reactant ? reactants_ : products_).push_back(&s);
  }

  TExercised Make() {
    for (bool reactant : {true, false}) {
      const auto& side = reactant ? reactants_ : products_;
      for (std::size_t i = 0; i < side.size(); ++i) {
        const Substance& s = *side[i];
        if (s.charge != 0) {
          Try(TMistake::ChargeChanged, reactant, i, Text(s.FormulaText(), OneOff(s.charge)));
          if (const std::string whole = Whole(s.FormulaText(), s.charge); !whole.empty())
            Try(TMistake::WrittenWhole, reactant, i, whole);
        }
        if (side.size() > 1) Try(TMistake::LeftOut, reactant, i, {});
      }
    }
    AddSpectator();
    return std::move(exercised_);
  }

 private:
  Side Texts(bool reactant) const {
    Side texts;
    for (const Substance* s : reactant ? reactants_ : products_)
      texts.push_back(Text(s->FormulaText(), s->charge));
    return texts;
  }

  // The answer with substance i of one side replaced by text, or left out when text is empty.
  void Try(TMistake mistake, bool reactant, std::size_t i, const std::string& text) {
    Side sides[2] = {Texts(true), Texts(false)};
    Side& side = sides[reactant ? 0 : 1];
    const std::string on = side[i];
    if (text.empty())
      side.erase(side.begin() + static_cast<std::ptrdiff_t>(i));
    else
      side[i] = text;
    Note(mistake, on, sides);
  }

  // The first of the usual spectators that the reaction does not hold, added on each side
  // with room for it.
  void AddSpectator() {
    static constexpr std::array<std::pair<const char*, int32_t>, 3> kSpectators = {
        {{"Na", 1}, {"NO3", -1}, {"K", 1}}};
    for (const auto& [formula, charge] : kSpectators) {
      if (Holds(reaction_, formula)) continue;
      Side sides[2] = {Texts(true), Texts(false)};
      for (Side& side : sides)
        if (side.size() < TReaction::kSlots) side.push_back(Text(formula, charge));
      Note(TMistake::SpectatorAdded, Text(formula, charge), sides);
      return;
    }
  }

  void Note(TMistake mistake, const std::string& on, const Side (&sides)[2]) {
    TEquation equation;
    equation.arrowEntered = true;
    for (bool reactant : {true, false}) {
      for (const std::string& text : sides[reactant ? 0 : 1]) {
        const TFormula* typed = Typed(text);
        if (!typed) return;
        equation.Side(reactant).push_back(std::make_unique<TFormula>());
        equation.Side(reactant).back()->CopyFrom(*typed);
      }
    }
    TMistakeMade made{mistake, on, Join(sides[0], sides[1]), {}};
    if (FirstCoaching(reaction_, equation, made.note))
      exercised_.mistakes.push_back(std::move(made));
  }

  // Each substance typed once, as the answer dialog takes it from the keyboard (typing is what
  // takes the time); null when the keypad refuses it.
  const TFormula* Typed(const std::string& text) {
    auto [place, added] = typed_.try_emplace(text);
    if (added) {
      TEquation alone;
      if (Type(text, alone) && alone.reactants.size() == 1 && alone.products.empty())
        place->second = std::move(alone.reactants.front());
    }
    return place->second.get();
  }

  const TReaction& reaction_;
  std::vector<const Substance*> reactants_, products_;
  std::map<std::string, std::unique_ptr<TFormula>> typed_;
  TExercised exercised_;
};

// The student's formula of that row; null past the side's end.
const TFormula* StudentFormula(const TEquation& equation, int row, bool reactant) {
  const TFormulaList& side = equation.Side(reactant);
  return row < static_cast<int>(side.size()) ? side[row].get() : nullptr;
}

// One side, in the coach's order of dialogs; false when none would open.
bool FirstOnSide(const TEquation& equation, const ComparisonTable& correct,
                 const ComparisonTable& student, bool reactant, TCoachingNote& note) {
  const auto formulas = ComparisonTable::FormulaArray(reactant);
  constexpr int kRows = ComparisonTable::kRows;
  for (int row = 0; row < kRows; ++row) {
    const std::string_view text = correct.Field(formulas, row);
    if (text.empty()) continue;
    for (int studentRow = 0; studentRow < kRows; ++studentRow) {
      const TFormula* same = StudentFormula(equation, studentRow, reactant);
      if (same && student.Field(formulas, studentRow) == text) {
        note = {TCoachingStep::OxidationNumber, FormulaAnswerText(*same)};
        return true;
      }
    }
  }
  for (int row = 0; row < kRows; ++row) {
    const std::string text(correct.Field(formulas, row));
    if (text.empty()) continue;
    if (const TFormula* compound = FindContainingFormula(equation, text, reactant)) {
      note = {TCoachingStep::Dissociation, FormulaAnswerText(*compound)};
      return true;
    }
  }
  for (int row = 0; row < kRows; ++row) {
    const TFormula* wrong = StudentFormula(equation, row, reactant);
    if (wrong && !student.Field(formulas, row).empty()) {
      note = {TCoachingStep::WrongSubstance, FormulaAnswerText(*wrong)};
      return true;
    }
  }
  for (int row = 0; row < kRows; ++row) {
    const std::string_view text = correct.Field(formulas, row);
    if (text.empty()) continue;
    const std::string charge(correct.Field(ComparisonTable::ChargeArray(reactant), row));
    note = {TCoachingStep::MissingSubstance, SubstanceText(text, ChargeToDisplay(charge))};
    return true;
  }
  return false;
}

}  // namespace

bool FirstCoaching(const TReaction& reaction, const TEquation& equation, TCoachingNote& note) {
  ComparisonTable correct, student;
  if (GradeAnswer(reaction, equation, correct, student) == kFullScore) return false;
  return FirstOnSide(equation, correct, student, true, note) ||
         FirstOnSide(equation, correct, student, false, note);
}

bool TExercised::Exercises(TCoachingStep step) const {
  return std::any_of(mistakes.begin(), mistakes.end(),
                     [step](const TMistakeMade& m) { return m.note.step == step; });
}

bool TExercised::Concerns(TCoachingStep step, std::string_view substance) const {
  const std::string formula = FormulaOfSubstance(substance);
  return std::any_of(mistakes.begin(), mistakes.end(), [&](const TMistakeMade& m) {
    return m.note.step == step && FormulaOfSubstance(m.note.substance) == formula;
  });
}

TExercised ExercisedBy(const TReaction& reaction) {
  return TMistakeMaker(reaction).Make();
}

std::vector<TExercised> ExercisedByAll(const TReactionList& reactions) {
  std::vector<TExercised> all;
  all.reserve(reactions.size());
  for (const auto& reaction : reactions) all.push_back(ExercisedBy(*reaction));
  return all;
}

std::string FormulaOfSubstance(std::string_view substance) {
  if (const auto caret = substance.find('^'); caret != std::string_view::npos)
    return std::string(substance.substr(0, caret));
  std::string text(substance);
  if (text.empty() || (text.back() != '+' && text.back() != '-')) return text;
  text.pop_back();
  // "Fe3+": a lone element's digit is its charge, not a subscript.
  const bool loneElement =
      text.size() >= 2 && IsDigit(text.back()) && text[0] >= 'A' && text[0] <= 'Z' &&
      (text.size() == 2 || (text.size() == 3 && text[1] >= 'a' && text[1] <= 'z'));
  if (loneElement) text.pop_back();
  return text;
}

#include "keypad/rules/keypad.h"

#include "keypad/rules/keypad_key.h"

namespace {

// Room that the keys need, in characters of formula text.
constexpr int kLongestElement = 2;
constexpr int kShortestElement = 1;
constexpr int kCloseAndDigit = 2;  // ")" must be followed by a subscript
// "(" needs room for itself, at least a one-letter element, ")" and a digit.
constexpr int kParenGroup = 1 + kShortestElement + kCloseAndDigit;

bool Fits(std::size_t count, int extra) {
  return static_cast<int>(count) + extra <= TKeypad::kMaxFormulaText;
}

bool InRange(int id, int first, int last) {
  return id >= first && id <= last;
}

TKeypad::KeyStates OpeningKeys() {
  TKeypad::KeyStates keys;
  keys.elements = true;
  keys.openParen = true;
  return keys;
}

// Keys after "+" and "->": a new empty formula has begun.
TKeypad::KeyStates SeparatorKeys(bool openParen) {
  TKeypad::KeyStates keys;
  keys.elements = true;
  keys.openParen = openParen;
  return keys;
}

void SetEquationFlags(TEquation& equation, const TKeypad::KeyStates& keys) {
  equation.digitKeysOn = keys.subscripts;
  equation.elementKeysOn = keys.elements;
  equation.openParenOn = keys.openParen;
  equation.closeParenOn = keys.closeParen;
  equation.plusOn = keys.plus;
  equation.chargeKeysOn = keys.charges;
  equation.arrowOn = keys.arrow;
}

void SetFormulaFlags(TFormula& formula, const TKeypad::KeyStates& keys) {
  formula.digitKeysOn = keys.subscripts;
  formula.elementKeysOn = keys.elements;
  formula.openParenOn = keys.openParen;
  formula.closeParenOn = keys.closeParen;
  formula.chargeKeysOn = keys.charges;
}

}  // namespace

std::unique_ptr<TEquation> TKeypad::MakeOpeningEquation() {
  auto equation = std::make_unique<TEquation>();
  equation->reactants.push_back(std::make_unique<TFormula>());
  SetEquationFlags(*equation, OpeningKeys());
  return equation;
}

void TKeypad::OpenEquation(TEquation* equation) {
  formula_ = nullptr;
  equation_ = equation;
  formulaUndo_.clear();
  equationUndo_.clear();
  if (equation_) equation_->CopyFrom(*MakeOpeningEquation());
  Changed();
}

void TKeypad::OpenFormula(TFormula* formula) {
  equation_ = nullptr;
  formula_ = formula;
  formulaUndo_.clear();
  equationUndo_.clear();
  if (formula_) {
    formula_->symbols.clear();
    SetFormulaFlags(*formula_, OpeningKeys());
  }
  Changed();
}

TFormula* TKeypad::CurrentFormula() const {
  if (equation_) return equation_->CurrentFormula();
  return formula_;
}

TKeypad::KeyStates TKeypad::Keys() const {
  KeyStates keys;
  if (equation_) {
    keys.subscripts = equation_->digitKeysOn;
    keys.elements = equation_->elementKeysOn;
    keys.openParen = equation_->openParenOn;
    keys.closeParen = equation_->closeParenOn;
    keys.plus = equation_->plusOn && config_.hasPlusAndArrow;
    keys.charges = equation_->chargeKeysOn;
    keys.arrow = equation_->arrowOn && config_.hasPlusAndArrow;
  } else if (formula_) {
    keys.subscripts = formula_->digitKeysOn;
    keys.elements = formula_->elementKeysOn;
    keys.openParen = formula_->openParenOn;
    keys.closeParen = formula_->closeParenOn;
    keys.charges = formula_->chargeKeysOn;
  }
  return keys;
}

bool TKeypad::IsEnabled(int keyId) const {
  const KeyStates keys = Keys();
  if (InRange(keyId, kFirstElement, kLastElement))
    return keys.elements && ElementFits(Label(keyId).size());
  if (InRange(keyId, kFirstCharge, kLastCharge)) return keys.charges;
  if (InRange(keyId, kFirstSubscript, kLastSubscript)) return keys.subscripts;
  switch (keyId) {
    case kPlus:
      return keys.plus;
    case kArrow:
      return keys.arrow;
    case kOpenParen:
      return keys.openParen;
    case kCloseParen:
      return keys.closeParen;
    case kRestart:
    case kUndo:
      return true;
    default:
      return false;
  }
}

std::size_t TKeypad::UndoDepth() const {
  return equation_ ? equationUndo_.size() : formulaUndo_.size();
}

std::string_view TKeypad::Label(int keyId) {
  // The labels are those of the buttons, so there is one table of them.
  for (const TKeypadKey& key : KeypadKeys())
    if (key.id == keyId) return key.label;
  switch (keyId) {
    case kRestart:
      return "&Restart";
    case kUndo:
      return "&Undo";
    default:
      return {};
  }
}

namespace {

template <class T>
std::unique_ptr<T> CopyOf(const T& source) {
  auto copy = std::make_unique<T>();
  copy->CopyFrom(source);
  return copy;
}

template <class T>
std::vector<std::unique_ptr<T>> CopiesOf(const std::vector<std::unique_ptr<T>>& list) {
  std::vector<std::unique_ptr<T>> copies;
  copies.reserve(list.size());
  for (const auto& item : list) copies.push_back(CopyOf(*item));
  return copies;
}

}  // namespace

TKeypad::SavedState TKeypad::Save() const {
  SavedState state;
  if (equation_) state.equation = CopyOf(*equation_);
  if (formula_) state.formula = CopyOf(*formula_);
  state.equationUndo = CopiesOf(equationUndo_);
  state.formulaUndo = CopiesOf(formulaUndo_);
  return state;
}

void TKeypad::Restore(const SavedState& state) {
  if (equation_ && state.equation) equation_->CopyFrom(*state.equation);
  if (formula_ && state.formula) formula_->CopyFrom(*state.formula);
  equationUndo_ = CopiesOf(state.equationUndo);
  formulaUndo_ = CopiesOf(state.formulaUndo);
  Changed();
}

void TKeypad::Press(int keyId, std::string_view label) {
  if (!IsEnabled(keyId)) return;
  if (InRange(keyId, kFirstElement, kLastElement)) return AddElement(label);
  if (InRange(keyId, kFirstCharge, kLastCharge)) return AddCharge(label);
  if (InRange(keyId, kFirstSubscript, kLastSubscript)) return AddSubscript(label);
  switch (keyId) {
    case kPlus:
      return AddPlus();
    case kArrow:
      return AddArrow();
    case kOpenParen:
      return AddOpenParen();
    case kCloseParen:
      return AddCloseParen();
    case kRestart:
      return CmRestart();
    case kUndo:
      return CmUndo();
    default:
      return;
  }
}

void TKeypad::AddElement(std::string_view text) {
  PushUndo();
  TFormula* formula = CurrentFormula();
  if (!formula || !ElementFits(text.size())) return;
  formula->Append(text, Baseline);
  AfterElementOrSubscript(*formula);
}

void TKeypad::AddSubscript(std::string_view text) {
  PushUndo();
  TFormula* formula = FormulaWithRoom(text.size());
  if (!formula) return;
  formula->Append(text, Subscript);
  AfterElementOrSubscript(*formula);
}

void TKeypad::AddCharge(std::string_view text) {
  PushUndo();
  // Charge characters are not part of the formula text, so they need no room.
  TFormula* formula = CurrentFormula();
  if (!formula) return;
  formula->Append(text, Superscript);
  KeyStates keys = Keys();
  keys.elements = false;
  keys.subscripts = false;
  keys.charges = false;
  keys.openParen = false;
  keys.plus = PlusPossible();
  if (equation_ && !equation_->arrowEntered) keys.arrow = ArrowPossible();
  SetKeys(keys);
}

void TKeypad::AddOpenParen() {
  PushUndo();
  TFormula* formula = FormulaWithRoom(1);
  if (!formula) return;
  formula->Append("(", Baseline);
  KeyStates keys;
  keys.elements = true;
  keys.closeParen = true;
  SetKeys(keys);
}

void TKeypad::AddCloseParen() {
  PushUndo();
  TFormula* formula = FormulaWithRoom(1);
  if (!formula) return;
  formula->Append(")", Baseline);
  KeyStates keys = Keys();
  keys.elements = false;
  keys.subscripts = true;
  keys.charges = false;
  keys.closeParen = false;
  keys.plus = false;
  keys.arrow = false;
  SetKeys(keys);
}

void TKeypad::AddPlus() {
  if (!equation_) return;
  PushUndo();
  TFormulaList& side = equation_->Side(!equation_->arrowEntered);
  if (static_cast<int>(side.size()) >= config_.maxFormulasPerSide) return;
  side.push_back(std::make_unique<TFormula>());
  SetKeys(SeparatorKeys(config_.openParenAfterSeparator));
}

void TKeypad::AddArrow() {
  if (!equation_) return;
  PushUndo();
  if (static_cast<int>(equation_->products.size()) >= config_.maxFormulasPerSide) return;
  equation_->arrowEntered = true;
  equation_->products.push_back(std::make_unique<TFormula>());
  SetKeys(SeparatorKeys(config_.openParenAfterSeparator));
}

void TKeypad::CmRestart() {
  equationUndo_.clear();
  formulaUndo_.clear();
  if (equation_) {
    std::unique_ptr<TEquation> fresh = MakeOpeningEquation();
    if (replaceEquation_) {
      // Point at the new equation before the old one is destroyed by whoever owned it.
      equation_ = fresh.get();
      replaceEquation_(std::move(fresh));
    } else {
      equation_->CopyFrom(*fresh);
    }
  } else if (formula_) {
    formula_->symbols.clear();
    SetFormulaFlags(*formula_, OpeningKeys());
  } else {
    return;
  }
  Changed();
}

void TKeypad::CmUndo() {
  if (equation_ && !equationUndo_.empty()) {
    equation_->CopyFrom(*equationUndo_.back());
    equationUndo_.pop_back();
  } else if (formula_ && !formulaUndo_.empty()) {
    formula_->CopyFrom(*formulaUndo_.back());
    formulaUndo_.pop_back();
  } else {
    return;
  }
  Changed();
}

void TKeypad::PushUndo() {
  if (equation_) {
    equationUndo_.push_back(CopyOf(*equation_));
  } else if (formula_) {
    formulaUndo_.push_back(CopyOf(*formula_));
  }
}

bool TKeypad::ElementFits(std::size_t letters) const {
  const TFormula* formula = CurrentFormula();
  if (!formula) return false;
  // Keys() reads the flags, which mirror whether ")" is on, i.e. whether "(" is open.
  const int reserve = Keys().closeParen ? kCloseAndDigit : 0;
  return Fits(formula->symbols.size(), static_cast<int>(letters) + reserve);
}

TFormula* TKeypad::FormulaWithRoom(std::size_t extra) const {
  TFormula* formula = CurrentFormula();
  if (!formula || !Fits(formula->symbols.size(), static_cast<int>(extra))) return nullptr;
  return formula;
}

void TKeypad::AfterElementOrSubscript(const TFormula& formula) {
  const std::size_t n = formula.symbols.size();
  KeyStates keys = Keys();
  const bool parenOpen = keys.closeParen;
  const int reserve = parenOpen ? kCloseAndDigit : 0;
  // Outside parentheses the usual rule (room for a two-letter element); inside, the group stays
  // on while a one-letter element fits, and IsEnabled refuses the two-letter ones that do not.
  keys.elements = Fits(n, (parenOpen ? kShortestElement : kLongestElement) + reserve);
  keys.subscripts = Fits(n, 1 + reserve);
  if (!parenOpen) {
    keys.charges = true;
    keys.openParen = Fits(n, kParenGroup);
    keys.plus = PlusPossible();
    if (equation_ && !equation_->arrowEntered) keys.arrow = ArrowPossible();
  }
  SetKeys(keys);
}

bool TKeypad::PlusPossible() const {
  if (!equation_ || !config_.hasPlusAndArrow) return false;
  const TFormulaList& side = equation_->Side(!equation_->arrowEntered);
  return static_cast<int>(side.size()) < config_.maxFormulasPerSide;
}

bool TKeypad::ArrowPossible() const {
  return equation_ && config_.hasPlusAndArrow;
}

void TKeypad::SetKeys(const KeyStates& keys) {
  if (equation_) SetEquationFlags(*equation_, keys);
  if (formula_) SetFormulaFlags(*formula_, keys);
  Changed();
}

void TKeypad::Changed() {
  if (changed_) changed_();
}

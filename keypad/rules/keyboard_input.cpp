#include "keypad/rules/keyboard_input.h"

#include <map>
#include <set>

#include "keypad/rules/element_symbols.h"
#include "keypad/rules/keypad_key.h"

namespace {

constexpr char32_t kNoBreakSpace = 0x00A0;
constexpr char32_t kMinusSign = 0x2212;
constexpr char32_t kRightArrow = 0x2192;
constexpr char32_t kLongRightArrow = 0x27F6;
constexpr char32_t kSuperscriptPlus = 0x207A;
constexpr char32_t kSuperscriptMinus = 0x207B;
constexpr char32_t kSubscriptTwo = 0x2082;
constexpr char32_t kSubscriptNine = 0x2089;

bool IsUpper(char32_t c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLower(char32_t c) {
  return c >= 'a' && c <= 'z';
}
bool IsBlank(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == kNoBreakSpace;
}

bool IsElement(const std::string& symbol) {
  const int id = KeypadKeyId(symbol);
  return id >= TKeypad::kFirstElement && id <= TKeypad::kLastElement;
}

// The two-letter elements on the keypad that begin with capital, "Ac, Ag, Al"; with onKeypad
// false, those of the 118 elements, keys or not.
std::string ElementsBeginningWith(char capital, bool onKeypad = true) {
  std::set<std::string> symbols;
  if (onKeypad) {
    for (const TKeypadKey& key : KeypadKeys())
      if (IsElement(key.label) && key.label.size() == 2 && key.label[0] == capital)
        symbols.insert(key.label);
  } else {
    for (std::string_view symbol : ElementSymbols())
      if (symbol.size() == 2 && symbol[0] == capital) symbols.emplace(symbol);
  }
  std::string list;
  for (const std::string& symbol : symbols) list += (list.empty() ? "" : ", ") + symbol;
  return list;
}

int SubscriptId(char digit) {
  return KeypadKeyId(std::string(1, digit));
}

int ChargeId(char digit, char sign) {
  return KeypadKeyId(std::string{digit, sign});
}

// A superscript digit 1 to 5 as its ASCII digit, else 0.
char SuperscriptDigit(char32_t c) {
  switch (c) {
    case 0x00B9:
      return '1';
    case 0x00B2:
      return '2';
    case 0x00B3:
      return '3';
    case 0x2074:
      return '4';
    case 0x2075:
      return '5';
    default:
      return 0;
  }
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

const char* const kAfterClose = "after \")\" a subscript must follow";
const char* const kFull = "the formula is full (at most 9 characters, parentheses included)";
const char* const kCloseFirst = "a \"(\" is still open: close it first";

// A symbol that is not a key: an element the keypad lacks is told as such, not as no element.
std::string NotAKey(const std::string& symbol) {
  if (IsElementSymbol(symbol)) return "the keypad has no key for " + symbol;
  return "there is no element " + symbol;
}

}  // namespace

std::string TKeyboardInput::Refusal::PasteMessage() const {
  return "Nothing was pasted: " + Quoted(character) + " (character " + std::to_string(position) +
         ") cannot be keyed: " + reason + ".";
}

std::string TKeyboardInput::Hint(bool equationMode) {
  return equationMode ? "Type or click: Ag+ + Cl- -> AgCl" : "Type or click: SO4^2-, Fe3+";
}

std::string TKeyboardInput::Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string TKeyboardInput::Type(char32_t c) {
  const TKeypad::SavedState saved = keypad_.Save();
  const Typing before = typing_;
  std::string reason = Step(c);
  if (!reason.empty()) {
    // A refused character may have gone half way (C undone before Cl was refused).
    keypad_.Restore(saved);
    typing_ = before;
  }
  return reason;
}

void TKeyboardInput::Backspace() {
  if (!typing_.pending.empty()) {
    typing_.pending.pop_back();
  } else {
    keypad_.CmUndo();
  }
  typing_.last = Last::Nothing;
  typing_.afterBlank = false;
}

std::optional<TKeyboardInput::Refusal> TKeyboardInput::Paste(std::u32string_view text) {
  std::vector<Refusal> refusals = PasteRefusals(text);
  if (!refusals.empty()) return std::move(refusals.front());
  for (char32_t c : text) Step(c);
  return std::nullopt;
}

std::vector<TKeyboardInput::Refusal> TKeyboardInput::PasteRefusals(std::u32string_view text) {
  const TKeypad::SavedState saved = keypad_.Save();
  const Typing before = typing_;
  std::vector<Refusal> refusals;
  std::size_t pendingFrom = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool waiting = !typing_.pending.empty();
    if (std::string reason = Type(text[i]); !reason.empty()) {
      refusals.push_back({Utf8(text[i]), i + 1, std::move(reason)});
      continue;
    }
    if (!waiting) pendingFrom = i;
  }
  if (!typing_.pending.empty()) {
    const char first = typing_.pending[0];
    const std::string reason = first == '^' ? "the text ends inside this charge"
                               : first == '-'
                                   ? "the text ends with a \"-\" that makes no arrow"
                                   : "the text ends before the second letter of this element";
    refusals.push_back({Utf8(text[pendingFrom]), pendingFrom + 1, reason});
  }
  keypad_.Restore(saved);
  typing_ = before;
  return refusals;
}

void TKeyboardInput::Forget() {
  typing_ = Typing{};
}

std::string TKeyboardInput::Step(char32_t c) {
  // Characters pasted from elsewhere, written as they would be typed here.
  if (c == kMinusSign) c = '-';
  if (c == kRightArrow || c == kLongRightArrow) c = '=';
  if (c >= kSubscriptTwo && c <= kSubscriptNine) c = '2' + (c - kSubscriptTwo);
  const bool inCharge = !typing_.pending.empty() && typing_.pending[0] == '^';
  if (const char digit = SuperscriptDigit(c)) {
    if (!inCharge) {
      if (std::string reason = Step('^'); !reason.empty()) return reason;
    }
    return Step(static_cast<char32_t>(digit));
  }
  if (c == kSuperscriptPlus || c == kSuperscriptMinus) {
    if (!inCharge) {
      if (std::string reason = Step('^'); !reason.empty()) return reason;
    }
    return Step(c == kSuperscriptPlus ? '+' : '-');
  }

  if (!typing_.pending.empty()) return StepPending(c);
  if (IsBlank(c)) {
    typing_.afterBlank = true;
    typing_.last = Last::Nothing;
    return {};
  }
  std::string reason;
  if (IsUpper(c)) {
    reason = Capital(static_cast<char>(c));
  } else if (IsLower(c)) {
    reason = Lower(static_cast<char>(c));
  } else if (c >= '2' && c <= '9') {
    reason = PressKey(SubscriptId(static_cast<char>(c)));
    typing_.last = Last::Nothing;
  } else if (c == '0' || c == '1') {
    reason = "subscripts run from 2 to 9 (a single atom has none)";
  } else if (c == '^') {
    if (!keypad_.IsEnabled(ChargeId('1', '+'))) {
      reason = WhyOffCharge();
    } else {
      typing_.pending = "^";
    }
  } else if (c == '+' || c == '-') {
    reason = Sign(static_cast<char>(c));
  } else if (c == '>') {
    reason = Greater();
  } else if (c == '=') {
    reason = PressKey(TKeypad::kArrow);
    typing_.last = Last::Nothing;
  } else if (c == '(' || c == ')') {
    reason = PressKey(c == '(' ? TKeypad::kOpenParen : TKeypad::kCloseParen);
    typing_.last = Last::Nothing;
  } else {
    reason = "no key makes this character";
  }
  if (reason.empty()) typing_.afterBlank = false;
  return reason;
}

std::string TKeyboardInput::StepPending(char32_t c) {
  std::string& pending = typing_.pending;
  const char first = pending[0];
  typing_.last = Last::Nothing;
  if (first == '^') {
    if (pending.size() == 1 && c >= '1' && c <= '5') {
      pending += static_cast<char>(c);
      return {};
    }
    if (c == '+' || c == '-') {
      const char digit = pending.size() == 2 ? pending[1] : '1';
      pending.clear();
      return PressKey(ChargeId(digit, static_cast<char>(c)));
    }
    return "a charge is written ^+, ^-, or ^ with a digit 1 to 5 and a sign, as ^2-";
  }
  if (first == '-') {
    if (c == '>') {
      pending.clear();
      return PressKey(TKeypad::kArrow);
    }
    return "a \"-\" here can only begin the arrow \"->\" (a charge is written right after its "
           "formula, as Cl-)";
  }
  const std::string symbol{first, static_cast<char>(c)};
  if (IsLower(c) && IsElement(symbol)) {
    pending.clear();
    return PressElement(symbol);
  }
  if (IsLower(c)) return NotAKey(symbol);
  const std::string keys = ElementsBeginningWith(first);
  const std::string needs =
      "there is no element " + std::string(1, first) + ": it needs a second letter (";
  if (keys.empty())
    return needs + ElementsBeginningWith(first, false) + ": the keypad has no key for them)";
  return needs + keys + ")";
}

std::string TKeyboardInput::Capital(char c) {
  const std::string symbol(1, c);
  typing_.last = Last::Nothing;
  if (IsElement(symbol)) {
    std::string reason = PressElement(symbol);
    if (reason.empty()) {
      typing_.last = Last::OneLetterElement;
      typing_.letter = c;
    }
    return reason;
  }
  if (ElementsBeginningWith(c, false).empty() && ElementsBeginningWith(c).empty()) {
    if (IsElementSymbol(symbol)) return NotAKey(symbol);
    return "no element symbol begins with " + symbol;
  }
  if (!keypad_.Keys().elements) return WhyOffElement();
  typing_.pending = symbol;
  return {};
}

std::string TKeyboardInput::Lower(char c) {
  const Last last = typing_.last;
  typing_.last = Last::Nothing;
  if (last != Last::OneLetterElement) return "element symbols begin with a capital letter";
  const std::string symbol{typing_.letter, c};
  if (!IsElement(symbol)) return NotAKey(symbol);
  // The one-letter element goes, so that the two letters are one element, as on the keypad.
  keypad_.CmUndo();
  return PressElement(symbol);
}

std::string TKeyboardInput::Sign(char sign) {
  const bool chargeHere = keypad_.IsEnabled(ChargeId('1', sign));
  typing_.last = Last::Nothing;
  if (chargeHere && !typing_.afterBlank) {
    // Fe3+ and S2- as students write ions: the digit was the charge's, not a subscript.
    const char digit = LoneElementSubscript();
    if (digit) keypad_.CmUndo();
    std::string reason = PressKey(ChargeId(digit ? digit : '1', sign));
    if (sign == '-') {
      typing_.last = Last::DashCharge;
      typing_.consumedDigit = digit;
    }
    return reason;
  }
  if (chargeHere && !keypad_.IsEquationMode())
    return "a charge follows its formula with no blank between them";
  if (sign == '+') return PressKey(TKeypad::kPlus);
  if (!keypad_.IsEnabled(TKeypad::kArrow)) {
    if (!keypad_.IsEquationMode()) return WhyOffCharge();
    return WhyOffSeparator("->");
  }
  typing_.pending = "-";
  return {};
}

std::string TKeyboardInput::Greater() {
  const Last last = typing_.last;
  typing_.last = Last::Nothing;
  if (last != Last::DashCharge) return "\">\" only ends the arrow \"->\"";
  // The "-" was the beginning of the arrow after all: take its charge back.
  keypad_.CmUndo();
  if (typing_.consumedDigit) {
    if (std::string reason = PressKey(SubscriptId(typing_.consumedDigit)); !reason.empty())
      return reason;
  }
  return PressKey(TKeypad::kArrow);
}

std::string TKeyboardInput::PressKey(int id) {
  if (!keypad_.IsEnabled(id)) return WhyOff(id);
  keypad_.Press(id);
  return {};
}

std::string TKeyboardInput::PressElement(const std::string& symbol) {
  return PressKey(KeypadKeyId(symbol));
}

char TKeyboardInput::LoneElementSubscript() const {
  const TFormula* formula = keypad_.CurrentFormula();
  if (!formula) return 0;
  const auto& symbols = formula->symbols;
  if (symbols.size() < 2 || symbols.size() > 3) return 0;
  const TSymbol& digit = symbols.back();
  if (digit.placement != Subscript || digit.ch < '2' || digit.ch > '5') return 0;
  std::string element;
  for (std::size_t i = 0; i + 1 < symbols.size(); ++i) {
    if (symbols[i].placement != Baseline) return 0;
    element += symbols[i].ch;
  }
  return IsElement(element) ? digit.ch : 0;
}

std::string TKeyboardInput::WhyOff(int id) const {
  if (id >= TKeypad::kFirstElement && id <= TKeypad::kLastElement) return WhyOffElement();
  if (id >= TKeypad::kFirstSubscript && id <= TKeypad::kLastSubscript) return WhyOffSubscript();
  if (id >= TKeypad::kFirstCharge && id <= TKeypad::kLastCharge) return WhyOffCharge();
  if (id == TKeypad::kPlus) return WhyOffSeparator("+");
  if (id == TKeypad::kArrow) return WhyOffSeparator("->");
  const TFormula* formula = keypad_.CurrentFormula();
  const bool open = keypad_.Keys().closeParen;
  if (id == TKeypad::kCloseParen) return open ? kFull : "no \"(\" is open";
  // "(" is greyed.
  if (!formula || formula->symbols.empty())
    return "only the first reactant may begin with \"(\" here";
  const TSymbol& last = formula->symbols.back();
  if (open) return "parentheses do not nest: close the \"(\" first";
  if (last.placement == Superscript) return "after a charge the substance is complete";
  if (last.ch == ')') return kAfterClose;
  return "too little room is left for \"(\", an element, \")\" and a subscript";
}

std::string TKeyboardInput::WhyOffElement() const {
  const TFormula* formula = keypad_.CurrentFormula();
  if (formula && !formula->symbols.empty()) {
    const TSymbol& last = formula->symbols.back();
    if (last.placement == Superscript) {
      return keypad_.IsEquationMode()
                 ? "after a charge the substance is complete: \" + \" or \" -> \" comes next"
                 : "after a charge the substance is complete";
    }
    if (last.ch == ')') return kAfterClose;
  }
  return kFull;
}

std::string TKeyboardInput::WhyOffSubscript() const {
  const TFormula* formula = keypad_.CurrentFormula();
  if (!formula || formula->symbols.empty())
    return "there are no coefficients: a formula begins with an element or \"(\"";
  const TSymbol& last = formula->symbols.back();
  if (last.placement == Superscript) return "after a charge no subscript can follow";
  if (last.ch == '(') return "after \"(\" an element must follow";
  return kFull;
}

std::string TKeyboardInput::WhyOffCharge() const {
  const TFormula* formula = keypad_.CurrentFormula();
  if (!formula || formula->symbols.empty()) return "a charge follows its formula";
  const TSymbol& last = formula->symbols.back();
  if (keypad_.Keys().closeParen) return "no charge inside parentheses: " + std::string(kCloseFirst);
  if (last.placement == Superscript) return "the substance has its charge already";
  if (last.ch == ')') return kAfterClose;
  return "no charge can follow here";
}

std::string TKeyboardInput::WhyOffSeparator(const char* key) const {
  const std::string name = Quoted(key);
  if (!keypad_.IsEquationMode()) return "this window builds one substance: there is no " + name;
  const TEquation& equation = *keypad_.Equation();
  const bool arrow = std::string_view(key) == "->";
  if (arrow && equation.arrowEntered) return "the equation has its arrow already";
  const TFormula* formula = keypad_.CurrentFormula();
  if (!formula || formula->symbols.empty()) return "a substance must come before " + name;
  if (keypad_.Keys().closeParen) return kCloseFirst;
  if (formula->symbols.back().ch == ')') return kAfterClose;
  if (!arrow) return "a side holds at most 5 substances";
  return "the arrow cannot follow here";
}

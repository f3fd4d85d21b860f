#include "bank/bank_text.h"

#include <cctype>
#include <cstring>

#include "model/windows1252.h"

namespace {

constexpr const char* kTypeNames[kReactionTypeCount] = {"Precipitation", "AcidBase", "Redox",
                                                        "ComplexIon", "Miscellaneous"};
constexpr const char* kOtherTypeNames[kReactionTypeCount] = {"Precipitation", "Acid/Base", "Redox",
                                                             "Complex Ion", "Miscellaneous"};

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool SameLetters(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A whole number with an optional sign, in 32 bits.
bool ParseInt32(const std::string& text, int32_t& value) {
  std::size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return false;
  int64_t n = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
    n = n * 10 + (text[k] - '0');
  }
  if (text[0] == '-') n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return false;
  value = static_cast<int32_t>(n);
  return true;
}

bool ParseType(const std::string& text, int32_t& type) {
  for (int code = 0; code < kReactionTypeCount; ++code)
    if (SameLetters(text, kTypeNames[code]) || SameLetters(text, kOtherTypeNames[code])) {
      type = code;
      return true;
    }
  return ParseInt32(text, type);
}

bool IsFormulaChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == ')';
}

// "+", "-", or a number without a leading zero and a sign: "2+", "3-".
bool ParseCharge(const std::string& text, int32_t& charge) {
  if (text == "+" || text == "-") {
    charge = text == "+" ? 1 : -1;
    return true;
  }
  if (text.size() < 2 || text.size() > 11 || text[0] < '1' || text[0] > '9') return false;
  const char sign = text.back();
  if (sign != '+' && sign != '-') return false;
  int64_t n = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    n = n * 10 + (text[i] - '0');
  }
  if (sign == '-') n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return false;
  charge = static_cast<int32_t>(n);
  return true;
}

std::string ChargeText(int32_t charge) {
  const int64_t size = charge < 0 ? -static_cast<int64_t>(charge) : charge;
  const char sign = charge < 0 ? '-' : '+';
  return size == 1 ? std::string(1, sign) : std::to_string(size) + sign;
}

// Splits at every "+" outside braces; the pieces are trimmed.
std::vector<std::string> SplitSide(const std::string& side) {
  std::vector<std::string> pieces;
  std::string piece;
  int depth = 0;
  for (char c : side) {
    if (c == '{') ++depth;
    if (c == '}' && depth > 0) --depth;
    if (c == '+' && depth == 0) {
      pieces.push_back(Trim(piece));
      piece.clear();
    } else {
      piece += c;
    }
  }
  pieces.push_back(Trim(piece));
  return pieces;
}

// The places of "->" outside braces.
std::vector<std::size_t> Arrows(const std::string& answer) {
  std::vector<std::size_t> at;
  int depth = 0;
  for (std::size_t i = 0; i < answer.size(); ++i) {
    if (answer[i] == '{') ++depth;
    if (answer[i] == '}' && depth > 0) --depth;
    if (depth == 0 && answer.compare(i, 2, "->") == 0) at.push_back(i);
  }
  return at;
}

bool ParseSubstance(const std::string& text, Substance& substance, std::string& reason) {
  std::string formula = text;
  int32_t charge = 0;
  if (const auto brace = text.find('{'); brace != std::string::npos) {
    if (text.back() != '}' || text.find('}') != text.size() - 1) {
      reason = "a charge in braces must end the substance: " + text;
      return false;
    }
    const std::string charge_text = Trim(text.substr(brace + 1, text.size() - brace - 2));
    if (!ParseCharge(charge_text, charge)) {
      reason = "a charge is +, -, or a number and a sign such as 2+ or 3-: " + text;
      return false;
    }
    formula = Trim(text.substr(0, brace));
  }
  if (formula != "_") {
    if (formula.empty() || formula.size() >= Substance::kFormulaSize) {
      reason = "a formula has 1 to 9 characters: " + text;
      return false;
    }
    for (char c : formula)
      if (!IsFormulaChar(c)) {
        reason = "a formula holds letters, digits and parentheses only: " + text;
        return false;
      }
    substance.SetFormula(formula);
  }
  substance.charge = charge;
  return true;
}

bool ParseSide(const std::string& text, Substance* side, std::string& reason) {
  if (text.empty()) return true;  // no substances at all
  const auto pieces = SplitSide(text);
  if (pieces.size() > static_cast<std::size_t>(TReaction::kSlots)) {
    reason = "at most five substances a side";
    return false;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].empty()) {
      reason = "a \"+\" with no substance after it (write _ for an empty slot)";
      return false;
    }
    if (!ParseSubstance(pieces[i], side[i], reason)) return false;
  }
  return true;
}

bool NeedsQuotes(const std::string& question) {
  if (question.empty()) return true;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(question.front()) || blank(question.back())) return true;
  return question.size() >= 2 && question.front() == '"' && question.back() == '"';
}

bool HasControl(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
  return false;
}

bool AllZero(const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

// The text of a field that must end within it, with a note when bytes follow the end.
bool ReadTerminatedField(const char* field, std::size_t size, const std::string& what,
                         std::string& text, std::string& reason, std::vector<std::string>& notes) {
  const void* zero = std::memchr(field, 0, size);
  if (!zero) {
    reason = what + " fills all " + std::to_string(size) + " bytes with no end";
    return false;
  }
  const std::size_t length = static_cast<const char*>(zero) - field;
  text.assign(field, length);
  if (!AllZero(field + length, size - length))
    notes.push_back("bytes after the end of " + what + " are not kept");
  return true;
}

}  // namespace

std::string TypeText(int32_t type) {
  return type >= 0 && type < kReactionTypeCount ? kTypeNames[type] : std::to_string(type);
}

std::string SubstanceText(const Substance& substance) {
  std::string text = substance.IsEmpty() ? "_" : std::string(substance.FormulaText());
  if (substance.charge != 0) text += "{" + ChargeText(substance.charge) + "}";
  return text;
}

bool ParseBankLine(const std::string& line, std::unique_ptr<TReaction>& reaction,
                   std::string& reason) {
  const auto first = line.find('|');
  const auto last = line.rfind('|');
  if (first == std::string::npos || first == last) {
    reason = "expected TYPE | QUESTION | ANSWER";
    return false;
  }
  const std::string type_text = Trim(line.substr(0, first));
  std::string question = Trim(line.substr(first + 1, last - first - 1));
  const std::string answer = Trim(line.substr(last + 1));
  int32_t type = 0;
  if (!ParseType(type_text, type)) {
    reason = "unknown type \"" + type_text +
             "\" (Precipitation, AcidBase, Redox, ComplexIon, Miscellaneous or a number)";
    return false;
  }
  if (question.size() >= 2 && question.front() == '"' && question.back() == '"')
    question = question.substr(1, question.size() - 2);
  std::string stored, bad;
  if (!Utf8ToWindows1252(question, stored, &bad)) {
    reason = "the question holds \"" + bad + "\", which a reaction file cannot store";
    return false;
  }
  if (HasControl(stored)) {
    reason = "the question holds a control character";
    return false;
  }
  if (stored.size() >= TReaction::kQuestionSize) {
    reason = "the question has " + std::to_string(stored.size()) + " characters; at most " +
             std::to_string(TReaction::kQuestionSize - 1);
    return false;
  }
  const auto arrows = Arrows(answer);
  if (arrows.size() != 1) {
    reason = "the answer needs exactly one ->";
    return false;
  }
  auto parsed = std::make_unique<TReaction>(stored, type);
  if (!ParseSide(Trim(answer.substr(0, arrows[0])), parsed->reactants, reason) ||
      !ParseSide(Trim(answer.substr(arrows[0] + 2)), parsed->products, reason))
    return false;
  reaction = std::move(parsed);
  return true;
}

bool FormatBankLine(const TReaction& reaction, std::string& line, std::string& reason,
                    std::vector<std::string>& notes) {
  std::string question;
  if (!ReadTerminatedField(reaction.question, TReaction::kQuestionSize, "the question", question,
                           reason, notes))
    return false;
  if (HasControl(question)) {
    reason = "the question holds a line break or another control character";
    return false;
  }
  question = Windows1252ToUtf8(question);
  if (NeedsQuotes(question)) question = "\"" + question + "\"";
  std::string sides[2];
  for (const bool reactant : {true, false}) {
    const Substance* side = reaction.Side(reactant);
    // Slots up to the last one that holds anything; the rest read back as empty.
    int used = 0;
    for (int s = 0; s < TReaction::kSlots; ++s)
      if (!side[s].IsEmpty() || side[s].charge != 0) used = s + 1;
    std::string& text = sides[reactant ? 0 : 1];
    for (int s = 0; s < used; ++s) {
      const std::string what =
          std::string(reactant ? "reactant " : "product ") + std::to_string(s + 1);
      std::string formula;
      if (!ReadTerminatedField(side[s].formula, Substance::kFormulaSize, what, formula, reason,
                               notes))
        return false;
      for (char c : formula)
        if (!IsFormulaChar(c)) {
          reason = what + " holds a character that no formula has";
          return false;
        }
      if (s > 0) text += " + ";
      text += SubstanceText(side[s]);
    }
    for (int s = used; s < TReaction::kSlots; ++s)
      if (!AllZero(side[s].formula, Substance::kFormulaSize))
        notes.push_back("bytes in an empty slot are not kept");
  }
  line = TypeText(reaction.type) + " | " + question + " | " + sides[0] + " -> " + sides[1];
  // Neither side may leave a blank at the end of the line, which reading would trim away.
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return true;
}

#include "fuzz/bank_properties.h"

#include <cstring>
#include <map>
#include <sstream>
#include <vector>

#include "bank/balance.h"
#include "bank/bank_checks.h"
#include "bank/bank_text.h"
#include "model/reaction_file.h"
#include "model/windows1252.h"

namespace {

__extension__ typedef __int128 TWide;
using TCounts = std::map<std::string, TWide>;

std::string Encode(const TReactionList& list) {
  std::string bytes;
  unsigned char record[kReactionRecordSize];
  for (const auto& reaction : list) {
    EncodeReaction(*reaction, record);
    bytes.append(reinterpret_cast<const char*>(record), sizeof record);
  }
  return bytes;
}

// A second reading of formulas, written apart from the checker's: a formula is a run of
// element symbols and parenthesised groups, each with an optional count.
class TFormulaReader {
 public:
  explicit TFormulaReader(const std::string& text) : text_(text) {}

  bool Read(TCounts& counts) {
    if (!Group(counts, 0) || at_ != text_.size()) return false;
    return !counts.empty();
  }

 private:
  bool Count(TWide& n) {
    n = 0;
    if (at_ >= text_.size() || text_[at_] < '0' || text_[at_] > '9') {
      n = 1;
      return true;
    }
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      n = n * 10 + (text_[at_++] - '0');
      if (n > (TWide(1) << 80)) return false;
    }
    return true;
  }

  bool Group(TCounts& counts, int depth) {
    if (depth > 20) return false;
    while (at_ < text_.size() && text_[at_] != ')') {
      const char c = text_[at_];
      TCounts inner;
      if (c >= 'A' && c <= 'Z') {
        std::string symbol(1, c);
        ++at_;
        if (at_ < text_.size() && text_[at_] >= 'a' && text_[at_] <= 'z') symbol += text_[at_++];
        inner[symbol] = 1;
      } else if (c == '(') {
        ++at_;
        if (!Group(inner, depth + 1) || at_ >= text_.size() || inner.empty()) return false;
        ++at_;  // ")"
      } else {
        return false;
      }
      TWide n = 0;
      if (!Count(n)) return false;
      for (const auto& [symbol, k] : inner) counts[symbol] += k * n;
    }
    return depth > 0 || at_ == text_.size();
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

struct TColumn {
  TCounts counts;
  TWide charge;
  int sign;
};

// The substances of a reaction as columns; false when a formula does not read.
bool Columns(const TReaction& reaction, std::vector<TColumn>& columns) {
  for (const bool reactant : {true, false})
    for (int s = 0; s < TReaction::kSlots; ++s) {
      const Substance& substance = reaction.Side(reactant)[s];
      if (substance.IsEmpty()) continue;
      TColumn column{{}, substance.charge, reactant ? 1 : -1};
      if (!TFormulaReader(std::string(substance.FormulaText())).Read(column.counts)) return false;
      columns.push_back(column);
    }
  return true;
}

bool Conserved(const std::vector<TColumn>& columns, const std::vector<TWide>& x) {
  TCounts total;
  TWide charge = 0;
  for (std::size_t j = 0; j < columns.size(); ++j) {
    for (const auto& [symbol, k] : columns[j].counts) {
      TWide term = 0;
      if (__builtin_mul_overflow(k, x[j] * columns[j].sign, &term) ||
          __builtin_add_overflow(total[symbol], term, &total[symbol]))
        return false;
    }
    charge += columns[j].charge * x[j] * columns[j].sign;
  }
  for (const auto& entry : total)
    if (entry.second != 0) return false;
  return charge == 0;
}

// Whether coefficients of 1 to 6 balance a small equation.
bool SmallBalanceExists(const std::vector<TColumn>& columns) {
  if (columns.size() > 4 || columns.size() < 2) return false;
  std::vector<TWide> x(columns.size(), 1);
  for (;;) {
    if (Conserved(columns, x)) return true;
    std::size_t k = 0;
    while (k < x.size() && x[k] == 6) x[k++] = 1;
    if (k == x.size()) return false;
    ++x[k];
  }
}

std::string BalanceProblem(const TReaction& reaction) {
  const TBalance balance = BalanceReaction(reaction);
  std::vector<TColumn> columns;
  const bool read = Columns(reaction, columns);
  std::string line, reason;
  std::vector<std::string> notes;
  FormatBankLine(reaction, line, reason, notes);
  if (balance.balanced) {
    if (!read) return "balanced, but a formula does not read: " + line;
    std::vector<TWide> x;
    for (const int64_t c : balance.coefficients) {
      if (c <= 0) return "balanced with a coefficient not positive: " + line;
      x.push_back(c);
    }
    if (x.size() != columns.size() || !Conserved(columns, x))
      return "balanced with coefficients that do not conserve: " + line;
    return {};
  }
  if (read && balance.reason.rfind("no positive", 0) == 0 && SmallBalanceExists(columns))
    return "called unbalanceable, but small coefficients balance it: " + line;
  return {};
}

// The record as export carries it: every text ends at its first zero byte.
void ClearPastEnds(unsigned char* record) {
  const auto clear = [](unsigned char* field, std::size_t size) {
    if (auto* zero = static_cast<unsigned char*>(std::memchr(field, 0, size)))
      std::memset(zero, 0, size - static_cast<std::size_t>(zero - field));
  };
  clear(record, TReaction::kQuestionSize);
  for (int i = 0; i < TReaction::kSlots; ++i) {
    clear(record + 104 + 28 * i, Substance::kFormulaSize);
    clear(record + 104 + 28 * i + 14, Substance::kFormulaSize);
  }
}

bool ValidUtf8(const std::string& s) {
  // Unicode's table of well-formed byte sequences, row by row.
  std::size_t i = 0;
  const auto in = [&](std::size_t k, unsigned lo, unsigned hi) {
    return k < s.size() && static_cast<unsigned char>(s[k]) >= lo &&
           static_cast<unsigned char>(s[k]) <= hi;
  };
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b <= 0x7F) {
      i += 1;
    } else if (b >= 0xC2 && b <= 0xDF && in(i + 1, 0x80, 0xBF)) {
      i += 2;
    } else if (b == 0xE0 && in(i + 1, 0xA0, 0xBF) && in(i + 2, 0x80, 0xBF)) {
      i += 3;
    } else if (((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) && in(i + 1, 0x80, 0xBF) &&
               in(i + 2, 0x80, 0xBF)) {
      i += 3;
    } else if (b == 0xED && in(i + 1, 0x80, 0x9F) && in(i + 2, 0x80, 0xBF)) {
      i += 3;
    } else if (b == 0xF0 && in(i + 1, 0x90, 0xBF) && in(i + 2, 0x80, 0xBF) &&
               in(i + 3, 0x80, 0xBF)) {
      i += 4;
    } else if (b >= 0xF1 && b <= 0xF3 && in(i + 1, 0x80, 0xBF) && in(i + 2, 0x80, 0xBF) &&
               in(i + 3, 0x80, 0xBF)) {
      i += 4;
    } else if (b == 0xF4 && in(i + 1, 0x80, 0x8F) && in(i + 2, 0x80, 0xBF) &&
               in(i + 3, 0x80, 0xBF)) {
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string ImportProperty(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  const TImportResult first = ImportBank(in, true);
  for (const auto& reaction : first.reactions)
    if (std::string problem = BalanceProblem(*reaction); !problem.empty()) return problem;
  const TExportResult exported = ExportBank(first.reactions);
  if (!exported.ok) return "export refuses what import took";
  std::istringstream again(exported.text);
  const TImportResult second = ImportBank(again, true);
  if (!second.ok) return "import refuses what export wrote";
  if (Encode(first.reactions) != Encode(second.reactions))
    return "text -> binary -> text -> binary changed the file";
  return {};
}

std::string ExportProperty(const uint8_t* data, std::size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  TReactionList list;
  ParseReactionFile(list, bytes.data(), bytes.size());
  const TExportResult exported = ExportBank(list);
  if (!exported.ok) return {};
  std::istringstream text(exported.text);
  const TImportResult imported = ImportBank(text, true);
  if (!imported.ok) return "import refuses what export wrote";
  if (imported.reactions.size() != list.size()) return "a reaction was lost";
  unsigned char want[kReactionRecordSize], got[kReactionRecordSize];
  for (std::size_t r = 0; r < list.size(); ++r) {
    EncodeReaction(*list[r], want);
    ClearPastEnds(want);
    EncodeReaction(*imported.reactions[r], got);
    if (std::memcmp(want, got, sizeof want) != 0)
      return "reaction " + std::to_string(r + 1) + " came back changed";
  }
  return {};
}

std::string ConversionProperty(const uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string back;
  if (!Utf8ToWindows1252(Windows1252ToUtf8(bytes), back) || back != bytes)
    return "Windows-1252 -> UTF-8 -> Windows-1252 changed the text";
  std::string stored;
  if (!Utf8ToWindows1252(bytes, stored)) return {};
  if (!ValidUtf8(bytes)) return "text that is not UTF-8 was accepted";
  if (Windows1252ToUtf8(stored) != bytes) return "UTF-8 -> Windows-1252 -> UTF-8 changed the text";
  return {};
}

#include <map>
#include <string>
#include <vector>

#include "keypad/rules/keypad_key.h"

namespace {

struct TElementColumn {
  int x;
  int firstY;
  std::vector<const char*> labels;
};

// Element keys stand in the columns of the periodic table; rows are 15 units apart.
const std::vector<TElementColumn>& ElementColumns() {
  static const std::vector<TElementColumn> columns = {
      {24, 39, {"H", "Li", "Na", "K", "Rb", "Cs", "Fr"}},
      {39, 54, {"Be", "Mg", "Ca", "Sr", "Ba", "Ra"}},
      {54, 84, {"Sc", "Y", "La", "Ac"}},
      {69, 84, {"Ti", "Zr", "Hf", "Rf"}},
      {84, 84, {"V", "Nb", "Ta", "Ha"}},
      {99, 84, {"Cr", "Mo", "W", "Sg"}},
      {114, 84, {"Mn", "Tc", "Re", "Ns"}},
      {129, 84, {"Fe", "Ru", "Os", "Hs"}},
      {144, 84, {"Co", "Rh", "Ir", "Mt"}},
      {159, 84, {"Ni", "Pd", "Pt"}},
      {174, 84, {"Cu", "Ag", "Au"}},
      {189, 84, {"Zn", "Cd", "Hg"}},
      {204, 54, {"B", "Al", "Ga", "In", "Tl"}},
      {219, 54, {"C", "Si", "Ge", "Sn", "Pb"}},
      {234, 54, {"N", "P", "As", "Sb", "Bi"}},
      {249, 54, {"O", "S", "Se", "Te", "Po"}},
      {264, 54, {"F", "Cl", "Br", "I", "At"}},
      {279, 39, {"He", "Ne", "Ar", "Kr", "Xe", "Rn"}},
  };
  return columns;
}

constexpr int kRowStep = 15;

std::vector<TKeypadKey> BuildKeys() {
  std::vector<TKeypadKey> keys;
  int id = 101;
  for (const TElementColumn& column : ElementColumns()) {
    int y = column.firstY;
    for (const char* label : column.labels) {
      keys.push_back({id++, label, column.x, y});
      y += kRowStep;
    }
  }
  const char* charges[] = {"1+", "2+", "3+", "4+", "5+", "1-", "2-", "3-", "4-", "5-"};
  int x = 55;
  for (const char* label : charges) {
    keys.push_back({id++, label, x, 36});
    x += 15;
  }
  keys.push_back({id++, "+", 57, 60});
  keys.push_back({id++, "->", 72, 60});
  keys.push_back({id++, "(", 87, 60});
  keys.push_back({id++, ")", 102, 60});
  for (int digit = 2; digit <= 9; ++digit) {
    int column = (digit - 2) % 4;
    int y = digit <= 5 ? 52 : 67;
    keys.push_back({id++, std::to_string(digit), 129 + 15 * column, y});
  }
  return keys;
}

}  // namespace

const std::vector<TKeypadKey>& KeypadKeys() {
  static const std::vector<TKeypadKey> keys = BuildKeys();
  return keys;
}

int KeypadKeyId(const std::string& label) {
  static const std::map<std::string, int> ids = [] {
    std::map<std::string, int> map;
    for (const TKeypadKey& key : KeypadKeys()) map[key.label] = key.id;
    return map;
  }();
  const auto found = ids.find(label);
  return found == ids.end() ? 0 : found->second;
}

std::string KeySpokenName(const std::string& label) {
  static const std::map<std::string, std::string> names = {
      {"+", "plus"},
      {"->", "yields"},
      {"(", "open parenthesis"},
      {")", "close parenthesis"},
  };
  if (const auto name = names.find(label); name != names.end()) return name->second;
  if (label.empty()) return label;
  // A key's digit alone is a subscript; a digit with its sign, a charge.
  if (label.back() == '+' || label.back() == '-') return "charge " + label;
  if (label.front() >= '0' && label.front() <= '9') return "subscript " + label;
  return label;
}

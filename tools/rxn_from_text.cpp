// Turns the reviewable text list of reactions into the binary reaction file.
//
// One reaction per line:   TYPE | QUESTION | REACTANTS -> PRODUCTS
// TYPE is one of Precipitation, AcidBase, Redox, ComplexIon, Miscellaneous (or 0..4);
// substances are separated by " + " and a charge follows its formula in braces: Ag{+},
// SO4{2-}, Fe{3+}. Blank lines and lines starting with '#' are skipped.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/charge_text.h"
#include "model/reaction_file.h"

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> SplitOn(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t start = 0, at;
  while ((at = text.find(separator, start)) != std::string::npos) {
    parts.push_back(Trim(text.substr(start, at - start)));
    start = at + separator.size();
  }
  parts.push_back(Trim(text.substr(start)));
  return parts;
}

int TypeCode(const std::string& name) {
  const char* names[] = {"Precipitation", "AcidBase", "Redox", "ComplexIon", "Miscellaneous"};
  for (int i = 0; i < 5; ++i)
    if (name == names[i] || name == std::to_string(i)) return i;
  return -1;
}

// "+", "-", or digits without a leading zero followed by one sign: "2+", "3-".
bool IsChargeText(const std::string& text) {
  if (text == "+" || text == "-") return true;
  if (text.size() < 2 || text[0] < '1' || text[0] > '9') return false;
  for (std::size_t i = 1; i + 1 < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return text.back() == '+' || text.back() == '-';
}

bool FillSide(const std::string& text, Substance* side, std::string& error) {
  const auto substances = SplitOn(text, " + ");
  if (substances.size() > TReaction::kSlots) {
    error = "more than five substances on one side";
    return false;
  }
  for (std::size_t i = 0; i < substances.size(); ++i) {
    std::string formula = substances[i];
    int32_t charge = 0;
    if (const auto brace = formula.find('{'); brace != std::string::npos) {
      if (formula.back() != '}') {
        error = "unclosed charge in " + formula;
        return false;
      }
      const std::string text = formula.substr(brace + 1, formula.size() - brace - 2);
      if (!IsChargeText(text)) {
        error = "charge must be +, -, or a number and a sign: " + substances[i];
        return false;
      }
      charge = ChargeFromText(text);
      formula.resize(brace);
    }
    if (formula.empty() || formula.size() > 9) {
      error = "formula must have 1 to 9 characters: " + substances[i];
      return false;
    }
    side[i].SetFormula(formula);
    side[i].charge = charge;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: rxn_from_text SOURCE.txt OUTPUT.rxn\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot open\n";
    return 1;
  }
  TReactionList list;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::string error;
    const auto fields = SplitOn(line, "|");
    std::vector<std::string> sides;
    if (fields.size() != 3) {
      error = "expected TYPE | QUESTION | ANSWER";
    } else if (TypeCode(fields[0]) < 0) {
      error = "unknown type " + fields[0];
    } else if (fields[1].empty() || fields[1].size() > 99) {
      error = "question must have 1 to 99 characters";
    } else if ((sides = SplitOn(fields[2], "->")).size() != 2) {
      error = "answer needs exactly one ->";
    }
    if (error.empty()) {
      auto reaction = std::make_unique<TReaction>(fields[1], TypeCode(fields[0]));
      if (FillSide(sides[0], reaction->reactants, error) &&
          FillSide(sides[1], reaction->products, error))
        list.push_back(std::move(reaction));
    }
    if (!error.empty()) {
      std::cerr << argv[1] << ":" << number << ": " << error << "\n";
      return 1;
    }
  }
  if (in.bad()) {
    std::cerr << argv[1] << ": read error\n";
    return 1;
  }
  std::string error;
  if (!WriteReactionFile(list, argv[2], &error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

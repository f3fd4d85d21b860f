#pragma once
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

// Reads the element symbol that starts at formula[i] (a capital letter, then at most one small
// letter) into symbol and moves i past it; false, with i unmoved, when no symbol starts there.
// The balance and the keying checks both read formula texts with it.
inline bool ReadElementSymbol(std::string_view formula, std::size_t& i, std::string& symbol) {
  if (i >= formula.size() || !std::isupper(static_cast<unsigned char>(formula[i]))) return false;
  symbol.assign(1, formula[i++]);
  if (i < formula.size() && std::islower(static_cast<unsigned char>(formula[i])))
    symbol += formula[i++];
  return true;
}

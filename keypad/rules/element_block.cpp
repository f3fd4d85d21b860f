#include "keypad/rules/element_block.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kSBlock = {"H",  "He", "Li", "Be", "Na", "Mg", "K",
                                "Ca", "Rb", "Sr", "Cs", "Ba", "Fr", "Ra"};

constexpr std::array kPBlock = {"B",  "C",  "N",  "O",  "F",  "Ne", "Al", "Si", "P",
                                "S",  "Cl", "Ar", "Ga", "Ge", "As", "Se", "Br", "Kr",
                                "In", "Sn", "Sb", "Te", "I",  "Xe", "Tl", "Pb", "Bi",
                                "Po", "At", "Rn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

// Groups 3 to 12, the heavy ones also under the names the keypad still shows (Ha, Ns).
constexpr std::array kDBlock = {"Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Y",
                                "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "La", "Hf",
                                "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg", "Ac", "Rf", "Db",
                                "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Ha", "Ns"};

constexpr std::array kFBlock = {"Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho",
                                "Er", "Tm", "Yb", "Lu", "Th", "Pa", "U",  "Np", "Pu", "Am",
                                "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr"};

template <std::size_t N>
bool Holds(const std::array<const char*, N>& block, std::string_view symbol) {
  return std::any_of(block.begin(), block.end(),
                     [symbol](const char* element) { return symbol == element; });
}

}  // namespace

ElementBlock BlockOfElement(std::string_view symbol) {
  if (Holds(kSBlock, symbol)) return ElementBlock::S;
  if (Holds(kPBlock, symbol)) return ElementBlock::P;
  if (Holds(kDBlock, symbol)) return ElementBlock::D;
  if (Holds(kFBlock, symbol)) return ElementBlock::F;
  return ElementBlock::Unknown;
}

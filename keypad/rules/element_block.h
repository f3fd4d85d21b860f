#pragma once
#include <string_view>

// The block of the periodic table an element belongs to: the subshell its outermost electrons
// fill. Hydrogen and helium are s; lanthanum and actinium stand with the d block in group 3, as
// on the keypad, and the fourteen after each of them form the f block.
enum class ElementBlock { S, P, D, F, Unknown };

// The block of the element with this symbol ("Na", "Cl", "Fe"); Unknown for anything else.
ElementBlock BlockOfElement(std::string_view symbol);

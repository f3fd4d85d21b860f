#pragma once
#include <string_view>
#include <vector>

// The symbols of the 118 elements as chemists write them today, by atomic number. The keypad
// shows 81 of them (and two older names, Ha and Ns); a symbol it lacks is still an element, and
// is refused as a missing key rather than as no element.
const std::vector<std::string_view>& ElementSymbols();

bool IsElementSymbol(std::string_view symbol);

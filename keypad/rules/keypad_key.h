#pragma once
#include <string>
#include <vector>

// One key of the formula keypad as the keypad dialogs place it (dialog units, 14 x 14).
struct TKeypadKey {
  int id;
  std::string label;
  int x, y;

  static constexpr int kSize = 14;
};

// All keypad keys (101-203), in id order. Dialogs without "+" and "->" leave out 192 and 193.
const std::vector<TKeypadKey>& KeypadKeys();

// What a screen reader calls the key of this label: "Na", "subscript 2", "charge 2+", "yields".
std::string KeySpokenName(const std::string& label);

// The id of the key whose label is label ("Cl", "2+", "->"); 0 when no key shows it.
int KeypadKeyId(const std::string& label);

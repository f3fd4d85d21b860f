#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keypad/rules/keypad.h"

// The keyboard as a shortcut for the keypad: turns typed characters into presses of keypad
// keys, through the keypad's own operations. It adds no rule of its own to what may be built:
// a character whose key is greyed is refused and changes nothing, and the reason given is the
// one the greyed key stands for.
//
//   Cl        the element Cl (C is pressed, then undone and Cl pressed when the l comes)
//   A         waits for its lower-case letter (no element A)
//   U, Ce     refused as keys the keypad lacks: they are elements, but not on the keypad
//   2 to 9    subscripts
//   ^2- ^+    charge keys; Fe3+ Cu2+ S2- turn the subscript into the charge, Ag+ Cl- are 1+ 1-
//   + after a blank (or where no charge can go) is the "+" key
//   -> = →    the arrow; ( ) as they are; a blank only separates
//
// It draws nothing and knows no widget: a dialog forwards key presses and pastes to it.
class TKeyboardInput {
 public:
  // A refused character: which, where (1-based, in characters of the text given) and why.
  struct Refusal {
    std::string character;  // UTF-8
    std::size_t position = 0;
    std::string reason;

    // "Nothing was pasted: "3" (character 11) cannot be keyed: ..."
    std::string PasteMessage() const;
  };

  explicit TKeyboardInput(TKeypad& keypad) : keypad_(keypad) {}
  TKeyboardInput(const TKeyboardInput&) = delete;
  TKeyboardInput& operator=(const TKeyboardInput&) = delete;

  // One typed character. Empty when it was keyed (or waits for the next one); otherwise why it
  // was refused, and the keypad and the waiting characters are as they were.
  std::string Type(char32_t c);
  // Backspace: drops the characters that wait, or else undoes the last key.
  void Backspace();
  // Keys a whole text, all of it or, when a character is refused (or the text ends with one
  // still waiting), none of it; the first refusal.
  std::optional<Refusal> Paste(std::u32string_view text);
  // Every refusal that pasting text meets, in order, keying nothing: each character that
  // typing it would refuse (the rest typed on without it, as typing goes on after a refused
  // key) and an end that leaves a character waiting. Empty when the paste would key it all.
  std::vector<Refusal> PasteRefusals(std::u32string_view text);

  // What waits for the next character ("A", "^2", "-"); the strip shows it after the equation.
  const std::string& Pending() const { return typing_.pending; }
  // Forgets what was typed last (the keypad changed from a click): "Cl" is no longer one
  // letter away, and "+" is no longer "after a blank".
  void Forget();

  // The one-line hint each keypad dialog shows.
  static std::string Hint(bool equationMode);
  static std::string Utf8(char32_t c);

 private:
  // What the last typed character did, as far as the next one may build on it.
  enum class Last { Nothing, OneLetterElement, DashCharge };

  struct Typing {
    std::string pending;
    bool afterBlank = false;
    Last last = Last::Nothing;
    char letter = 0;         // the one-letter element of OneLetterElement
    char consumedDigit = 0;  // the subscript a DashCharge turned into its charge
  };

  std::string Step(char32_t c);
  std::string StepPending(char32_t c);
  std::string Capital(char c);
  std::string Lower(char c);
  std::string Sign(char sign);
  std::string Greater();
  // Presses a key, or says why it is greyed.
  std::string PressKey(int id);
  std::string PressElement(const std::string& symbol);
  // The subscript 2 to 5 of a formula that is one element and that subscript, else 0.
  char LoneElementSubscript() const;
  // Why a greyed key is greyed, in words.
  std::string WhyOff(int id) const;
  std::string WhyOffElement() const;
  std::string WhyOffSubscript() const;
  std::string WhyOffCharge() const;
  std::string WhyOffSeparator(const char* key) const;

  TKeypad& keypad_;
  Typing typing_;
};

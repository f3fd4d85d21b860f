// Typed characters as keypad presses, without a window: the refusals and their reasons, pastes
// that key all or nothing, and no refused character leaving a trace.
#include "keypad/rules/keyboard_input.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "keypad_harness.h"
#include "tests/support/has_text.h"

namespace {

std::u32string U32(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

// Types text into a harness; returns "position:reason" for every refused character.
std::vector<std::string> TypeAll(TKeyboardInput& input, std::u32string_view text) {
  std::vector<std::string> refused;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string reason = text[i] == U'\b' ? (input.Backspace(), "") : input.Type(text[i]);
    if (!reason.empty()) refused.push_back(std::to_string(i + 1) + ":" + reason);
  }
  return refused;
}

struct RefusalCase {
  const char* setup;  // "Answer", "NewQuestion" or "Substance"
  const char* typed;
  const char* keyed;         // as KeypadHarness::Text renders it
  const char* firstRefusal;  // "position:part of the reason", empty for none
};

const RefusalCase kRefusals[] = {
    {"Answer", "3Fe", "Fe", "1:no coefficients"},
    {"Answer", "Fe3+ + 3OH-", "Fe^3^+ + OH^1^-", "8:no coefficients"},
    {"Answer", "Ag+2", "Ag^1^+", "4:after a charge no subscript can follow"},
    {"Answer", "cl", "", "1:begin with a capital"},
    {"Answer", "Hx", "H", "2:no element Hx"},
    {"Answer", "Q", "", "1:no element symbol begins with Q"},
    // Elements the keypad has no key for are refused as such, not as no element.
    {"Answer", "U", "", "1:the keypad has no key for U"},
    {"Answer", "Ce", "C", "2:the keypad has no key for Ce"},
    {"Answer", "Eu", "", "2:the keypad has no key for Eu"},
    {"Answer", "E2", "", "2:second letter (Er, Es, Eu: the keypad has no key for them)"},
    {"Answer", "A2g", "Ag", "2:needs a second letter (Ac, Ag, Al, Ar, As, At, Au)"},
    {"Answer", "Na1", "Na", "3:subscripts run from 2 to 9"},
    {"Answer", "Na^6+", "Na^1^+", "4:a charge is written"},
    {"Answer", "Ca(OH+", "Ca(OH", "6:close it first"},
    {"Answer", "Ca(OH)+", "Ca(OH)", "7:after \")\" a subscript must follow"},
    {"Answer", "Cl >", "Cl", "4:only ends the arrow"},
    {"Answer", "Na -> Cl ->", "Na -> Cl", "10:has its arrow already"},
    {"Answer", "H - H", "H", "4:can only begin the arrow"},
    {"Answer", "+Na", "Na", "1:a substance must come before \"+\""},
    {"Answer", "Na++Cl^--", "Na^1^+ + Cl^1^-", ""},  // the last "-" waits for ">"
    {"NewQuestion", "Na + (OH)2", "Na + OH_2", "6:only the first reactant may begin with \"(\""},
    {"Answer", "Na + (OH)2", "Na + (OH)_2", ""},
    {"Substance", "SO4 +", "SO_4", "5:no blank between them"},
    {"Substance", "Na ->", "Na", "4:no blank between them"},
    {"Substance", "H2O+", "H_2O^1^+", ""},
    {"Substance", "(Ab", "(", "3:no element Ab"},
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.setup << " \"" << c.typed << '"';
}

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, NameTheFirstRefusedCharacterAndWhy) {
  const RefusalCase& c = GetParam();
  const std::string setup = c.setup;
  KeypadHarness harness = setup == "Answer"        ? KeypadHarness::Answer()
                          : setup == "NewQuestion" ? KeypadHarness::NewQuestion()
                                                   : KeypadHarness::Substance();
  TKeyboardInput input(harness.keypad);
  const std::vector<std::string> refused = TypeAll(input, U32(c.typed));
  if (*c.firstRefusal) {
    ASSERT_FALSE(refused.empty());
    const std::string expected = c.firstRefusal;
    const std::string position = expected.substr(0, expected.find(':') + 1);
    EXPECT_EQ(refused.front().substr(0, position.size()), position) << refused.front();
    EXPECT_TRUE(HasText(refused.front(), expected.substr(position.size()))) << refused.front();
  } else {
    EXPECT_TRUE(refused.empty()) << refused.front();
  }
  EXPECT_EQ(harness.Text(), c.keyed);
}

INSTANTIATE_TEST_SUITE_P(, Refusals, testing::ValuesIn(kRefusals));

TEST(KeyboardInput, WaitingCharactersShowAndBackspaceTakesThemFirst) {
  KeypadHarness harness = KeypadHarness::Answer();
  TKeyboardInput input(harness.keypad);
  EXPECT_EQ(input.Type(U'Z'), "");
  EXPECT_EQ(input.Pending(), "Z");
  EXPECT_EQ(harness.keypad.UndoDepth(), 0u);
  input.Backspace();
  EXPECT_EQ(input.Pending(), "");
  TypeAll(input, U32("Zn^2"));
  EXPECT_EQ(input.Pending(), "^2");
  input.Backspace();
  EXPECT_EQ(input.Pending(), "^");
  TypeAll(input, U32("- -"));
  EXPECT_EQ(harness.Text(), "Zn^1^-");
  EXPECT_EQ(input.Pending(), "-");
  input.Backspace();
  input.Backspace();  // nothing waits now: the charge is undone
  EXPECT_EQ(harness.Text(), "Zn");
}

// A click between two typed characters ends what they would have made together.
TEST(KeyboardInput, ForgetEndsTheTwoLetterElementAndTheBlank) {
  KeypadHarness harness = KeypadHarness::Answer();
  TKeyboardInput input(harness.keypad);
  TypeAll(input, U32("C"));
  input.Forget();
  EXPECT_NE(input.Type(U'l'), "");
  EXPECT_EQ(harness.Text(), "C");
  TypeAll(input, U32(" "));
  input.Forget();
  EXPECT_EQ(input.Type(U'+'), "");  // right after the formula again: a charge
  EXPECT_EQ(harness.Text(), "C^1^+");
}

TEST(KeyboardInput, CharactersPastedFromElsewhereKeyAsTypedOnes) {
  KeypadHarness harness = KeypadHarness::Answer();
  TKeyboardInput input(harness.keypad);
  // Fe³⁺ + SO₄²⁻ → Fe2(SO4)3, with a minus sign and non-breaking blanks.
  const std::u32string text =
      U"Fe\u00B3\u207A\u00A0+ SO\u2084\u00B2\u2212 \u2192 Fe\u2082(SO\u2084)\u2083";
  EXPECT_EQ(input.Paste(text), std::nullopt);
  EXPECT_EQ(harness.Text(), "Fe^3^+ + SO_4^2^- -> Fe_2(SO_4)_3");
}

TEST(KeyboardInput, APasteKeysAllOrNothing) {
  const struct {
    const char* before;  // typed first
    const char* pasted;
    const char* message;  // empty when the paste keys
    const char* after;
  } cases[] = {
      {"", "Ag+ + Cl- -> AgCl", "", "Ag^1^+ + Cl^1^- -> AgCl"},
      {"Ag+ + C", "l- -> AgCl", "", "Ag^1^+ + Cl^1^- -> AgCl"},
      {"Fe3", "+ + OH- -> Fe(OH)3", "", "Fe^3^+ + OH^1^- -> Fe(OH)_3"},
      {"Fe", "3+ + 3OH-",
       "Nothing was pasted: \"3\" (character 6) cannot be keyed: there are no coefficients: a "
       "formula begins with an element or \"(\".",
       "Fe"},
      {"", "CO3^2- + 2H+", "\"2\" (character 10)", ""},
      {"", "Ag+ + A", "\"A\" (character 7) cannot be keyed: the text ends before", ""},
      {"", "Na^2", "\"^\" (character 3) cannot be keyed: the text ends inside", ""},
      {"Na", " -", "\"-\" (character 2) cannot be keyed: the text ends with a \"-\"", "Na"},
  };
  for (const auto& c : cases) {
    KeypadHarness harness = KeypadHarness::Answer();
    TKeyboardInput input(harness.keypad);
    ASSERT_TRUE(TypeAll(input, U32(c.before)).empty()) << c.before;
    const std::string snapshot = harness.Snapshot();
    const std::size_t depth = harness.keypad.UndoDepth();
    const auto refusal = input.Paste(U32(c.pasted));
    if (*c.message) {
      ASSERT_TRUE(refusal.has_value()) << c.pasted;
      EXPECT_TRUE(HasText(refusal->PasteMessage(), c.message)) << refusal->PasteMessage();
      EXPECT_EQ(harness.Snapshot(), snapshot) << c.pasted;
      EXPECT_EQ(harness.keypad.UndoDepth(), depth) << c.pasted;
      EXPECT_EQ(input.Pending(), "") << c.pasted;
    } else {
      EXPECT_FALSE(refusal.has_value()) << refusal->PasteMessage();
    }
    EXPECT_EQ(harness.Text(), c.after) << c.pasted;
  }
}

// Every refusal a paste meets, as typing the same text would meet them, and nothing keyed.
TEST(KeyboardInput, APasteNamesEveryRefusalItMeets) {
  const struct {
    const char* before;
    const char* pasted;
    std::vector<std::string> refusals;  // "position:character:part of the reason"
  } cases[] = {
      {"", "Ag+ + Cl- -> AgCl", {}},
      {"",
       "2co2+",
       {"1:2:no coefficients", "2:c:capital letter", "3:o:capital letter", "4:2:no coefficients",
        "5:+:a substance must come before"}},
      {"Fe", "3+ + 3OH-", {"6:3:no coefficients"}},
      {"",
       "Q2 + x",
       {"1:Q:no element symbol begins with Q", "2:2:no coefficients",
        "4:+:a substance must come before", "6:x:capital letter"}},
      {"", "Ag+ + A", {"7:A:the text ends before the second letter"}},
      {"", "2Ag^", {"1:2:no coefficients", "4:^:the text ends inside this charge"}},
  };
  for (const auto& c : cases) {
    KeypadHarness harness = KeypadHarness::Answer();
    TKeyboardInput input(harness.keypad);
    ASSERT_TRUE(TypeAll(input, U32(c.before)).empty()) << c.before;
    const std::string snapshot = harness.Snapshot();
    const std::vector<TKeyboardInput::Refusal> refusals = input.PasteRefusals(U32(c.pasted));
    ASSERT_EQ(refusals.size(), c.refusals.size()) << c.pasted;
    for (std::size_t i = 0; i < refusals.size(); ++i) {
      const std::string& expected = c.refusals[i];
      const std::string place =
          std::to_string(refusals[i].position) + ":" + refusals[i].character + ":";
      EXPECT_EQ(place, expected.substr(0, place.size())) << c.pasted << " refusal " << i;
      EXPECT_TRUE(HasText(refusals[i].reason,
                          expected.substr(expected.find(':', expected.find(':') + 1) + 1)))
          << c.pasted << ": " << refusals[i].reason;
    }
    EXPECT_EQ(harness.Snapshot(), snapshot) << c.pasted;
    EXPECT_EQ(input.Pending(), "") << c.pasted;
  }
}

// Random typing in every setup: a refused character changes nothing (the keys, the symbols,
// the undo list, what waits), and pasting the accepted characters in one go gives the same.
TEST(KeyboardInput, ARefusedCharacterLeavesNoTrace) {
  const std::u32string alphabet = U"ACFHKNOSZaeglnru23459^+-> ()=";
  std::mt19937 random(20261207);
  for (const KeypadSetup& setup : kKeypadSetups) {
    for (int round = 0; round < 80; ++round) {
      KeypadHarness typed(setup.config, setup.mode);
      TKeyboardInput typing(typed.keypad);
      std::u32string accepted;
      for (int i = 0; i < 30; ++i) {
        const char32_t c = alphabet[random() % alphabet.size()];
        const std::string before = typed.Snapshot();
        const std::size_t depth = typed.keypad.UndoDepth();
        const std::string pending = typing.Pending();
        if (typing.Type(c).empty()) {
          accepted += c;
          continue;
        }
        EXPECT_EQ(typed.Snapshot(), before) << setup.name;
        EXPECT_EQ(typed.keypad.UndoDepth(), depth) << setup.name;
        EXPECT_EQ(typing.Pending(), pending) << setup.name;
      }
      if (!typing.Pending().empty()) continue;
      KeypadHarness pasted(setup.config, setup.mode);
      TKeyboardInput pasting(pasted.keypad);
      const auto refusal = pasting.Paste(accepted);
      EXPECT_FALSE(refusal.has_value()) << refusal->PasteMessage();
      EXPECT_EQ(pasted.Snapshot(), typed.Snapshot()) << setup.name;
      EXPECT_EQ(pasted.keypad.UndoDepth(), typed.keypad.UndoDepth()) << setup.name;
    }
  }
}

}  // namespace

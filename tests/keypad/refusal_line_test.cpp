// The line that names refused characters: all of them with their reasons where they fit, else
// the first with its reason and the others by name, else the first and how many more.
#include "keypad/rules/refusal_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Refusals = std::vector<TKeyboardInput::Refusal>;

const char* const kCoefficient = "there are no coefficients";
const char* const kCapital = "element symbols begin with a capital letter";
const char* const kPlus = "a substance must come before \"+\"";

// What "2co2+" typed at the start of an answer meets.
Refusals TwoCo2Plus() {
  return {{"2", 1, kCoefficient},
          {"c", 2, kCapital},
          {"o", 3, kCapital},
          {"2", 4, kCoefficient},
          {"+", 5, kPlus}};
}

struct LineCase {
  const char* name;
  Refusals refusals;
  std::size_t room;  // characters the line holds
  std::string line;
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

const LineCase kLines[] = {
    {"None", {}, 200, ""},
    {"OneAlwaysWhole", {{"+", 5, kPlus}}, 10, "\"+\" refused: a substance must come before \"+\""},
    {"AllWithTheirReasons", TwoCo2Plus(), 200,
     "\"2\" refused: there are no coefficients; \"c\", \"o\" refused: element symbols begin with a "
     "capital letter; \"+\" refused: a substance must come before \"+\""},
    {"FirstAndTheOthersByName", TwoCo2Plus(), 100,
     "\"2\" refused: there are no coefficients (and 4 more: \"c\", \"o\", \"2\", \"+\")"},
    {"FirstAndHowManyMore", TwoCo2Plus(), 60,
     "\"2\" refused: there are no coefficients (and 4 more)"},
    {"AnythingTooLongForTheRoomIsTheShortestForm", TwoCo2Plus(), 5,
     "\"2\" refused: there are no coefficients (and 4 more)"},
    {"SameCharacterOtherReasonNamedTwice",
     {{"-", 3, "a charge follows its formula"}, {"-", 9, "the equation has its arrow already"}},
     200,
     "\"-\" refused: a charge follows its formula; \"-\" refused: the equation has its arrow "
     "already"},
};

class RefusalLines : public testing::TestWithParam<LineCase> {};

TEST_P(RefusalLines, NameEveryRefusedCharacterAsFarAsTheLineHolds) {
  const LineCase& c = GetParam();
  std::vector<std::string> asked;
  const std::string line = RefusalLine(c.refusals, [&](std::string_view text) {
    asked.emplace_back(text);
    return text.size() <= c.room;
  });
  EXPECT_EQ(line, c.line);
  // Never a longer line than the room where a shorter form was left to try.
  if (line.size() > c.room && c.refusals.size() > 1) {
    EXPECT_EQ(asked.size(), 2u);
  }
}

INSTANTIATE_TEST_SUITE_P(, RefusalLines, testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

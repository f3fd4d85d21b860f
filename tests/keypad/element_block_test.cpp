#include "keypad/rules/element_block.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "keypad/rules/element_symbols.h"
#include "keypad/rules/keypad_key.h"

namespace {

TEST(ElementBlock, AFewElementsOfEachBlock) {
  const std::pair<const char*, ElementBlock> cases[] = {
      {"H", ElementBlock::S},       {"He", ElementBlock::S},       {"Na", ElementBlock::S},
      {"Ba", ElementBlock::S},      {"Ra", ElementBlock::S},       {"B", ElementBlock::P},
      {"C", ElementBlock::P},       {"Cl", ElementBlock::P},       {"I", ElementBlock::P},
      {"Rn", ElementBlock::P},      {"Pb", ElementBlock::P},       {"Sc", ElementBlock::D},
      {"Fe", ElementBlock::D},      {"Hg", ElementBlock::D},       {"La", ElementBlock::D},
      {"Ac", ElementBlock::D},      {"Ha", ElementBlock::D},       {"Ns", ElementBlock::D},
      {"Ce", ElementBlock::F},      {"U", ElementBlock::F},        {"Lu", ElementBlock::F},
      {"", ElementBlock::Unknown},  {"X", ElementBlock::Unknown},  {"CL", ElementBlock::Unknown},
      {"h", ElementBlock::Unknown}, {"Nax", ElementBlock::Unknown}};
  for (const auto& [symbol, block] : cases)
    EXPECT_EQ(BlockOfElement(symbol), block) << '"' << symbol << '"';
}

// Every element key gets a tint: none is unknown, and the keypad's columns add up by block.
TEST(ElementBlock, EveryElementKeyHasItsBlock) {
  std::map<ElementBlock, int> count;
  for (const TKeypadKey& key : KeypadKeys()) {
    if (key.id < 101 || key.id > 181) continue;
    const ElementBlock block = BlockOfElement(key.label);
    EXPECT_NE(block, ElementBlock::Unknown) << key.label;
    ++count[block];
  }
  EXPECT_EQ(count[ElementBlock::S], 14);
  EXPECT_EQ(count[ElementBlock::P], 30);
  EXPECT_EQ(count[ElementBlock::D], 37);
}

// The 118 elements, each once and each in a block; every element key is one of them but the
// two older names the keypad still shows.
TEST(ElementSymbols, AreTheElementsOfTheBlocksAndTheKeys) {
  const auto& symbols = ElementSymbols();
  EXPECT_EQ(symbols.size(), 118u);
  EXPECT_EQ(std::set<std::string_view>(symbols.begin(), symbols.end()).size(), symbols.size());
  for (std::string_view symbol : symbols)
    EXPECT_NE(BlockOfElement(symbol), ElementBlock::Unknown) << symbol;
  for (const TKeypadKey& key : KeypadKeys()) {
    if (key.id < 101 || key.id > 181) continue;
    EXPECT_EQ(IsElementSymbol(key.label), key.label != "Ha" && key.label != "Ns") << key.label;
  }
}

}  // namespace

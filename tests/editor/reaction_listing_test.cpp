// The equation line of the listing, to the pixel on a surface with fixed metrics.
#include "editor/rules/reaction_listing.h"

#include <gtest/gtest.h>

#include "tests/support/recording_surface.h"

namespace {

using Piece = RecordingSurface::Piece;
constexpr int kW = 8;        // every character
constexpr int kH = 15;       // "X", so h/5 = 3
constexpr int kScriptW = 5;  // every subscript and charge character: narrower than the line's

std::unique_ptr<TReaction> Of(std::vector<Substance> reactants, std::vector<Substance> products) {
  auto reaction = std::make_unique<TReaction>("Q.", 0);
  std::copy(reactants.begin(), reactants.end(), reaction->reactants);
  std::copy(products.begin(), products.end(), reaction->products);
  return reaction;
}

// The pieces as text with each one's height: "_" lowered, "^" raised, nothing on the line.
std::string Heights(const std::vector<Piece>& pieces, int y) {
  std::string out;
  for (const Piece& piece : pieces)
    out += (piece.y == y + kH / 5 ? "_" : piece.y == y - kH / 5 ? "^" : "") + piece.text + "|";
  return out;
}

TEST(ReactionListing, SubscriptsLowerChargesRiseAndSeparatorsAreWrittenWhole) {
  const struct {
    std::vector<Substance> reactants, products;
    std::string expected;
  } cases[] = {
      // Fe2(SO4)3: the 2, 4 and 3 lowered.
      {{{"Fe", 3}, {"SO4", -2}},
       {{"Fe2(SO4)3", 0}},
       "F|e|^3+| + |S|O|_4|^2-| -> |F|e|_2|(|S|O|_4|)|_3|"},
      // "10": the 1 lowered, the 0 on the line; charges +, -, and none after the arrow.
      {{{"C10H8", 0}, {"H", 1}, {"OH", -1}}, {}, "C|_1|0|H|_8| + |H|^+| + |O|H|^-| -> |"},
      // An empty slot before a later formula still gets its " + ".
      {{{"Na", 0}, {"", 0}, {"Cl", -1}},
       {{"Na", 1}, {"Cl", -1}},
       "N|a| + | + |C|l|^-| -> |N|a|^+| + |C|l|^-|"},
  };
  for (const auto& c : cases) {
    RecordingSurface surface(kW, kH, kScriptW);
    ReactionListing::DrawEquation(surface, *Of(c.reactants, c.products), 30, 100, kH);
    EXPECT_EQ(Heights(surface.pieces, 100), c.expected);
    // The pen advances by each piece's width, a script's being its own.
    int x = 30;
    for (const Piece& piece : surface.pieces) {
      EXPECT_EQ(piece.x, x) << piece.text;
      x += (piece.y == 100 ? kW : kScriptW) * static_cast<int>(piece.text.size());
    }
  }
}

TEST(ReactionListing, RaisedChargesDropZerosAndTheirSign) {
  const std::pair<int32_t, std::string> cases[] = {{1, "+"}, {-1, "-"},  {2, "2+"},  {-3, "3-"},
                                                   {0, ""},  {10, "1+"}, {-20, "2-"}};
  for (const auto& [charge, text] : cases) EXPECT_EQ(ReactionListing::RaisedCharge(charge), text);
}

TEST(ReactionListing, AnEntryIsNumberedAtTwiceTheLineHeight) {
  RecordingSurface surface(kW, kH);
  auto reaction = Of({{"Ag", 1}}, {{"Ag", 0}});
  SetFieldText(reaction->question, TReaction::kQuestionSize, "Caf\xE9 silver.");
  ReactionListing::DrawEntry(surface, 12, *reaction, ReactionListing::EntryY(kH, 11), kH);
  ASSERT_FALSE(surface.pieces.empty());
  // The question's byte 0xE9 is é in the file's character set.
  EXPECT_EQ(surface.pieces[0], (Piece{2 * kH, 10 + kH + 33 * kH, "12.  Caf\xC3\xA9 silver."}));
  EXPECT_EQ(surface.pieces[1].y, 10 + kH + 34 * kH);
}

TEST(ReactionListing, RowsPagesAndScrollLinesFollowTheEntries) {
  using namespace ReactionListing;
  const int h = 10;  // entries at y = 20, 50, 80, ...; 30 high
  const struct {
    int y;
    std::size_t row;
  } rows[] = {{0, kNoRow}, {19, kNoRow}, {20, 0}, {49, 0}, {50, 1}, {20 + 30 * 99, 99}};
  for (const auto& c : rows) EXPECT_EQ(RowAt(h, c.y), c.row) << c.y;
  // 10 entries end at 320: a view 100 high stops at line 22, where entry 9 ends at its foot.
  EXPECT_EQ(LastScrollLine(h, 10, 100), 22);
  EXPECT_EQ(LastScrollLine(h, 10, 400), 0);
  EXPECT_EQ(LastScrollLine(h, 0, 100), 0);
  EXPECT_EQ(PageLines(h, 100), 7);
  EXPECT_EQ(PageLines(h, 25), 1);
  // Bringing an entry into a 100-high view: above it scrolls up to it, below it up to its foot.
  EXPECT_EQ(LineShowing(h, 0, 5, 100), 0);
  EXPECT_EQ(LineShowing(h, 3, 0, 100), 4);  // entry 3: 110..140, its foot at 140
  EXPECT_EQ(LineShowing(h, 3, 4, 100), 4);  // already in view
  EXPECT_EQ(LineShowing(h, 3, 20, 100), 11);
  const TRows visible = VisibleRows(h, 100, 200, 50);
  EXPECT_LE(visible.first, 2u);  // entry 2 (80..110) is partly in view
  EXPECT_GE(visible.last, 7u);   // entry 6 (200..) starts at the foot
  EXPECT_EQ(VisibleRows(h, 0, 100, 2).last, 2u);
}

}  // namespace

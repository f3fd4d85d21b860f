#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/reaction.h"
#include "model/text_surface.h"

// How the editor lists reactions: three text lines an entry (question, equation, a blank),
// the first entry's question line at 10 + h, where h is the height of "X".
namespace ReactionListing {

constexpr int kTitleX = 30;
constexpr int kTitleY = 10;

inline int EntryY(int h, std::size_t k) {
  return 10 + h + 3 * h * static_cast<int>(k);
}
// The y below the last of count entries, where the paint step ends.
inline int EndY(int h, std::size_t count) {
  return EntryY(h, count);
}

// A charge as the listing raises it: "+" and "-" for 1 and -1, else its digits 1-9 followed
// by the sign ("2+", "3-"; a 0 is not drawn); nothing for 0.
std::string RaisedCharge(int32_t charge);

// The equation line of reaction with its pen at (x, y): subscript digits h/5 lower, charges
// h/5 higher, " + " between formulas and " -> " after the reactants.
void DrawEquation(TTextSurface& surface, const TReaction& reaction, int x, int y, int h);

// Entry n (numbered from 1) at the y of its question line: "n.  question" and the equation,
// both from x = 2h.
void DrawEntry(TTextSurface& surface, int n, const TReaction& reaction, int y, int h);

}  // namespace ReactionListing

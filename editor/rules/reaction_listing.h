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

constexpr int kTopMargin = 10;
constexpr int kLinesPerEntry = 3;
constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

// The y of entry k's question line.
inline int EntryY(int h, std::size_t k) {
  return kTopMargin + h + kLinesPerEntry * h * static_cast<int>(k);
}
// The y below the last of count entries, where the paint step ends.
inline int EndY(int h, std::size_t count) {
  return EntryY(h, count);
}
// The entry whose three lines hold list coordinate y (kNoRow above the first entry); the
// caller checks it against the number of entries.
std::size_t RowAt(int h, int y);
// The entries [first, last) of count that a view from list y top to bottom shows, with one
// more on each side so that nothing half in view is missed.
struct TRows {
  std::size_t first;
  std::size_t last;
};
TRows VisibleRows(int h, int top, int bottom, std::size_t count);
// The last vertical scroll position, in lines of h, at which the last of count entries sits
// at the bottom of a view viewHeight high (0 when everything fits).
int LastScrollLine(int h, std::size_t count, int viewHeight);
// A page step in lines of h: the view less one entry, so that no entry is cut on both pages.
int PageLines(int h, int viewHeight);
// The scroll line that brings entry k wholly into a view that now starts at line top.
int LineShowing(int h, std::size_t k, int top, int viewHeight);

// A charge as the listing raises it: "+" and "-" for 1 and -1, else its digits 1-9 followed
// by the sign ("2+", "3-"; a 0 is not drawn); nothing for 0.
std::string RaisedCharge(int32_t charge);

// The equation line of reaction with its pen at (x, y): subscript digits lowered and charges
// raised as scripts (h/5 off the line where scripts are set full size), " + " between formulas
// and " -> " after the reactants.
void DrawEquation(TTextSurface& surface, const TReaction& reaction, int x, int y, int h);

// Entry n (numbered from 1) at the y of its question line: "n.  question" and the equation,
// both from x = 2h.
void DrawEntry(TTextSurface& surface, int n, const TReaction& reaction, int y, int h);

}  // namespace ReactionListing

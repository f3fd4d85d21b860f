#include "editor/rules/reaction_listing.h"

#include <algorithm>
#include <string_view>

namespace ReactionListing {

namespace {

void DrawFormula(TTextSurface& surface, std::string_view text, int& x, int y, int h) {
  for (char c : text) {
    const std::string_view one(&c, 1);
    if (c >= '1' && c <= '9') {
      surface.ScriptOut(x, y, TTextSurface::Script::Sub, h / 5, one);
      x += surface.ScriptWidth(one);
    } else {
      surface.TextOut(x, y, one);
      x += surface.TextWidth(one);
    }
  }
}

void DrawCharge(TTextSurface& surface, int32_t charge, int& x, int y, int h) {
  const std::string text = RaisedCharge(charge);
  if (text.empty()) return;
  surface.ScriptOut(x, y, TTextSurface::Script::Super, h / 5, text);
  x += surface.ScriptWidth(text);
}

bool LaterSlotsEmpty(const Substance* side, int i) {
  for (int j = i + 1; j < TReaction::kSlots; ++j)
    if (!side[j].IsEmpty()) return false;
  return true;
}

void DrawText(TTextSurface& surface, std::string_view text, int& x, int y) {
  surface.TextOut(x, y, text);
  x += surface.TextWidth(text);
}

}  // namespace

std::size_t RowAt(int h, int y) {
  const int first = EntryY(h, 0);
  if (h <= 0 || y < first) return kNoRow;
  return static_cast<std::size_t>((y - first) / (kLinesPerEntry * h));
}

TRows VisibleRows(int h, int top, int bottom, std::size_t count) {
  const int step = std::max(1, kLinesPerEntry * h);
  const int first = std::max(0, (top - EntryY(h, 0)) / step - 1);
  const int last = std::max(0, (bottom - EntryY(h, 0)) / step + 2);
  return {std::min(count, static_cast<std::size_t>(first)),
          std::min(count, static_cast<std::size_t>(last))};
}

int LastScrollLine(int h, std::size_t count, int viewHeight) {
  if (h <= 0) return 0;
  const int overflow = EndY(h, count) - viewHeight;
  return overflow <= 0 ? 0 : (overflow + h - 1) / h;
}

int PageLines(int h, int viewHeight) {
  return h <= 0 ? 1 : std::max(1, viewHeight / h - kLinesPerEntry);
}

int LineShowing(int h, std::size_t k, int top, int viewHeight) {
  if (h <= 0) return top;
  const int entryTop = k == 0 ? 0 : EntryY(h, k);  // the first entry with the title above it
  const int entryBottom = EntryY(h, k) + kLinesPerEntry * h;
  if (entryTop < top * h) return entryTop / h;
  if (entryBottom > top * h + viewHeight) return (entryBottom - viewHeight + h - 1) / h;
  return top;
}

std::string RaisedCharge(int32_t charge) {
  if (charge == 1) return "+";
  if (charge == -1) return "-";
  if (charge == 0) return {};
  std::string text;
  for (char c : std::to_string(charge))
    if (c >= '1' && c <= '9') text += c;
  return text + (charge >= 1 ? "+" : "-");
}

void DrawEquation(TTextSurface& surface, const TReaction& reaction, int x, int y, int h) {
  for (bool reactant : {true, false}) {
    const Substance* side = reaction.Side(reactant);
    for (int i = 0; i < TReaction::kSlots; ++i) {
      DrawFormula(surface, side[i].FormulaText(), x, y, h);
      DrawCharge(surface, side[i].charge, x, y, h);
      if (i == TReaction::kSlots - 1 || LaterSlotsEmpty(side, i)) {
        if (reactant) DrawText(surface, " -> ", x, y);
        break;
      }
      DrawText(surface, " + ", x, y);
    }
  }
}

void DrawEntry(TTextSurface& surface, int n, const TReaction& reaction, int y, int h) {
  surface.TextOut(2 * h, y, std::to_string(n) + ".  " + reaction.QuestionText());
  DrawEquation(surface, reaction, 2 * h, y + h, h);
}

}  // namespace ReactionListing

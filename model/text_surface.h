#pragma once
#include <string_view>

// What drawing the keyed form needs of a device: text out at a point and text measurement.
// The point is the top-left corner of the text cell, not the baseline, so that lines stack by
// adding TextHeight; TDC and the tests' recording surface both draw that way.
class TTextSurface {
 public:
  enum class Script { Sub, Super };

  virtual ~TTextSurface() = default;
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) const = 0;
  // Height of the text extent of "X" in the current font: the line height h.
  virtual int TextHeight() const = 0;

  // A subscript or a charge of the line whose cell starts at (x, y). shift is how far a script
  // set in the line's own type moves off the line; a surface with a smaller script type places
  // it by that type's metrics instead. Whatever measures a script must use ScriptWidth.
  virtual void ScriptOut(int x, int y, Script script, int shift, std::string_view text) {
    TextOut(x, script == Script::Sub ? y + shift : y - shift, text);
  }
  virtual int ScriptWidth(std::string_view text) const { return TextWidth(text); }
};

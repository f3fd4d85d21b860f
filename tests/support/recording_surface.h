#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/text_surface.h"

// A text surface with fixed metrics that records every piece drawn, so layouts can be
// checked to the pixel: every character is charWidth wide, "X" is height high. Scripts are
// recorded where a full-size script would stand (shifted by the caller's offset), and each of
// their characters is scriptWidth wide: give it a width of its own to check that whatever
// measures a line measures its scripts as narrow as they are drawn.
class RecordingSurface : public TTextSurface {
 public:
  struct Piece {
    int x;
    int y;
    std::string text;
    bool operator==(const Piece&) const = default;
  };

  explicit RecordingSurface(int charWidth = 8, int height = 13, int scriptWidth = 0)
      : charWidth_(charWidth),
        height_(height),
        scriptWidth_(scriptWidth ? scriptWidth : charWidth) {}

  void TextOut(int x, int y, std::string_view text) override {
    pieces.push_back({x, y, std::string(text)});
  }
  int TextWidth(std::string_view text) const override {
    return charWidth_ * static_cast<int>(text.size());
  }
  int TextHeight() const override { return height_; }
  int ScriptWidth(std::string_view text) const override {
    return scriptWidth_ * static_cast<int>(text.size());
  }

  std::vector<Piece> pieces;

 private:
  int charWidth_;
  int height_;
  int scriptWidth_;
};

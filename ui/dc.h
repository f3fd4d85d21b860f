#pragma once
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <QSize>
#include <string>
#include <string_view>

#include "model/text_surface.h"

class QPainter;

// A device context: text at a point (the point is the top-left corner of the text cell), text
// extents, lines with a pen, and a selected font. Either draws through a painter (the paint
// context of a window) or only measures (a context of the whole screen with its default font).
// A painting context draws text and lines in the painter's pen colour (a window's palette text
// colour) until SetTextColor or SelectPen says otherwise.
class TDC : public TTextSurface {
 public:
  // Paints through painter with the painter's current font.
  explicit TDC(QPainter& painter);
  // Measures only, with font; TextOut and lines do nothing.
  explicit TDC(const QFont& font);
  // Measures only, with the screen's default font.
  TDC();

  // The default font of a context of the whole screen.
  static QFont ScreenFont();

  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) const override;
  int TextHeight() const override;
  // Scripts are set smaller than the line and moved by the line's own metrics, as in print.
  void ScriptOut(int x, int y, Script script, int shift, std::string_view text) override;
  int ScriptWidth(std::string_view text) const override;
  QSize TextExtent(std::string_view text) const;

  void SelectFont(const QFont& font);
  const QFont& Font() const { return font_; }
  // The smaller font of subscripts and charges, and the top of a script's text cell on the
  // line whose cell starts at y.
  const QFont& ScriptFont() const { return scriptFont_; }
  int ScriptTop(int y, Script script) const;
  static QFont ScriptFontOf(const QFont& font);
  // A script's text as ScriptOut draws it (UTF-8): its signs set as minus signs.
  static std::string ScriptText(std::string_view text);
  void SetTextColor(const QColor& color);

  // A solid pen of that colour and width, used by MoveTo/LineTo and DrawLine.
  void SelectPen(const QColor& color, int width = 1);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void DrawLine(int x1, int y1, int x2, int y2);

  bool CanPaint() const { return painter_ != nullptr; }
  QPainter* Painter() const { return painter_; }

 private:
  QPainter* painter_ = nullptr;
  QFont font_;
  QFontMetrics metrics_;
  QFont scriptFont_;
  QFontMetrics scriptMetrics_;
  QColor textColor_ = Qt::black;
  QColor penColor_ = Qt::black;
  int penWidth_ = 1;
  QPoint current_;
};

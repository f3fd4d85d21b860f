#include "ui/dc.h"

#include <QApplication>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Scripts at about seven tenths of the line's size; a subscript's baseline drops a quarter of
// the line's ascent, a charge's rises by a little under half of it, as in typeset chemistry.
constexpr double kScriptScale = 0.7;
constexpr double kSubscriptDrop = 0.25;
constexpr double kSuperscriptRise = 0.45;

// A sign in the small type is set as a true minus: a hyphen that small is hard to see.
QString ScriptQString(std::string_view text) {
  return ToQString(text).replace(QLatin1Char('-'), QChar(0x2212));
}

QFontMetrics MetricsOn(const QFont& font, QPainter* painter) {
  return painter ? QFontMetrics(font, painter->device()) : QFontMetrics(font);
}

}  // namespace

// Measured on the painter's device, so that a printer's resolution is taken into account.
TDC::TDC(QPainter& painter)
    : painter_(&painter),
      font_(painter.font()),
      metrics_(font_, painter.device()),
      scriptFont_(ScriptFontOf(font_)),
      scriptMetrics_(scriptFont_, painter.device()),
      textColor_(painter.pen().color()),
      penColor_(painter.pen().color()) {}

TDC::TDC(const QFont& font)
    : font_(font), metrics_(font), scriptFont_(ScriptFontOf(font)), scriptMetrics_(scriptFont_) {}

TDC::TDC() : TDC(ScreenFont()) {}

QFont TDC::ScreenFont() {
  return QApplication::font();
}

QFont TDC::ScriptFontOf(const QFont& font) {
  QFont script = font;
  if (font.pixelSize() > 0)
    script.setPixelSize(
        std::max(1, static_cast<int>(std::lround(font.pixelSize() * kScriptScale))));
  else
    script.setPointSizeF(font.pointSizeF() * kScriptScale);
  return script;
}

void TDC::TextOut(int x, int y, std::string_view text) {
  if (!painter_) return;
  painter_->setPen(textColor_);
  // Qt places text by its baseline; callers give the top of the cell.
  painter_->drawText(x, y + metrics_.ascent(), ToQString(text));
}

int TDC::TextWidth(std::string_view text) const {
  return metrics_.horizontalAdvance(ToQString(text));
}

int TDC::TextHeight() const {
  return metrics_.height();
}

int TDC::ScriptTop(int y, Script script) const {
  const int ascent = metrics_.ascent();
  const int move = script == Script::Sub
                       ? static_cast<int>(std::lround(ascent * kSubscriptDrop))
                       : -static_cast<int>(std::lround(ascent * kSuperscriptRise));
  return y + ascent + move - scriptMetrics_.ascent();
}

void TDC::ScriptOut(int x, int y, Script script, int /*shift*/, std::string_view text) {
  if (!painter_) return;
  painter_->save();
  painter_->setFont(scriptFont_);
  painter_->setPen(textColor_);
  painter_->drawText(x, ScriptTop(y, script) + scriptMetrics_.ascent(), ScriptQString(text));
  painter_->restore();
}

int TDC::ScriptWidth(std::string_view text) const {
  return scriptMetrics_.horizontalAdvance(ScriptQString(text));
}

std::string TDC::ScriptText(std::string_view text) {
  return ScriptQString(text).toStdString();
}

QSize TDC::TextExtent(std::string_view text) const {
  return {TextWidth(text), TextHeight()};
}

void TDC::SelectFont(const QFont& font) {
  font_ = font;
  metrics_ = MetricsOn(font_, painter_);
  scriptFont_ = ScriptFontOf(font_);
  scriptMetrics_ = MetricsOn(scriptFont_, painter_);
  if (painter_) painter_->setFont(font_);
}

void TDC::SetTextColor(const QColor& color) {
  textColor_ = color;
}

void TDC::SelectPen(const QColor& color, int width) {
  penColor_ = color;
  penWidth_ = width;
}

void TDC::MoveTo(int x, int y) {
  current_ = {x, y};
}

void TDC::LineTo(int x, int y) {
  DrawLine(current_.x(), current_.y(), x, y);
  current_ = {x, y};
}

void TDC::DrawLine(int x1, int y1, int x2, int y2) {
  if (!painter_) return;
  painter_->setPen(QPen(penColor_, penWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter_->drawLine(x1, y1, x2, y2);
}

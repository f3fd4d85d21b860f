#pragma once
#include <QIcon>
#include <QPixmap>

// The button glyphs, 20 x 20 device-independent pixels: bitmap 20 a green check mark, bitmap 24
// a red cross. They are drawn as paths, so they stay sharp at any device pixel ratio. Other ids
// give a null pixmap.
inline constexpr int kGlyphCheck = 20;
inline constexpr int kGlyphCross = 24;
inline constexpr int kGlyphSize = 20;

// The glyph size by size device-independent pixels at that device pixel ratio.
QPixmap GlyphPixmap(int bitmapId, int size = kGlyphSize, qreal ratio = 1.0);
// The glyph as an icon that draws itself afresh for every size and ratio asked of it.
QIcon GlyphIcon(int bitmapId);
// The icon of a message box that praises: the check mark, white on a green disc.
QPixmap SuccessPixmap(int size, qreal ratio);
// The icons of the other message boxes, drawn at the ratio asked as the praise is (a style's
// own are pictures of 32 pixels, blurred when scaled up): a warning sign, an "i" and a "?" on
// a blue disc.
QPixmap WarningPixmap(int size, qreal ratio);
QPixmap InformationPixmap(int size, qreal ratio);
QPixmap QuestionPixmap(int size, qreal ratio);

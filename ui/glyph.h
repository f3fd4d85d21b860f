#pragma once
#include <QIcon>
#include <QPixmap>

// The button glyphs, 20 x 20 pixels: bitmap 20 a green check mark, bitmap 24 a red cross.
// Other ids give a null pixmap.
inline constexpr int kGlyphCheck = 20;
inline constexpr int kGlyphCross = 24;
inline constexpr int kGlyphSize = 20;

QPixmap GlyphPixmap(int bitmapId);
QIcon GlyphIcon(int bitmapId);

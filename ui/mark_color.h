#pragma once
#include <QColor>
#include <initializer_list>

class QPalette;

// Colours of lines and marks that must stay in sight whatever scheme the desktop has: a dark
// scheme's mid and highlight colours can sit within a shade of its window and base colours.

// 3:1, what a control's boundary or a mark needs against what is next to it.
inline constexpr double kMarkContrast = 3.0;

// The contrast of two colours, from 1 (the same) to 21 (black on white), from their relative
// luminance as accessibility guidelines measure it.
double ContrastRatio(const QColor& a, const QColor& b);

// mark, moved just far enough towards white (on dark backgrounds) or black (on light ones) to
// stand out from every background by ratio; mark itself when it does already.
QColor VisibleMark(const QColor& mark, std::initializer_list<QColor> backgrounds,
                   double ratio = kMarkContrast);

// The frame of a box or panel drawn in the palette's mid colour, kept in sight against both
// the window and the base colour.
QColor FrameColor(const QPalette& palette, double ratio = kMarkContrast);
// The palette's highlight as a focus ring or a selection line: in sight against the window,
// the base and the button colour.
QColor FocusColor(const QPalette& palette);

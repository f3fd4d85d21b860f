#pragma once

class QAbstractButton;
class QPainter;
class QPalette;
class QRect;

// Outlines the mark of a check box or radio button (a square, or a circle when round) in the
// frame colour: styles outline it in a shade of the window colour, which on a dark scheme
// leaves a dark box on a dark dialog.
void OutlineIndicator(QPainter& painter, const QRect& indicator, const QPalette& palette,
                      bool round);
// The same over a check box or radio button that has just painted itself.
void OutlineIndicator(QAbstractButton& button);

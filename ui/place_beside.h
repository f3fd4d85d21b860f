#pragma once
#include <QRect>
#include <QSize>

// Where a window of size goes beside anchor, both as frame rectangles in global pixels, on a
// screen with that available area:
// - right of anchor when it fits there, else left of it, its top level with anchor's;
// - with room on neither side, against the screen's edge on the roomier side, over anchor but
//   below anchor's top band of clearTop pixels (its title and menu bar, say), so that the top
//   of anchor stays in sight; a window that may shrink (minimumHeight below its height) is made
//   shorter rather than cover that band;
// - always fully on the screen: a window larger than the screen is cut to it, and one that
//   still does not fit below the band moves up over it.
// The caller moves its window to the result's top-left, and may resize it to the result's size.
QRect PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen, int clearTop = 0,
                  int minimumHeight = -1);

// Where window goes so that something besideWidth wide fits beside it on the screen: where it
// is when either side has room already, else moved sideways the least that makes room. A
// screen too narrow for both leaves it where it is. Either way it is kept on the screen.
QRect MakeRoomBeside(const QRect& window, int besideWidth, const QRect& screen);

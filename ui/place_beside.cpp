#include "ui/place_beside.h"

#include <algorithm>

QRect PlaceBeside(const QRect& anchor, const QSize& size, const QRect& screen, int clearTop,
                  int minimumHeight) {
  QSize placed = size.boundedTo(screen.size());
  const int screenRight = screen.x() + screen.width();
  const int screenBottom = screen.y() + screen.height();
  const auto onScreen = [&](int x, int y) {
    return QRect(QPoint(std::clamp(x, screen.x(), screenRight - placed.width()),
                        std::clamp(y, screen.y(), screenBottom - placed.height())),
                 placed);
  };
  const int anchorRight = anchor.x() + anchor.width();
  if (anchorRight + placed.width() <= screenRight) return onScreen(anchorRight, anchor.y());
  if (anchor.x() - placed.width() >= screen.x())
    return onScreen(anchor.x() - placed.width(), anchor.y());

  const bool rightRoomier = screenRight - anchorRight >= anchor.x() - screen.x();
  const int x = rightRoomier ? screenRight - placed.width() : screen.x();
  const int y = std::max(screen.y(), anchor.y() + clearTop);
  const int lowest = minimumHeight < 0 ? placed.height() : std::min(minimumHeight, placed.height());
  if (y + placed.height() > screenBottom) placed.setHeight(std::max(lowest, screenBottom - y));
  return onScreen(x, y);
}

QRect MakeRoomBeside(const QRect& window, int besideWidth, const QRect& screen) {
  const QSize size = window.size().boundedTo(screen.size());
  const int screenRight = screen.x() + screen.width();
  const int screenBottom = screen.y() + screen.height();
  int x = std::clamp(window.x(), screen.x(), screenRight - size.width());
  const int y = std::clamp(window.y(), screen.y(), screenBottom - size.height());
  const int rightRoom = screenRight - (x + size.width());
  const int leftRoom = x - screen.x();
  if (rightRoom < besideWidth && leftRoom < besideWidth &&
      size.width() + besideWidth <= screen.width()) {
    const int toTheLeft = besideWidth - rightRoom;
    const int toTheRight = besideWidth - leftRoom;
    x += toTheLeft <= toTheRight ? -toTheLeft : toTheRight;
  }
  return {QPoint(x, y), size};
}

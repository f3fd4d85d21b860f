#pragma once
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include "coach/split_window.h"

// Where the line goes after symbol index of the panel's compound, worked out from the panel
// font's character widths: the compound is drawn from x = 2, one character per symbol.
inline int BoundaryAfter(const TSplitWindow& window, int index) {
  const QFontMetrics metrics(window.font());
  const std::string text = window.Lines().front().Text();
  int x = 2;
  for (int i = 0; i <= index && i < static_cast<int>(text.size()); ++i)
    x += metrics.horizontalAdvance(QString(QChar(text[i])));
  return x;
}

// A left click in the split panel at client x, as the mouse delivers it.
inline void ClickAt(TSplitWindow& window, int x) {
  const QPointF at = QPointF(window.ClientOrigin() + QPoint(x, 4));
  QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &press);
}

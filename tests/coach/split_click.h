#pragma once
#include <QApplication>
#include <QMouseEvent>

#include "coach/split_window.h"
#include "ui/dc.h"

// Where the line goes after symbol index of the panel's compound, added up from the panel
// font's widths: the compound is drawn from the text origin, scripts in the smaller script type.
inline int BoundaryAfter(const TSplitWindow& window, int index) {
  const TDC dc(window.TextFont());
  const std::vector<TSymbol>& symbols = window.Lines().front().Symbols();
  int x = window.TextOrigin().x();
  for (int i = 0; i <= index && i < static_cast<int>(symbols.size()); ++i) {
    const std::string one(1, symbols[static_cast<std::size_t>(i)].ch);
    x += symbols[static_cast<std::size_t>(i)].placement == Baseline ? dc.TextWidth(one)
                                                                    : dc.ScriptWidth(one);
  }
  return x;
}

// A left click in the split panel at client x, as the mouse delivers it.
inline void ClickAt(TSplitWindow& window, int x) {
  const QPointF at = QPointF(window.ClientOrigin() + QPoint(x, 4));
  QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &press);
}

#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <string_view>
#include <vector>

#include "coach/split_window.h"
#include "ui/dc.h"

// Where the line goes after symbol index of the panel's compound, added up from the panel
// font's widths: the compound is drawn from the text origin, scripts in the smaller script type,
// and the "1" of a charge of one not at all (NH4 and a raised "+").
inline int BoundaryAfter(const TSplitWindow& window, int index) {
  const TDC dc(window.TextFont());
  const std::vector<TSymbol>& symbols = window.Lines().front().Symbols();
  int x = window.TextOrigin().x();
  for (int i = 0; i <= index && i < static_cast<int>(symbols.size()); ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    const bool chargeOne = symbols[at].ch == '1' && symbols[at].placement == Superscript &&
                           at + 1 < symbols.size() && symbols[at + 1].placement == Superscript;
    if (chargeOne) continue;
    const std::string one(1, symbols[static_cast<std::size_t>(i)].ch);
    x += symbols[static_cast<std::size_t>(i)].placement == Baseline ? dc.TextWidth(one)
                                                                    : dc.ScriptWidth(one);
  }
  return x;
}

// Keys pressed and let go on whatever has the focus in window, as the window system sends
// them; a character is typed, a key of its own (Qt::Key_Right, Qt::Key_Delete) pressed.
inline void PressKey(QWidget& window, int key, const QString& text = {}) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(window.focusWidget() ? window.focusWidget() : &window, &event);
  }
}

inline void PressKeys(QWidget& window, const std::vector<int>& keys) {
  for (int key : keys) PressKey(window, key, key == Qt::Key_Return ? QStringLiteral("\r") : "");
}

// A left click in the split panel at client x, as the mouse delivers it.
inline void ClickAt(TSplitWindow& window, int x) {
  const QPointF at = QPointF(window.ClientOrigin() + QPoint(x, 4));
  QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &press);
}

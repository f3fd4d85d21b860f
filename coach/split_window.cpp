#include "coach/split_window.h"

#include <QKeyEvent>

#include "coach/rules/dissociation.h"
#include "ui/dc.h"
#include "ui/mark_color.h"

TSplitWindow::TSplitWindow(QWidget* parent, const TFormula& substance)
    : TPelloWindow(parent, nullptr, {}) {
  copy_.CopyFrom(substance);
  SetSubstance(&copy_);
  setCursor(Qt::IBeamCursor);
  // In the Tab order, so that the line can be placed without a mouse.
  setFocusPolicy(Qt::StrongFocus);
}

void TSplitWindow::RefreshLines() {
  lines_.clear();
  lines_.emplace_back().AppendFormula(copy_);
  Invalidate();
}

void TSplitWindow::HideLine() {
  lineHidden_ = true;
  Invalidate();
}

std::vector<int> TSplitWindow::Boundaries() const {
  return SymbolBoundaries(copy_, TDC(TextFont()), TextOrigin().x());
}

int TSplitWindow::BoundaryX(int index) const {
  const std::vector<int> boundaries = Boundaries();
  return index >= 0 && index < static_cast<int>(boundaries.size()) ? boundaries[index] : -1;
}

void TSplitWindow::PlaceLine(int index, int x) {
  if (index >= 0) splitPosition_ = index;
  lineX_ = x;
  Invalidate();
}

void TSplitWindow::EvLButtonDown(const QPoint& client) {
  const int nearest = NearestBoundary(Boundaries(), client.x());
  PlaceLine(nearest, nearest >= 0 ? BoundaryX(nearest) : 0);
}

void TSplitWindow::StepLine(int step) {
  const std::vector<int> boundaries = Boundaries();
  const int count = static_cast<int>(boundaries.size());
  if (count == 0) return;
  int index = splitPosition_;
  if (index < 0 || index >= count) {
    index = step > 0 ? 0 : count - 1;
  } else {
    // A symbol that is not drawn shares its boundary with the one before: skip it, so that
    // every step moves the line where it can be seen.
    int next = index;
    while (next >= 0 && next < count && boundaries[next] == boundaries[index]) next += step;
    if (next < 0 || next >= count) return;
    index = next;
  }
  // Of equal boundaries the earlier, as a click takes.
  while (index > 0 && boundaries[index - 1] == boundaries[index]) --index;
  PlaceLine(index, boundaries[index]);
}

void TSplitWindow::keyPressEvent(QKeyEvent* event) {
  if (!isEnabled() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    TPelloWindow::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      StepLine(event->key() == Qt::Key_Right ? 1 : -1);
      break;
    case Qt::Key_Home:
    case Qt::Key_End: {
      // As far as the line goes that way: one step from no place.
      splitPosition_ = -1;
      StepLine(event->key() == Qt::Key_Home ? 1 : -1);
      break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit DissociateAsked();
      break;
    default:
      TPelloWindow::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TSplitWindow::PaintText(TDC& dc) {
  int x = 0;
  copy_.Draw(dc, x, 0);
  if (lineHidden_) return;
  // The line is placed in client coordinates, the text drawn from its origin.
  const int lineX = lineX_ - TextOrigin().x();
  dc.SelectPen(FocusColor(palette()), 2);
  dc.DrawLine(lineX, -1, lineX, dc.TextHeight() + 1);
}

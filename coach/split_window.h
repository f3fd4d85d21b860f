#pragma once
#include <vector>

#include "keypad/pello_window.h"

// The compound to dissociate, drawn as one line, with a line the student places between two
// of its symbols by clicking. The line snaps to the nearest symbol boundary. From the keyboard
// the arrow keys (Home and End) move it from boundary to boundary and Enter asks to dissociate.
class TSplitWindow : public TPelloWindow {
  Q_OBJECT

 public:
  // Keeps a copy of substance.
  TSplitWindow(QWidget* parent, const TFormula& substance);

  // One line: the substance.
  void RefreshLines() override;

  // The symbol the line stands after; -1 before any click placed it.
  int SplitPosition() const { return splitPosition_; }
  int LineX() const { return lineX_; }
  bool IsLineHidden() const { return lineHidden_; }
  void HideLine();
  // Client x of the boundary after symbol index, with the widths used for painting.
  int BoundaryX(int index) const;
  // Moves the line to the next boundary that stands apart from it, right for a step of 1 and
  // left for -1; the first step from no place goes to the first or the last boundary.
  void StepLine(int step);

 signals:
  // Enter while the panel has the focus: the student asks to dissociate where the line is.
  void DissociateAsked();

 protected:
  void PaintText(TDC& dc) override;
  void EvLButtonDown(const QPoint& client) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Client x of the boundary after each symbol.
  std::vector<int> Boundaries() const;
  void PlaceLine(int index, int x);

  TFormula copy_;
  int splitPosition_ = -1;
  int lineX_ = 1;
  bool lineHidden_ = false;
};

#pragma once
#include <memory>
#include <string>

#include "keypad/strip_window.h"
#include "model/equation.h"

// The equation strip: shows and owns a TEquation and, when asked for, a caret after the last
// character drawn. The scroll range follows the drawn equation, so a long equation can be
// scrolled to its end and never out of sight; a scroll bar shows only while it is needed.
class TAnswerWindow : public TStripWindow {
  Q_OBJECT

 public:
  TAnswerWindow(QWidget* parent, bool withCaret);

  TEquation* Equation() const { return equation_.get(); }
  // Takes the new equation and destroys the one shown before.
  void SetEquation(std::unique_ptr<TEquation> equation);
  bool WithCaret() const { return withCaret_; }
  // Typed characters that wait for the next one ("A" before its second letter), drawn greyed
  // after the equation.
  void SetPending(const std::string& pending);
  const std::string& Pending() const { return pending_; }

  // Repaints after the equation grew or shrank, scrolled so that its end (the caret) shows.
  void ShowEnd();
  // Width and height in pixels of the equation as drawn, the caret after it and the padding
  // around it included.
  QSize DrawnSize() const;
  // The equation as the answers are written ("Ag+ + Cl- -> AgCl"), what waits after it.
  std::string SpokenText() const override;

 protected:
  void SetupWindow() override;
  int ContentHeight(int h) const override;
  void PaintText(TDC& dc) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Sets the scroll range to what the drawn equation needs beyond the client area.
  void FitRange();
  // Where drawing the equation and the pending characters ends, from 0.
  int TextEnd(TDC& dc) const;

  bool withCaret_;
  std::unique_ptr<TEquation> equation_;
  std::string pending_;
};

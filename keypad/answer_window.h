#pragma once
#include <memory>

#include "model/equation.h"
#include "ui/window.h"

// The equation strip: shows and owns a TEquation, with both scroll bars and, when asked for,
// a caret after the last character drawn.
class TAnswerWindow : public TWindow {
  Q_OBJECT

 public:
  TAnswerWindow(QWidget* parent, bool withCaret);

  TEquation* Equation() const { return equation_.get(); }
  // Takes the new equation and destroys the one shown before.
  void SetEquation(std::unique_ptr<TEquation> equation);
  bool WithCaret() const { return withCaret_; }

 protected:
  void SetupWindow() override;
  void Paint(TDC& dc) override;

 private:
  bool withCaret_;
  std::unique_ptr<TEquation> equation_;
};

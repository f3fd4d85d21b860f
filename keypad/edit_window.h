#pragma once
#include <string>

#include "keypad/strip_window.h"
#include "model/formula.h"

// The formula strip of the substance dialogs: shows one formula it does not own, with a caret.
class TEditWindow : public TStripWindow {
  Q_OBJECT

 public:
  TEditWindow(QWidget* parent, TFormula* formula = nullptr);

  TFormula* Formula() const { return formula_; }
  void SetFormula(TFormula* formula);
  // Typed characters that wait for the next one, drawn greyed after the formula.
  void SetPending(const std::string& pending);
  const std::string& Pending() const { return pending_; }
  // How far the formula is drawn left of the strip's edge so that the caret stays in view.
  int ScrollOffset() const;
  std::string SpokenText() const override;

 protected:
  void SetupWindow() override;
  int ContentHeight(int h) const override;
  void PaintText(TDC& dc) override;

 private:
  TFormula* formula_;
  std::string pending_;
};

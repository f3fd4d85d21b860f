#pragma once
#include "model/formula.h"
#include "ui/window.h"

// The formula strip of the substance dialogs: shows one formula it does not own, with a caret.
class TEditWindow : public TWindow {
  Q_OBJECT

 public:
  TEditWindow(QWidget* parent, TFormula* formula = nullptr);

  TFormula* Formula() const { return formula_; }
  void SetFormula(TFormula* formula);
  // How far the formula is drawn left of the strip's edge so that the caret stays in view.
  int ScrollOffset() const;

 protected:
  void SetupWindow() override;
  void Paint(TDC& dc) override;

 private:
  TFormula* formula_;
};

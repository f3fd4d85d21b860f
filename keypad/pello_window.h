#pragma once
#include <string>
#include <vector>

#include "keypad/rules/line.h"
#include "keypad/strip_window.h"

// A bordered panel of message lines in which formulas keep their subscripts and charges.
// Its own lines are the dissociation message about its substance and side word.
class TPelloWindow : public TStripWindow {
  Q_OBJECT

 public:
  TPelloWindow(QWidget* parent, const TFormula* substance, std::string word);

  // Flushes the lines and builds them again from the window's data.
  virtual void RefreshLines();

  std::vector<TLine>& Lines() { return lines_; }
  const std::vector<TLine>& Lines() const { return lines_; }
  const TFormula* Substance() const { return substance_; }
  void SetSubstance(const TFormula* substance) { substance_ = substance; }
  std::string SpokenText() const override { return TLine::SpokenLines(lines_); }

 protected:
  void SetupWindow() override;
  int ContentHeight(int h) const override;
  void PaintText(TDC& dc) override;

  const TFormula* substance_;
  std::string word_;
  std::vector<TLine> lines_;
};

#pragma once
#include <string>

#include "keypad/rules/line.h"
#include "keypad/strip_window.h"

// The bordered two-line message of the oxidation-number correction: names the substance and
// the charge it has now.
class TStaticWindow : public TStripWindow {
  Q_OBJECT

 public:
  TStaticWindow(QWidget* parent, const TFormula* substance, std::string correctCharge);

  // Builds both lines again from the substance as it stands.
  void BuildLines();
  const TLine& Line(int index) const { return index == 0 ? first_ : second_; }
  const std::string& CorrectCharge() const { return correctCharge_; }
  std::string SpokenText() const override {
    return first_.SpokenText() + (second_.IsEmpty() ? "" : "\n" + second_.SpokenText());
  }

 protected:
  void SetupWindow() override;
  int ContentHeight(int h) const override;
  void PaintText(TDC& dc) override;

 private:
  const TFormula* substance_;
  std::string correctCharge_;
  TLine first_;
  TLine second_;
};

#include "keypad/static_window.h"

#include "ui/dc.h"

TStaticWindow::TStaticWindow(QWidget* parent, const TFormula* substance, std::string correctCharge)
    : TStripWindow(parent), substance_(substance), correctCharge_(std::move(correctCharge)) {}

void TStaticWindow::SetupWindow() {
  TStripWindow::SetupWindow();
  BuildLines();
}

void TStaticWindow::BuildLines() {
  first_ = TLine();
  second_ = TLine();
  first_.AppendText("The oxidation number of ");
  std::string charge;
  if (substance_) {
    first_.AppendSymbols(*substance_, substance_->ChargeStart());
    charge = substance_->TrailingChargeText();
  }
  first_.AppendText(" is not ");
  first_.AppendText(charge.empty() ? "0" : charge);
  second_.AppendText("Select a different oxidation number below:");
  Invalidate();
}

int TStaticWindow::ContentHeight(int h) const {
  return TLine::LinesHeight(h, second_.IsEmpty() ? 1 : 2);
}

void TStaticWindow::PaintText(TDC& dc) {
  std::vector<const TLine*> lines{&first_};
  if (!second_.IsEmpty()) lines.push_back(&second_);
  const int h = dc.TextHeight();
  int y = 0;
  for (const TLine* line : lines) {
    int x = 0;
    line->Draw(dc, x, y);
    y = static_cast<int>(y + 1.5 * h);
  }
}

#pragma once
#include <cstdint>
#include <string_view>

#include "model/comparison_table.h"
#include "ui/dialog.h"

// "Sorry, you are incorrect": after a wrong answer, the question, the student's equation, the
// correct equation and the score, all as static texts made by the constructor. The charges of
// both tables are put into display form in place.
class TResultWindow : public TDialog {
  Q_OBJECT

 public:
  TResultWindow(QWidget* parent, ComparisonTable& correct, ComparisonTable& student,
                std::string_view question, int32_t points, int32_t pointsEarned,
                int32_t pointsPossible);

  // The line height h the contents were laid out with.
  int LineHeight() const { return lineHeight_; }

 private:
  // Widens the dialog to its texts and centres OK below them.
  void FitToContents();

  int lineHeight_ = 0;
};

#include "quiz/result_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "model/charge_text.h"
#include "quiz/rules/equation_row.h"
#include "ui/dc.h"
#include "ui/resources/resource_ids.h"

namespace {

// Lays text out as statics of the dialog, each exactly as wide as its text and one line high.
// It measures with the dialog's own font, the one the statics inherit, so that the measured
// widths are the drawn ones.
class TStaticSurface : public TTextSurface {
 public:
  explicit TStaticSurface(TDialog& dialog) : dialog_(dialog), dc_(dialog.font()) {}

  void TextOut(int x, int y, std::string_view text) override {
    QLabel* label = dialog_.AddStatic(std::string(text), x, y, TextWidth(text), TextHeight());
    label->setWordWrap(false);
  }
  int TextWidth(std::string_view text) const override { return dc_.TextWidth(text); }
  int TextHeight() const override { return dc_.TextHeight(); }
  // A script is a static of its own in the smaller script font, placed where TDC draws it.
  void ScriptOut(int x, int y, Script script, int /*shift*/, std::string_view text) override {
    QLabel* label = dialog_.AddStatic(TDC::ScriptText(text), x, dc_.ScriptTop(y, script),
                                      ScriptWidth(text), QFontMetrics(dc_.ScriptFont()).height());
    label->setFont(dc_.ScriptFont());
    label->setWordWrap(false);
  }
  int ScriptWidth(std::string_view text) const override { return dc_.ScriptWidth(text); }

 private:
  TDialog& dialog_;
  TDC dc_;
};

void ChargesToDisplay(ComparisonTable& table) {
  for (bool reactant : {true, false}) {
    const ComparisonTable::Array charges = ComparisonTable::ChargeArray(reactant);
    for (int row = 0; row < ComparisonTable::kRows; ++row)
      table.SetField(charges, row, ChargeToDisplay(table.Field(charges, row)));
  }
}

}  // namespace

TResultWindow::TResultWindow(QWidget* parent, ComparisonTable& correct, ComparisonTable& student,
                             std::string_view question, int32_t points, int32_t pointsEarned,
                             int32_t pointsPossible)
    : TDialog(parent, TemplateId::kResult) {
  ChargesToDisplay(correct);
  ChargesToDisplay(student);

  TStaticSurface surface(*this);
  const int h = lineHeight_ = surface.TextHeight();
  const int left = 10;
  int x = left;
  int y = 10;
  AddStatic(std::string(question), left, y, ScaledX(500), 3 * h);
  y += 3 * h;
  surface.TextOut(left, y, "Your Answer :");
  y += 2 * h;
  DrawEquationRow(surface, student, x, y);
  x = left;
  y += 2 * h;
  surface.TextOut(left, y, "Correct Answer :");
  y += 2 * h;
  DrawEquationRow(surface, correct, x, y);
  y += 2 * h;
  surface.TextOut(left, y, "You earn " + std::to_string(points) + " out of 3 on this question.");
  y += h;
  surface.TextOut(left, y,
                  "You now have " + std::to_string(pointsEarned) + " total points out of " +
                      std::to_string(pointsPossible) + ".");
  FitToContents();
}

void TResultWindow::FitToContents() {
  // The question's 500-pixel box (and a long equation row) can be wider than the template's
  // dialog; growing the dialog keeps every text whole instead of cutting it at the edge.
  const int margin = 10;
  int right = 0;
  int bottom = 0;
  for (const QLabel* label : findChildren<QLabel*>()) {
    right = std::max(right, label->geometry().right() + 1);
    bottom = std::max(bottom, label->geometry().bottom() + 1);
  }
  if (right + margin > width()) setFixedWidth(right + margin);
  // OK stays centred under the texts, and below the last of them.
  if (QPushButton* ok = Button(1)) {
    const int top = std::max(ok->y(), bottom + margin);
    ok->move((width() - ok->width()) / 2, top);
    if (top + ok->height() + margin > height()) setFixedHeight(top + ok->height() + margin);
  }
}

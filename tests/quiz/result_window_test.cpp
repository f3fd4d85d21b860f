// The result dialog: equation rows on a recording surface, and the dialog's own statics.
#include "quiz/result_window.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>

#include "quiz/rules/equation_row.h"
#include "tests/support/recording_surface.h"
#include "ui/dc.h"

namespace {

// A table from rows written "formula:charge" (the charge may be left out).
ComparisonTable Table(std::vector<std::string> reactants, std::vector<std::string> products) {
  ComparisonTable table;
  for (bool reactant : {true, false})
    for (int row = 0; const std::string& text : reactant ? reactants : products) {
      const std::size_t colon = text.find(':');
      table.SetField(ComparisonTable::FormulaArray(reactant), row, text.substr(0, colon));
      if (colon != std::string::npos)
        table.SetField(ComparisonTable::ChargeArray(reactant), row, text.substr(colon + 1));
      ++row;
    }
  return table;
}

TEST(EquationRow, PiecesFollowEachOtherWithSubscriptsLoweredAndChargesRaised) {
  const std::pair<ComparisonTable, std::string> cases[] = {
      {Table({"Ca(OH)2"}, {}), "C|a|(|O|H|)|_2| -> "},
      {Table({"Ba:2+", "SO4:2-"}, {"BaSO4"}), "B|a|^2+| + |S|O|_4|^2-| -> |B|a|S|O|_4"},
      {Table({"Ag:+", "Cl:-"}, {}), "A|g|^+| + |C|l|^-| -> "},
      {Table({"C10H22"}, {"", "H2"}), "C|_1|0|H|_2|_2| -> |H|_2"},
      {Table({"", "Zn"}, {"Zn:2+", "", "Cu"}), "Z|n| -> |Z|n|^2+| + |C|u"},
      {Table({}, {"O2"}), " -> |O|_2"},
      {Table({"A", "B", "C", "D", "E"}, {}), "A| + |B| + |C| + |D| + |E| -> "},
  };
  for (const auto& [table, shape] : cases) {
    RecordingSurface surface(8, 13, 5);  // h / 3 is 4; scripts are 5 wide a character
    int x = 10;
    DrawEquationRow(surface, table, x, 50);
    std::string actual;
    int expectedX = 10;
    for (const auto& piece : surface.pieces) {
      actual += (actual.empty() ? "" : "|") + std::string(piece.y == 54 ? "_" : "") +
                (piece.y == 46 ? "^" : "") + piece.text;
      EXPECT_TRUE(piece.y == 50 || piece.y == 54 || piece.y == 46) << piece.text;
      EXPECT_EQ(piece.x, expectedX) << piece.text;
      expectedX += (piece.y == 50 ? 8 : 5) * static_cast<int>(piece.text.size());
    }
    EXPECT_EQ(actual, shape);
    EXPECT_EQ(x, expectedX);
  }
}

TEST(ResultWindow, StaticsStandLineByLineWithChargesInDisplayForm) {
  ComparisonTable correct = Table({"Ba:2", "SO4:-2"}, {"BaSO4:0"});
  ComparisonTable student = Table({"Ba:3+"}, {"BaSO4"});
  TResultWindow dialog(nullptr, correct, student, "Barium chloride and sodium sulfate.", 1, 10, 12);
  const int h = dialog.LineHeight();
  const int studentY = 10 + 5 * h, correctY = studentY + 4 * h;
  // Charges are statics of their own in the smaller script font, raised as the strips draw them.
  const TDC dc(dialog.font());
  const int scriptH = QFontMetrics(dc.ScriptFont()).height();
  const auto raised = [&dc](int y) { return dc.ScriptTop(y, TTextSurface::Script::Super); };
  const std::pair<QString, QRect> expected[] = {
      {"Barium chloride and sodium sulfate.", {10, 10, 500, 3 * h}},
      {"Your Answer :", {10, 10 + 3 * h, 0, h}},
      {"3+", {0, raised(studentY), 0, scriptH}},
      {"Correct Answer :", {10, studentY + 2 * h, 0, h}},
      {QString::fromUtf8("2\u2212"), {0, raised(correctY), 0, scriptH}},  // a true minus
      {"You earn 1 out of 3 on this question.", {10, correctY + 2 * h, 0, h}},
      {"You now have 10 total points out of 12.", {10, correctY + 3 * h, 0, h}}};
  QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  for (const auto& [text, where] : expected) {
    auto it =
        std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->text() == text; });
    ASSERT_NE(it, labels.end()) << text.toStdString();
    const QRect actual = (*it)->geometry();
    const int width = where.width() ? where.width() : (*it)->fontMetrics().horizontalAdvance(text);
    EXPECT_EQ(actual.y(), where.y()) << text.toStdString();
    EXPECT_EQ(actual.size(), QSize(width, where.height())) << text.toStdString();
    if (where.x()) {
      EXPECT_EQ(actual.x(), where.x()) << text.toStdString();
    }
    EXPECT_LE(actual.right(), dialog.width()) << text.toStdString() << " is cut off";
  }
  EXPECT_EQ(correct.Field(ComparisonTable::ProductCharge, 0), "");  // 0 shows nothing
}

TEST(ResultWindow, ALongQuestionAndFullRowsNeitherOverlapNorCutAndOkStaysCentred) {
  const std::vector<std::string> nine = {"C2H3O2Cl2:1-", "Cr2O7NaK2:2-", "NH4ClO4Br:3+",
                                         "C6H5COOHa:4-", "K4FeCNOHg:5+"};
  ComparisonTable correct = Table(nine, nine), student = Table(nine, nine);
  const std::string question =
      "CONCENTRATED AQUEOUS POTASSIUM DICHROMATE SOLUTION IS POURED SLOWLY INTO ACIDIFIED "
      "FERROUS SULFATE.";
  ASSERT_EQ(question.size(), 99u);
  TResultWindow dialog(nullptr, correct, student, question, 0, 0, 3);
  dialog.show();
  const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  const QRect ok = dialog.Button(1)->geometry();
  for (QLabel* label : labels) {
    const QRect box = label->geometry();
    const std::string text = label->text().toStdString();
    // The last line needs the font's height; the lines above it a line spacing each.
    const QFontMetrics metrics(label->font());
    const int lines = std::max(1, label->heightForWidth(box.width()) / metrics.lineSpacing());
    EXPECT_LE((lines - 1) * metrics.lineSpacing() + metrics.height(), box.height())
        << text << " is cut at the bottom";
    EXPECT_LE(box.right(), dialog.width() - 1) << text << " is cut at the edge";
    EXPECT_LT(box.bottom(), ok.top()) << text << " runs into OK";
    for (QLabel* other : labels) {
      if (other != label) {
        EXPECT_FALSE(box.intersects(other->geometry()))
            << text << " overlaps " << other->text().toStdString();
      }
    }
  }
  EXPECT_GT(dialog.width(), dialog.MapDialogRect(QRect(0, 0, 319, 0)).width());  // it widened
  EXPECT_LE(std::abs(ok.center().x() - dialog.width() / 2), 1);
  EXPECT_LE(ok.bottom(), dialog.height() - 1);
  if (const QByteArray folder = qgetenv("TARVOLIN_SCREENSHOTS"); !folder.isEmpty())
    dialog.grab().save(QString::fromUtf8(folder) + "/result_window.png");
}

}  // namespace

#include <gtest/gtest.h>

#include "coach/split_it_dialog.h"
#include "keypad/blank_window.h"
#include "keypad/rules/line.h"
#include "keypad/static_window.h"
#include "tests/support/equation_text.h"
#include "tests/support/recording_surface.h"

namespace {

// The y of the first piece drawn for each line.
std::vector<int> LineTops(int height, int lineCount) {
  std::vector<TLine> lines(lineCount);
  for (TLine& line : lines) line.AppendText("A");
  RecordingSurface surface(8, height);
  TLine::DrawLines(surface, lines);
  std::vector<int> tops;
  for (const auto& piece : surface.pieces) tops.push_back(piece.y);
  return tops;
}

TEST(Panels, LinesStepByOneAndAHalfLineHeightsTruncatedEachTime) {
  EXPECT_EQ(LineTops(13, 3), (std::vector<int>{0, 19, 38}));
  // Truncating each step, not the sum: 0, 16.5 -> 16, 32.5 -> 32.
  EXPECT_EQ(LineTops(11, 3), (std::vector<int>{0, 16, 32}));
}

TEST(Panels, StaticWindowKeepsSubscriptsAndNamesThePresentChargeOnTheBaseline) {
  auto sulfate = FormulaFromText("SO4^2-");
  TStaticWindow window(nullptr, sulfate.get(), "-2");
  window.Create();
  RecordingSurface surface(8, 13);
  int x = 0;
  window.Line(0).Draw(surface, x, 10);
  std::string text;
  std::vector<std::pair<std::string, int>> offBaseline;
  for (const auto& piece : surface.pieces) {
    text += piece.text;
    if (piece.y != 10) offBaseline.emplace_back(piece.text, piece.y - 10);
  }
  EXPECT_EQ(text, "The oxidation number of SO4 is not 2-");
  // The subscript stays 3 px down; the charge is named on the baseline, not raised.
  EXPECT_EQ(offBaseline, (std::vector<std::pair<std::string, int>>{{"4", 3}}));
}

TEST(Panels, SpeciesPanelsShowNothingBeforeDissociate) {
  auto equation = EquationFromText("Ca(NO3)2");
  TSplitItDialog dialog(nullptr, equation->reactants[0].get(), equation.get(), true);
  dialog.Create();
  for (int which : {1, 2}) {
    RecordingSurface surface;
    TLine::DrawLines(surface, dialog.SpeciesPanel(which)->Lines());
    EXPECT_TRUE(surface.pieces.empty()) << "species " << which;
  }
}

}  // namespace

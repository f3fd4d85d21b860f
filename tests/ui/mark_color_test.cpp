// Colours of marks: the contrast measure, and marks moved just far enough to be seen.
#include "ui/mark_color.h"

#include <gtest/gtest.h>

#include <QPalette>

#include "tests/support/scheme_palette.h"

namespace {

TEST(MarkColor, ContrastIsMeasuredAsTheGuidelinesDo) {
  const struct {
    QColor a, b;
    double ratio;
  } rows[] = {
      {Qt::black, Qt::white, 21.0},
      {Qt::white, Qt::black, 21.0},
      {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},  // the grey that just misses 4.5:1
      {QColor(0x3d, 0x3d, 0x3d), QColor(0x4a, 0x49, 0x47), 1.21},
      {Qt::red, Qt::red, 1.0},
  };
  for (const auto& row : rows)
    EXPECT_NEAR(ContrastRatio(row.a, row.b), row.ratio, 0.01) << row.a.name().toStdString();
}

struct MarkCase {
  const char* name;
  QColor mark;
  std::vector<QColor> backgrounds;
  bool unchanged;  // the mark stood out already
};

void PrintTo(const MarkCase& c, std::ostream* os) {
  *os << c.name;
}

const MarkCase kMarks[] = {
    {"DarkSchemeMidOnItsBase", QColor(0x4a, 0x49, 0x47), {QColor(0x3d, 0x3d, 0x3d)}, false},
    {"DarkSchemeHighlightOnItsButtons",
     QColor(0x12, 0x60, 0x8a),
     {QColor(0x22, 0x20, 0x20), QColor(0x3d, 0x3d, 0x3d), QColor(0x42, 0x42, 0x45)},
     false},
    {"LightMidOnWhite", QColor(0xb8, 0xb8, 0xb8), {Qt::white, QColor(0xef, 0xef, 0xef)}, false},
    {"BlackOnWhiteAlready", Qt::black, {Qt::white}, true},
    {"DarkGreyOnBlack", QColor(0x30, 0x30, 0x30), {Qt::black}, false},
};

class VisibleMarks : public testing::TestWithParam<MarkCase> {};

TEST_P(VisibleMarks, StandOutFromEveryBackgroundAndNoFurtherThanNeeded) {
  const MarkCase& c = GetParam();
  QColor mark;
  switch (c.backgrounds.size()) {
    case 1:
      mark = VisibleMark(c.mark, {c.backgrounds[0]});
      break;
    case 2:
      mark = VisibleMark(c.mark, {c.backgrounds[0], c.backgrounds[1]});
      break;
    default:
      mark = VisibleMark(c.mark, {c.backgrounds[0], c.backgrounds[1], c.backgrounds[2]});
  }
  for (const QColor& background : c.backgrounds)
    EXPECT_GE(ContrastRatio(mark, background), kMarkContrast) << background.name().toStdString();
  EXPECT_EQ(mark.alpha(), 255);
  if (c.unchanged) {
    EXPECT_EQ(mark, c.mark);
  } else {
    // Only as far as needed: against the background nearest it, close to 3:1.
    double nearest = 21;
    for (const QColor& background : c.backgrounds)
      nearest = std::min(nearest, ContrastRatio(mark, background));
    EXPECT_LT(nearest, 3.5);
  }
}

INSTANTIATE_TEST_SUITE_P(, VisibleMarks, testing::ValuesIn(kMarks),
                         [](const auto& info) { return std::string(info.param.name); });

// The frame and focus colours of a real dark scheme and of Qt's light one stand out from the
// window, the base and (the focus) the buttons.
TEST(MarkColor, FramesAndFocusStandOutOnLightAndDarkSchemes) {
  for (const QPalette& palette :
       {QPalette(), PaletteFromSchemeFile(QStringLiteral(TARVOLIN_DARK_SCHEME))}) {
    for (QPalette::ColorRole behind : {QPalette::Window, QPalette::Base}) {
      EXPECT_GE(ContrastRatio(FrameColor(palette), palette.color(behind)), kMarkContrast);
      EXPECT_GE(ContrastRatio(FocusColor(palette), palette.color(behind)), kMarkContrast);
    }
    EXPECT_GE(ContrastRatio(FocusColor(palette), palette.color(QPalette::Button)), kMarkContrast);
  }
}

}  // namespace

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

// A mark moved just far enough: 3:1 against both backgrounds, and close to it against the
// nearer one, or left alone where it stood out already.
TEST(MarkColor, MarksAreMovedJustFarEnoughToStandOut) {
  const struct {
    QColor mark, back1, back2;
    bool unchanged;
  } rows[] = {
      {QColor(0x4a, 0x49, 0x47), QColor(0x22, 0x20, 0x20), QColor(0x3d, 0x3d, 0x3d), false},
      {QColor(0x12, 0x60, 0x8a), QColor(0x3d, 0x3d, 0x3d), QColor(0x42, 0x42, 0x45), false},
      {QColor(0xb8, 0xb8, 0xb8), Qt::white, QColor(0xef, 0xef, 0xef), false},
      {QColor(0x30, 0x30, 0x30), Qt::black, Qt::black, false},
      {Qt::black, Qt::white, QColor(0xef, 0xef, 0xef), true},
  };
  for (const auto& row : rows) {
    const QColor mark = VisibleMark(row.mark, {row.back1, row.back2});
    const double nearer = std::min(ContrastRatio(mark, row.back1), ContrastRatio(mark, row.back2));
    EXPECT_GE(nearer, kMarkContrast) << row.mark.name().toStdString();
    if (row.unchanged) {
      EXPECT_EQ(mark, row.mark);
    } else {
      EXPECT_LT(nearer, 3.5) << row.mark.name().toStdString();
    }
  }
}

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

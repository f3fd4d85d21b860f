// Windows and device contexts: text placement and metrics, border, scroller, caret.
#include "ui/window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <optional>

#include "ui/dc.h"

namespace {

QFont CrispFont(int pointSize = 12) {
  QFont font = TDC::ScreenFont();
  font.setPointSize(pointSize);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

bool IsDark(const QImage& image, int x, int y) {
  return qGray(image.pixel(x, y)) < 128;
}

// The rows holding dark pixels: first and last; nullopt when there are none.
std::optional<std::pair<int, int>> DarkRows(const QImage& image) {
  std::optional<std::pair<int, int>> rows;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (IsDark(image, x, y)) {
        if (!rows) rows = {y, y};
        rows->second = y;
        break;
      }
  return rows;
}

std::optional<int> FirstDarkColumn(const QImage& image) {
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (IsDark(image, x, y)) return x;
  return std::nullopt;
}

TEST(DeviceContext, TextOutTakesTheTopLeftOfTheTextCell) {
  const QFont font = CrispFont();
  const QFontMetrics metrics(font);
  for (int y : {0, 20, 37}) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setFont(font);
      TDC dc(painter);
      dc.TextOut(30, y, "X");
    }
    auto rows = DarkRows(image);
    ASSERT_TRUE(rows) << y;
    // The letter sits on the baseline, one ascent below the given top.
    EXPECT_NEAR(rows->second, y + metrics.ascent() - 1, 1) << y;
    EXPECT_GE(rows->first, y);
    auto column = FirstDarkColumn(image);
    ASSERT_TRUE(column);
    EXPECT_NEAR(*column, 30, 2);
  }
}

TEST(DeviceContext, MetricsOfTheSelectedFont) {
  const QFont small = CrispFont(8);
  const QFont large = CrispFont(20);
  TDC dc(small);
  EXPECT_EQ(dc.TextHeight(), QFontMetrics(small).height());
  EXPECT_EQ(dc.TextWidth("Ca(OH)2"), QFontMetrics(small).horizontalAdvance("Ca(OH)2"));
  EXPECT_EQ(dc.TextWidth(""), 0);
  EXPECT_EQ(dc.TextExtent("XX"), QSize(dc.TextWidth("XX"), dc.TextHeight()));
  // Widths add up piece by piece for plain text, which layouts rely on.
  EXPECT_EQ(dc.TextWidth("Na") + dc.TextWidth("Cl"), dc.TextWidth("NaCl"));
  int smallHeight = dc.TextHeight();
  dc.SelectFont(large);
  EXPECT_GT(dc.TextHeight(), smallHeight);
  EXPECT_EQ(dc.TextHeight(), QFontMetrics(large).height());
}

TEST(DeviceContext, MeasuringContextDrawsNothingAndUsesTheScreenFont) {
  TDC dc;
  EXPECT_FALSE(dc.CanPaint());
  EXPECT_EQ(dc.TextHeight(), QFontMetrics(TDC::ScreenFont()).height());
  dc.TextOut(0, 0, "X");  // harmless
  dc.DrawLine(0, 0, 10, 10);
}

TEST(DeviceContext, LinesWithTheSelectedPen) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TDC dc(painter);
    dc.SelectPen(Qt::black, 2);
    dc.MoveTo(10, 0);
    dc.LineTo(10, 20);
    dc.SelectPen(Qt::white, 2);
    dc.DrawLine(10, 5, 10, 10);
  }
  EXPECT_TRUE(IsDark(image, 10, 2));
  EXPECT_TRUE(IsDark(image, 10, 15));
  EXPECT_FALSE(IsDark(image, 10, 7));  // erased with the background pen
  EXPECT_FALSE(IsDark(image, 10, 30));
  EXPECT_FALSE(IsDark(image, 20, 10));
}

// A window's painter starts with its palette's text colour: on a dark palette, lines and text
// drawn before any colour is chosen must not come out black on black.
TEST(DeviceContext, StartsWithThePaintersColourForTextAndLines) {
  QImage image(60, 40, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    painter.setPen(Qt::white);
    TDC dc(painter);
    dc.DrawLine(10, 0, 10, 39);
    dc.TextOut(20, 0, "W");
  }
  EXPECT_FALSE(IsDark(image, 10, 20));
  bool lightText = false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 20; x < image.width(); ++x) lightText = lightText || !IsDark(image, x, y);
  EXPECT_TRUE(lightText);
}

// Paints a black 8 x 8 square at a fixed logical position.
class TSquareWindow : public TWindow {
 public:
  using TWindow::TWindow;
  QPoint square{16, 8};
  int paints = 0;
  bool moveCaretInPaint = false;

 protected:
  void Paint(TDC& dc) override {
    ++paints;
    dc.Painter()->fillRect(QRect(square, QSize(8, 8)), Qt::black);
    if (moveCaretInPaint) SetCaretPos(paints % 2, 3);
  }
};

QImage Grab(QWidget& w) {
  return w.grab().toImage();
}

TEST(Window, BorderShiftsTheClientArea) {
  TSquareWindow window;
  window.resize(100, 60);
  window.square = {0, 0};
  EXPECT_EQ(window.ClientRect(), QRect(0, 0, 100, 60));
  window.SetBorder(true);
  EXPECT_EQ(window.ClientRect(), QRect(0, 0, 98, 58));
  EXPECT_EQ(window.ClientOrigin(), QPoint(1, 1));
  QImage image = Grab(window);
  EXPECT_TRUE(IsDark(image, 50, 0));    // the border
  EXPECT_TRUE(IsDark(image, 1, 1));     // client (0, 0)
  EXPECT_TRUE(IsDark(image, 8, 8));     // client (7, 7)
  EXPECT_FALSE(IsDark(image, 9, 9));    // client (8, 8): past the square
  EXPECT_FALSE(IsDark(image, 50, 30));  // white background
}

TEST(Window, ScrollerMovesThePaintOrigin) {
  struct TRow {
    int xPos, yPos;
    QPoint squareAt;  // where client (16, 8) in logical units appears
  };
  const TRow rows[] = {{0, 0, {16, 8}}, {2, 1, {0, 0}}, {1, 0, {8, 8}}, {0, 1, {16, 0}}};
  for (const TRow& row : rows) {
    TSquareWindow window;
    window.resize(200, 120);
    window.SetBorder(true);
    window.SetScrollBars(true, true);
    TScroller& scroller = window.AttachScroller(8, 8, 80, 80);
    scroller.ScrollTo(row.xPos, row.yPos);
    EXPECT_EQ(scroller.Offset(), QPoint(row.xPos * 8, row.yPos * 8));
    EXPECT_EQ(window.HorizontalScrollBar()->value(), row.xPos);
    EXPECT_EQ(window.VerticalScrollBar()->value(), row.yPos);
    QImage image = Grab(window);
    QPoint at = window.ClientOrigin() + row.squareAt;
    EXPECT_TRUE(IsDark(image, at.x(), at.y())) << row.xPos << "," << row.yPos;
    EXPECT_TRUE(IsDark(image, at.x() + 7, at.y() + 7));
    EXPECT_FALSE(IsDark(image, at.x() + 8, at.y() + 8));
  }
}

TEST(Window, ScrollBarsDriveTheScrollerWithinItsRange) {
  TSquareWindow window;
  window.resize(200, 120);
  window.SetScrollBars(true, true);
  TScroller& scroller = window.AttachScroller(8, 8, 80, 80);
  int extent = window.VerticalScrollBar()->width();
  EXPECT_EQ(window.ClientRect(), QRect(0, 0, 200 - extent, 120 - extent));
  window.VerticalScrollBar()->setValue(5);
  EXPECT_EQ(scroller.YPos(), 5);
  window.HorizontalScrollBar()->setValue(3);
  EXPECT_EQ(scroller.XPos(), 3);
  EXPECT_EQ(scroller.Offset(), QPoint(24, 40));
  scroller.ScrollTo(500, -4);
  EXPECT_EQ(scroller.XPos(), 80);
  EXPECT_EQ(scroller.YPos(), 0);
  scroller.ScrollBy(-10, 2);
  EXPECT_EQ(scroller.XPos(), 70);
  EXPECT_EQ(scroller.YPos(), 2);
  scroller.SetRange(10, 1);
  EXPECT_EQ(scroller.XPos(), 10);
  EXPECT_EQ(scroller.YPos(), 1);
}

TEST(Window, CaretIsDrawnAtItsClientPositionUnscrolled) {
  TSquareWindow window;
  window.resize(100, 60);
  window.square = {-50, -50};  // out of sight
  window.SetBorder(true);
  window.AttachScroller(8, 8, 80, 80).ScrollTo(1, 1);
  EXPECT_FALSE(window.HasCaret());
  window.CreateCaret(6, 2);
  window.SetCaretPos(10, 20);
  EXPECT_FALSE(IsDark(Grab(window), 11, 21));  // created hidden
  window.ShowCaret();
  EXPECT_TRUE(window.IsCaretShown());
  QImage image = Grab(window);
  EXPECT_TRUE(IsDark(image, 11, 21));
  EXPECT_TRUE(IsDark(image, 16, 22));
  EXPECT_FALSE(IsDark(image, 17, 22));
  EXPECT_FALSE(IsDark(image, 11, 23));
  window.HideCaret();
  EXPECT_FALSE(IsDark(Grab(window), 11, 21));
  window.ShowCaret();
  window.DestroyCaret();
  EXPECT_FALSE(window.HasCaret());
  EXPECT_FALSE(IsDark(Grab(window), 11, 21));
}

TEST(Window, MovingTheCaretWhilePaintingDoesNotRepaintForever) {
  TSquareWindow window;
  window.resize(100, 60);
  window.moveCaretInPaint = true;
  window.CreateCaret(4, 2);
  window.ShowCaret();
  window.show();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_GE(window.paints, 1);
  EXPECT_LE(window.paints, 3);
}

TEST(Window, SetupRunsOnceOnFirstShow) {
  class TCounting : public TWindow {
   public:
    int setups = 0;

   protected:
    void SetupWindow() override { ++setups; }
  } window;
  EXPECT_FALSE(window.IsSetUp());
  window.show();
  window.hide();
  window.show();
  EXPECT_EQ(window.setups, 1);
}

}  // namespace

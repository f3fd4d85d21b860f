// The real message box behind MessageBox, and the glyphs it shares with the dialogs.
#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QMessageBox>

#include "ui/glyph.h"

namespace {

// 'g' when the opaque pixels are mostly green, 'r' mostly red, '-' for neither or none.
char Hue(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  long r = 0, g = 0, b = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() < 128) continue;
      r += c.red();
      g += c.green();
      b += c.blue();
    }
  return g > 2 * r && g > 2 * b ? 'g' : r > 2 * g && r > 2 * b ? 'r' : '-';
}

char GlyphOf(QAbstractButton* button) {
  if (!button) return 'x';  // no such button
  return button->icon().isNull() ? '-' : Hue(button->icon().pixmap(20));
}

TEST(MessageBoxLook, AgreeingButtonsCarryTheCheckAndDecliningOnesTheCross) {
  struct Row {
    MbButtons buttons;
    const char* glyphs;  // OK, Yes, No, Cancel: check 'g', cross 'r', none '-', absent 'x'
  };
  const Row rows[] = {
      {MbButtons::Ok, "gxxx"}, {MbButtons::YesNo, "xgrx"}, {MbButtons::YesNoCancel, "xgr-"}};
  for (const Row& row : rows) {
    auto box = MakeMessageBox({nullptr, "Save?", "Confirmation", MbIcon::Question, row.buttons});
    std::string glyphs;
    for (auto which : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
      glyphs += GlyphOf(box->button(which));
    EXPECT_EQ(glyphs, row.glyphs) << static_cast<int>(row.buttons);
  }
  auto box = MakeMessageBox({nullptr, "Done.", "Information", MbIcon::Information, MbButtons::Ok});
  EXPECT_EQ(box->button(QMessageBox::Ok)->text(), "OK");
  EXPECT_EQ(box->windowTitle(), "Information");
}

// Enter presses the default button: the box's own choice (Yes) unless the question names one.
TEST(MessageBoxLook, TheDefaultButtonIsTheOneAskedFor) {
  struct Row {
    MbButtons buttons;
    int defaultButton;
    QMessageBox::StandardButton pressedByEnter;
  };
  const Row rows[] = {{MbButtons::YesNo, IDNO, QMessageBox::No},
                      {MbButtons::YesNo, IDYES, QMessageBox::Yes},
                      {MbButtons::YesNoCancel, IDCANCEL, QMessageBox::Cancel},
                      {MbButtons::Ok, IDOK, QMessageBox::Ok}};
  for (const Row& row : rows) {
    auto box = MakeMessageBox(
        {nullptr, "Delete?", "Confirmation", MbIcon::Question, row.buttons, row.defaultButton});
    EXPECT_EQ(box->defaultButton(), box->button(row.pressedByEnter)) << row.defaultButton;
  }
}

TEST(MessageBoxLook, PraiseShowsTheGreenCheckAndWarningsDoNot) {
  auto praise =
      MakeMessageBox({nullptr, "Very good.", "Excellent", MbIcon::Success, MbButtons::Ok});
  EXPECT_EQ(Hue(praise->iconPixmap()), 'g');
  EXPECT_EQ(praise->iconPixmap().devicePixelRatio(), praise->devicePixelRatioF());
  auto warning = MakeMessageBox({nullptr, "Sorry.", "Oops", MbIcon::Exclamation, MbButtons::Ok});
  // The warning sign is the program's own, drawn at the box's ratio as the praise is.
  EXPECT_EQ(warning->iconPixmap().devicePixelRatio(), warning->devicePixelRatioF());
  EXPECT_NE(Hue(warning->iconPixmap()), 'g');
}

// A button asks its icon for the size and device pixel ratio it draws at; the glyph is drawn
// afresh for each, never scaled up from a smaller picture.
TEST(Glyphs, DrawnSharpAtEveryRatioAndGreyWhenDisabled) {
  for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
    const QPixmap check = GlyphIcon(kGlyphCheck).pixmap(QSize(20, 20), ratio);
    EXPECT_EQ(check.devicePixelRatio(), ratio);
    EXPECT_EQ(check.size(), QSize(20, 20) * ratio) << ratio;
    EXPECT_EQ(Hue(check), 'g') << ratio;
    EXPECT_EQ(Hue(GlyphPixmap(kGlyphCross, 20, ratio)), 'r') << ratio;
  }
  EXPECT_EQ(Hue(GlyphIcon(kGlyphCheck).pixmap(QSize(20, 20), QIcon::Disabled)), '-');
  EXPECT_TRUE(GlyphIcon(21).isNull());
}

}  // namespace

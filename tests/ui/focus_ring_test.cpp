// The control with the keyboard focus shows a ring of its own, on a light and on a dark scheme:
// Check focused does not look like Check as the default button, nor like any unfocused control.
#include "ui/focus_ring.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/scheme_palette.h"
#include "ui/dialog.h"
#include "ui/mark_color.h"
#include "ui/message_box.h"

namespace {

// The pixels that focusing changed and that stand out from what is behind the control: their
// bounding box, how many there are, and whether some lie near each of the box's four sides.
struct Change {
  QRect box;
  int count = 0;
  bool allSides = false;
};

Change RingOf(const QImage& before, const QImage& after, const QColor& behind) {
  Change change;
  std::vector<QPoint> points;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) {
      const QRgb pixel = after.pixel(x, y);
      if (pixel == before.pixel(x, y) || ContrastRatio(QColor(pixel), behind) < kMarkContrast)
        continue;
      points.emplace_back(x, y);
      change.box |= QRect(x, y, 1, 1);
    }
  change.count = static_cast<int>(points.size());
  const QRect b = change.box;
  const int near = std::max(2, qRound(3 * after.devicePixelRatio()));
  bool top = false, bottom = false, left = false, right = false;
  for (const QPoint& p : points) {
    top = top || p.y() < b.top() + near;
    bottom = bottom || p.y() > b.bottom() - near;
    left = left || p.x() < b.left() + near;
    right = right || p.x() > b.right() - near;
  }
  change.allSides = top && bottom && left && right;
  return change;
}

struct RingCase {
  const char* name;
  const char* dialog;  // a template, or "" for a message box
  int control;         // id in the template; for a message box, unused
  bool dark;
};

void PrintTo(const RingCase& c, std::ostream* os) {
  *os << c.name;
}

const RingCase kRings[] = {
    {"DefaultCheckLight", "607", 1, false}, {"DefaultCheckDark", "607", 1, true},
    {"RestartLight", "607", 205, false},    {"RestartDark", "607", 205, true},
    {"TickBoxLight", "605", 102, false},    {"TickBoxDark", "605", 102, true},
    {"RadioButtonDark", "601", 103, true},  {"ChoiceListDark", "CHANGECHARGE", 102, true},
    {"MessageBoxOkLight", "", 0, false},    {"MessageBoxOkDark", "", 0, true},
    {"NumberBoxDark", "603", 101, true},    {"HeadingBoxDark", "EDITHEADING", 101, true},
};

class FocusRing : public testing::TestWithParam<RingCase> {};

TEST_P(FocusRing, ShowsWhereTheFocusIsUnlikeAnyOtherLook) {
  const RingCase& c = GetParam();
  const QPalette before = QApplication::palette();
  if (c.dark) QApplication::setPalette(PaletteFromSchemeFile(QStringLiteral(TARVOLIN_DARK_SCHEME)));
  {
    std::unique_ptr<QDialog> window;
    QWidget* control = nullptr;
    if (*c.dialog) {
      auto dialog = std::make_unique<TDialog>(nullptr, c.dialog);
      dialog->Create();
      control = dialog->Control(c.control);
      window = std::move(dialog);
    } else {
      auto box = MakeMessageBox({nullptr, "Text.", "Caption", MbIcon::Information, MbButtons::Ok});
      control = box->button(QMessageBox::Ok);
      window = std::move(box);
    }
    ASSERT_NE(control, nullptr);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    control->clearFocus();
    ASSERT_FALSE(control->hasFocus());
    const QImage unfocused = control->grab().toImage();
    control->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(control->hasFocus());
    const QImage focused = control->grab().toImage();

    const bool button = qobject_cast<QPushButton*>(control) != nullptr;
    const QColor behind = control->palette().color(button ? QPalette::Button : QPalette::Window);
    const Change ring = RingOf(unfocused, focused, behind);
    // A ring round the control's text, in sight against its face: wide and tall, on all four
    // sides, and more than a few pixels.
    EXPECT_TRUE(ring.allSides) << "the change is no ring";
    EXPECT_GE(ring.box.width(), focused.width() / 3);
    EXPECT_GE(ring.box.height(), focused.height() / 2);
    EXPECT_GE(ring.count, ring.box.width() + ring.box.height());
  }
  QApplication::setPalette(before);
}

INSTANTIATE_TEST_SUITE_P(, FocusRing, testing::ValuesIn(kRings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

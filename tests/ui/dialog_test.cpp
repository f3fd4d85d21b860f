// Dialogs built from templates: unit conversion, controls by id, commands, closing, setup.
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "tests/ui/counting_dialog.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/glyph.h"
#include "ui/help_viewer.h"
#include "ui/modal_run.h"
#include "ui/radio_button.h"
#include "ui/window.h"

namespace {

TEST(DialogUnits, ConvertWithBaseUnitsRoundingToNearest) {
  struct TRow {
    QSize base;
    QRect du, px;
  };
  const TRow rows[] = {
      {{6, 13}, {4, 8, 4, 8}, {6, 13, 6, 13}},
      {{6, 13}, {14, 14, 14, 14}, {21, 23, 21, 23}},  // 22.75 rounds up
      {{6, 13}, {1, 1, 2, 3}, {2, 2, 3, 5}},          // 1.5 and 1.625 round up, 4.875 too
      {{6, 13}, {330, 252, 50, 16}, {495, 410, 75, 26}},
      {{7, 15}, {24, 39, 14, 14}, {42, 73, 25, 26}},  // 73.125, 24.5 and 26.25
      {{8, 16}, {318, 167, 0, 0}, {636, 334, 0, 0}},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(TDialog::MapDialogRect(row.du, row.base), row.px)
        << row.du.x() << "," << row.du.y() << " base " << row.base.width();
}

// Windows placed in pixels, and the system font's units, stay as they are at today's usual
// 9 points and grow with a larger desktop font.
TEST(DialogUnits, PixelPlacesGrowWithALargerDesktopFont) {
  const QFont before = QApplication::font();
  for (int points : {9, 14}) {
    QFont font = before;
    font.setPointSize(points);
    QApplication::setFont(font);
    const TDialog keypad(nullptr, "607");
    const TDialog split(nullptr, "SPLITITDIALOG");
    const QRect question = keypad.ScaledRect(10, 10, 450, 35);
    if (points == 9) {
      EXPECT_EQ(question, QRect(10, 10, 450, 35));
      EXPECT_EQ(split.BaseUnits(), QSize(8, 16));
    } else {
      EXPECT_GT(question.width(), 450);
      EXPECT_GT(question.height(), 35);
      EXPECT_GT(split.BaseUnits().width(), 8);
      EXPECT_GT(split.BaseUnits().height(), 16);
    }
  }
  QApplication::setFont(before);
}

// Growing makes room at a height: what stands there and below moves down, the rest stays.
TEST(DialogUnits, GrowingMovesWhatIsBelowAndKeepsTheOrder) {
  TDialog dialog(nullptr, "601");
  dialog.Create();
  const QWidget* group = dialog.Control(106);
  const QWidget* ok = dialog.Control(1);
  const QRect groupBefore = group->geometry();
  const QRect okBefore = ok->geometry();
  const int height = dialog.height();
  QLabel* above = dialog.AddStatic("Question", 10, 10, 100, 20);
  dialog.GrowDownFrom(groupBefore.top(), 12);
  EXPECT_EQ(dialog.height(), height + 12);
  EXPECT_EQ(dialog.minimumHeight(), dialog.maximumHeight());
  EXPECT_EQ(group->geometry(), groupBefore.translated(0, 12));
  EXPECT_EQ(ok->geometry(), okBefore.translated(0, 12));
  EXPECT_EQ(above->geometry(), QRect(10, 10, 100, 20));
}

TEST(DialogUnits, BaseUnitsComeFromTheDialogFont) {
  TDialog dialog(nullptr, "607");
  QSize base = dialog.BaseUnits();
  EXPECT_EQ(base.height(), QFontMetrics(dialog.font()).height());
  EXPECT_GE(base.width(), 4);
  EXPECT_LE(base.width(), 10);
  // The dialog's client area is the template's size in those units.
  EXPECT_EQ(dialog.size(), TDialog::MapDialogRect(QRect(0, 0, 330, 252), base).size());
  // A bigger font gives bigger units.
  QSize larger = TDialog::BaseUnitsOf(TDialog::TemplateFont("MS Sans Serif", 16));
  EXPECT_GT(larger.width(), base.width());
  EXPECT_GT(larger.height(), base.height());
}

TEST(DialogFromTemplate, ControlsOfEachKindWithTypedLookups) {
  TDialog types(nullptr, "601");
  for (int id = 101; id <= 105; ++id) EXPECT_NE(types.RadioButton(id), nullptr) << id;
  EXPECT_EQ(types.RadioButton(101)->text(), "&Precipitation");
  EXPECT_NE(qobject_cast<QGroupBox*>(types.Control(106)), nullptr);
  EXPECT_EQ(types.CheckBox(101), nullptr);  // a radio button is not a check box

  TDialog select(nullptr, "605");
  for (int id = 101; id <= 105; ++id) EXPECT_NE(select.CheckBox(id), nullptr) << id;
  std::vector<std::string> statics;
  for (QWidget* w : select.TemplateControls())
    if (auto* label = qobject_cast<QLabel*>(w)) statics.push_back(label->text().toStdString());
  EXPECT_EQ(statics, std::vector<std::string>{"You may select more than one type of reaction."});

  TDialog split(nullptr, "splititdialog");
  EXPECT_EQ(split.TemplateName(), "splititdialog");
  ASSERT_NE(split.Template(), nullptr);
  EXPECT_NE(split.ComboBox(102), nullptr);
  EXPECT_NE(split.ComboBox(103), nullptr);
  EXPECT_EQ(split.Button(104)->text(), "&Dissociate");

  TDialog question(nullptr, "610");
  ASSERT_NE(question.Edit(207), nullptr);
  EXPECT_EQ(question.Edit(207)->geometry(), question.MapDialogRect(QRect(32, 16, 260, 12)));
}

// The group box is listed after its radio buttons; it must not swallow their clicks.
TEST(DialogFromTemplate, GroupBoxLiesBehindItsButtons) {
  TDialog dialog(nullptr, "601");
  for (int id = 101; id <= 105; ++id) {
    QWidget* radio = dialog.Control(id);
    QWidget* hit = dialog.childAt(radio->geometry().center());
    EXPECT_TRUE(hit == radio || radio->isAncestorOf(hit)) << id;
  }
}

QColor Dominant(const QPixmap& pixmap) {
  QImage image = pixmap.toImage();
  long r = 0, g = 0, b = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (c.alpha() < 128) continue;
      r += c.red();
      g += c.green();
      b += c.blue();
    }
  return QColor::fromRgb(r > g && r > b ? 255 : 0, g > r && g > b ? 255 : 0, 0);
}

TEST(DialogFromTemplate, OkAndCancelButtonsCarryTheirGlyphs) {
  EXPECT_EQ(GlyphPixmap(20).size(), QSize(20, 20));
  EXPECT_EQ(Dominant(GlyphPixmap(20)), QColor(0, 255, 0));
  EXPECT_EQ(Dominant(GlyphPixmap(24)), QColor(255, 0, 0));
  EXPECT_TRUE(GlyphPixmap(21).isNull());
  for (const char* name :
       {"601", "605", "606", "607", "608", "609", "610", "SPLITITDIALOG", "CHANGECHARGE"}) {
    TDialog dialog(nullptr, name);
    EXPECT_FALSE(dialog.Button(1)->icon().isNull()) << name;
    if (dialog.Button(2)) {
      EXPECT_FALSE(dialog.Button(2)->icon().isNull()) << name;
    }
    EXPECT_TRUE(dialog.Button(1)->isDefault()) << name;
  }
  TDialog dialog(nullptr, "607");
  EXPECT_TRUE(dialog.Button(205)->icon().isNull());
}

TEST(DialogCommands, CloseBoxAndEscapeAreCancel) {
  TCountingDialog closed("605");
  closed.show();
  closed.close();
  EXPECT_TRUE(closed.IsClosed());
  EXPECT_EQ(closed.result(), 2);

  TCountingDialog escaped("605");
  escaped.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&escaped, &escape);
  EXPECT_EQ(escaped.result(), 2);

  // A dialog that handles id 2 itself decides what the close box does.
  TCountingDialog bound("605");
  int cancels = 0;
  bound.Bind(2, [&] {
    ++cancels;
    bound.CloseWindow(2);
  });
  bound.show();
  bound.close();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(bound.result(), 2);
}

TEST(DialogRun, ExecuteSetsUpOnceAndRunsThroughTheModalSeam) {
  std::vector<TDialog*> runs;
  TModalRunner previous = SetModalRunner([&](TDialog& d) {
    runs.push_back(&d);
    EXPECT_EQ(static_cast<TCountingDialog&>(d).setups, 1);
    EXPECT_FALSE(d.IsClosed());
    d.Button(1)->click();
    return d.result();
  });
  TCountingDialog dialog("605");
  EXPECT_EQ(dialog.setups, 0);  // not in the constructor
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(dialog.Execute(), 1);
  EXPECT_EQ(dialog.setups, 1);
  EXPECT_EQ(runs, (std::vector<TDialog*>{&dialog, &dialog}));
  SetModalRunner(previous);
}

class TProbeWindow : public TWindow {
 public:
  using TWindow::TWindow;
  int setups = 0;

 protected:
  void SetupWindow() override { ++setups; }
};

TEST(DialogRun, SetupSetsUpChildWindowsOnce) {
  TCountingDialog dialog("607");
  auto* child = new TProbeWindow(&dialog);
  dialog.Create();
  dialog.Create();
  EXPECT_EQ(child->setups, 1);
  dialog.show();
  EXPECT_EQ(child->setups, 1);
}

TEST(DialogStatics, AddStaticAtPixels) {
  TDialog dialog(nullptr, "606");
  QLabel* label = dialog.AddStatic("Your Answer :", 10, 37, 80, 13);
  EXPECT_EQ(label->geometry(), QRect(10, 37, 80, 13));
  EXPECT_EQ(label->text(), "Your Answer :");
  EXPECT_EQ(label->parentWidget(), &dialog);
  EXPECT_EQ(dialog.Control(-1), nullptr);
}

TEST(Controls, RadioButtonsCanAllBeUnchecked) {
  TDialog dialog(nullptr, "601");
  dialog.RadioButton(103)->SetCheck(true);
  dialog.RadioButton(101)->SetCheck(true);
  EXPECT_FALSE(dialog.RadioButton(103)->GetCheck());  // exclusive
  dialog.RadioButton(101)->SetCheck(false);
  for (int id = 101; id <= 105; ++id) EXPECT_FALSE(dialog.RadioButton(id)->GetCheck()) << id;
  dialog.RadioButton(104)->click();
  EXPECT_TRUE(dialog.RadioButton(104)->GetCheck());
}

TEST(Controls, CheckBoxes) {
  TDialog dialog(nullptr, "605");
  TCheckBox* box = dialog.CheckBox(103);
  box->SetCheck(true);
  EXPECT_TRUE(box->GetCheck());
  box->click();
  EXPECT_FALSE(box->GetCheck());
}

TEST(Controls, ComboBoxListAndTextLimit) {
  TDialog dialog(nullptr, "CHANGECHARGE");
  TComboBox* combo = dialog.ComboBox(102);
  ASSERT_NE(combo, nullptr);
  EXPECT_FALSE(combo->isEditable());
  for (const char* item : {"5+", "4+", "0", "2-"}) combo->AddString(item);
  EXPECT_EQ(combo->GetCount(), 4);
  EXPECT_TRUE(combo->SetText("0"));
  EXPECT_EQ(combo->GetSelIndex(), 2);
  EXPECT_EQ(combo->GetText(), "0");
  EXPECT_FALSE(combo->SetText("7+"));  // a drop-down list offers only its items
  EXPECT_EQ(combo->GetText(), "0");
  combo->SetSelIndex(3);
  EXPECT_EQ(combo->GetText(), "2-");
  combo->SetTextLimit(1);
  EXPECT_EQ(combo->GetText(), "2");
}

TEST(DialogFromTemplate, UnknownTemplateGivesAnEmptyDialog) {
  TDialog dialog(nullptr, "NOSUCHDIALOG");
  EXPECT_EQ(dialog.Template(), nullptr);
  EXPECT_TRUE(dialog.TemplateControls().empty());
  EXPECT_EQ(dialog.Button(1), nullptr);
}

TEST(DialogHelp, F1OpensTheHelpFileAtThePageOfTheTemplate) {
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  QFile file(dir.filePath("tarvolin.hlp"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "<p><a name=\"index\">Contents</a></p><p><a name=\"answer\">Answer</a></p>"
      "<p><a name=\"charge\">Charges</a></p>");
  file.close();
  // {template, page shown}: a page the file lacks and a template without one give the index.
  const std::pair<const char*, const char*> cases[] = {
      {"607", "answer"}, {"changecharge", "charge"}, {"SPLITITDIALOG", "index"}, {"none", "index"}};
  for (const auto& [name, page] : cases) {
    TDialog dialog(nullptr, name);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_TRUE(THelpViewer::Instance().isVisible()) << name;
    EXPECT_EQ(THelpViewer::Instance().Topic(), page) << name;
    THelpViewer::Instance().close();
  }
  QDir::setCurrent(previous);
}

}  // namespace

// Every dialog template and the dialogs built on them, rendered offscreen at the scale the
// environment asks for (CTest runs this file at a device pixel ratio of 1 and of 2): no control
// overlaps another or leaves its dialog, and every text fits its control at the font in use.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coach/change_charge_dialog.h"
#include "coach/check_answer.h"
#include "coach/split_it_dialog.h"
#include "editor/change_dialog.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/add_substance_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/edit_substance_dialog.h"
#include "keypad/equation_dialog.h"
#include "keypad/new_question_dialog.h"
#include "model/question_record.h"
#include "model/reaction.h"
#include "print/heading_dialog.h"
#include "quiz/result_window.h"
#include "tests/support/equation_text.h"
#include "ui/dialog.h"
#include "ui/message_box.h"

namespace {

// "QPushButton \"&Check\"": the control's class and the start of its text or title.
std::string Name(const QWidget& w) {
  const QString text = w.property(qobject_cast<const QGroupBox*>(&w) ? "title" : "text").toString();
  return (w.metaObject()->className() + (" \"" + text.left(24) + "\"")).toStdString();
}

// The text a button shows: "&Answer" shows "Answer", "&&" one ampersand.
QString Shown(const QString& text) {
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// Why the text of control w does not fit it, or empty.
std::string TextFault(QWidget& w) {
  const QFontMetrics metrics(w.font());
  QStyle* style = w.style();
  const QRect box = w.contentsRect();
  auto tooSmall = [&](int needW, int needH) {
    if (needW <= box.width() && needH <= box.height()) return std::string();
    return Name(w) + " needs " + std::to_string(needW) + "x" + std::to_string(needH) + ", has " +
           std::to_string(box.width()) + "x" + std::to_string(box.height());
  };
  if (auto* label = qobject_cast<QLabel*>(&w)) {
    if (label->text().isEmpty()) return {};
    if (!label->wordWrap())
      return tooSmall(metrics.horizontalAdvance(label->text()), metrics.height());
    const QRect wrapped =
        metrics.boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::TextWordWrap, label->text());
    return tooSmall(wrapped.width(), wrapped.height());
  }
  if (auto* button = qobject_cast<QPushButton*>(&w)) {
    const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    int needW = metrics.horizontalAdvance(Shown(button->text())) + margin + frame;
    int needH = metrics.height() + frame;
    if (!button->icon().isNull()) {
      needW += button->iconSize().width() + 4;
      needH = std::max(needH, button->iconSize().height() + frame);
    }
    return tooSmall(needW, needH);
  }
  if (auto* group = qobject_cast<QGroupBox*>(&w))
    return tooSmall(metrics.horizontalAdvance(Shown(group->title())), metrics.height());
  if (auto* combo = qobject_cast<QComboBox*>(&w)) {
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
      widest = std::max(widest, metrics.boundingRect(combo->itemText(i)).width());
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QSize need = style->sizeFromContents(QStyle::CT_ComboBox, &option,
                                               QSize(widest, metrics.height()), combo);
    if (need.width() > w.width()) return tooSmall(need.width(), 0);
    return {};
  }
  // Check boxes and radio buttons: the style's indicator, the gap and the label.
  if (auto* button = qobject_cast<QAbstractButton*>(&w)) {
    const bool radio = qobject_cast<QRadioButton*>(&w);
    const int indicatorW = style->pixelMetric(
        radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, &w);
    const int indicatorH = style->pixelMetric(
        radio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, &w);
    const int gap = style->pixelMetric(
        radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr, &w);
    return tooSmall(indicatorW + gap + metrics.horizontalAdvance(Shown(button->text())),
                    std::max(indicatorH, metrics.height()));
  }
  return {};
}

// Every fault of the controls of window, one line each.
std::vector<std::string> LayoutFaults(QWidget& window) {
  std::vector<QWidget*> controls;
  for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!w->isWindow() && w->isVisibleTo(&window)) controls.push_back(w);
  std::vector<std::string> faults;
  const QRect inside(QPoint(0, 0), window.size());
  const qreal ratio = window.devicePixelRatioF();
  for (QWidget* a : controls) {
    const QRect ra = a->geometry();
    if (!inside.contains(ra)) faults.push_back(Name(*a) + " leaves the dialog");
    if (std::string fault = TextFault(*a); !fault.empty()) faults.push_back(fault);
    auto* button = qobject_cast<QPushButton*>(a);
    if (button && !button->icon().isNull() &&
        button->icon().pixmap(button->iconSize(), ratio).devicePixelRatio() < ratio)
      faults.push_back(Name(*a) + " has a glyph blurred at this scale");
    for (QWidget* b : controls) {
      if (b <= a) continue;  // each pair once
      const QRect rb = b->geometry();
      if (!ra.intersects(rb)) continue;
      auto* group = qobject_cast<QGroupBox*>(a) ? a : qobject_cast<QGroupBox*>(b) ? b : nullptr;
      // A group box frames the controls inside it; it must not cut through one.
      if (group ? !group->geometry().contains(group == a ? rb : ra) : true)
        faults.push_back(Name(*a) + " overlaps " + Name(*b));
    }
    // The OK and Cancel glyph buttons side by side stand on one line.
    for (QWidget* b : controls) {
      auto* other = qobject_cast<QPushButton*>(b);
      if (!button || !other || other <= button || button->icon().isNull() || other->icon().isNull())
        continue;
      const QRect rb = b->geometry();
      if (ra.top() != rb.top() && ra.top() <= rb.bottom() && rb.top() <= ra.bottom())
        faults.push_back(Name(*a) + " and " + Name(*b) + " are not on one line");
    }
  }
  return faults;
}

void ExpectLaidOut(QWidget& window) {
  window.show();
  const std::vector<std::string> faults = LayoutFaults(window);
  std::string all;
  for (const std::string& fault : faults) all += "\n  " + fault;
  EXPECT_TRUE(faults.empty()) << "at scale " << window.devicePixelRatioF() << ":" << all;
  window.hide();
}

std::vector<std::string> TemplateNames() {
  std::vector<std::string> names;
  for (const TDialogTemplate& t : DialogTemplates()) names.push_back(t.name);
  return names;
}

class LayoutOfTemplate : public testing::TestWithParam<std::string> {};

TEST_P(LayoutOfTemplate, ControlsApartInsideAndTheirTextsFit) {
  TDialog dialog(nullptr, GetParam());
  ASSERT_NE(dialog.Template(), nullptr);
  dialog.Create();
  ExpectLaidOut(dialog);
}

INSTANTIATE_TEST_SUITE_P(Layout, LayoutOfTemplate, testing::ValuesIn(TemplateNames()),
                         [](const auto& info) { return "Dialog" + info.param; });

// The dialogs as the program opens them, with what they add at run time.
struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<TDialog>()> make;
};

void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.name;
}

// As long as a question can be (99 characters), in capitals.
const char* const kLongQuestion =
    "CONCENTRATED AQUEOUS POTASSIUM DICHROMATE SOLUTION IS POURED SLOWLY INTO ACIDIFIED FERROUS "
    "SULFATE.";

TReaction& Reaction() {
  static TReaction reaction(kLongQuestion, Redox);
  return reaction;
}

ComparisonTable& Table() {
  static ComparisonTable table;
  return table;
}

class LayoutOfWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(LayoutOfWindow, ControlsApartInsideAndTheirTextsFit) {
  std::unique_ptr<TDialog> dialog = GetParam().make();
  dialog->Create();
  ExpectLaidOut(*dialog);
}

// A student's equation as the coaching dialogs get it, shown in a strip of its own.
TAnswerWindow& Strip() {
  static TAnswerWindow* strip = [] {
    auto* window = new TAnswerWindow(nullptr, false);
    window->SetEquation(EquationFromText("Mg + HCl -> MgCl2 + H2"));
    return window;
  }();
  return *strip;
}
TEquation& Student() {
  return *Strip().Equation();
}

std::string heading = "Chemistry 101, Quiz 3\nName:";
QuestionRecord record;
TTypeFlags flags = {0, 0, 1, 0, 0};
std::string entry = "12";
int32_t points = 0;

INSTANTIATE_TEST_SUITE_P(
    Layout, LayoutOfWindow,
    testing::Values(
        WindowCase{"Heading", [] { return std::make_unique<THeadingDialog>(nullptr, &heading); }},
        WindowCase{"Type",
                   [] { return std::make_unique<TTypeDialog>(nullptr, &flags, kLongQuestion); }},
        WindowCase{"Select", [] { return std::make_unique<TSelectDialog>(nullptr, &flags); }},
        WindowCase{"Change", [] { return std::make_unique<TChangeDialog>(nullptr, &entry); }},
        WindowCase{"Answer",
                   [] {
                     return std::make_unique<TEquationDialog>(nullptr, Reaction(), &Table(),
                                                              &points, CheckAnswer);
                   }},
        WindowCase{"Result",
                   [] {
                     return std::make_unique<TResultWindow>(nullptr, Table(), Table(),
                                                            kLongQuestion, 1, 4, 6);
                   }},
        WindowCase{
            "NewQuestion",
            [] { return std::make_unique<TNewQuestionDialog>(nullptr, &record, kLongQuestion); }},
        WindowCase{"EditSubstance",
                   [] {
                     return std::make_unique<TEditSubstanceDialog>(
                         nullptr, 608, Reaction(), Student().reactants[1].get(), &Student(), true);
                   }},
        WindowCase{"AddSubstance",
                   [] {
                     return std::make_unique<TAddSubstanceDialog>(nullptr, 609, Reaction(),
                                                                  &Student(), false);
                   }},
        WindowCase{"SplitIt",
                   [] {
                     return std::make_unique<TSplitItDialog>(nullptr, Student().reactants[1].get(),
                                                             &Student(), true);
                   }},
        WindowCase{"ChangeCharge",
                   [] {
                     return std::make_unique<TChangeChargeDialog>(nullptr, &Strip(), "1+",
                                                                  Student().reactants[0].get());
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

// The second run of this file asks for QT_SCALE_FACTOR=2; make sure it got it.
TEST(LayoutScale, TheDialogsDrawAtTheScaleAsked) {
  const double asked = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                           ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                           : 1.0;
  TDialog dialog(nullptr, "601");
  dialog.show();
  EXPECT_DOUBLE_EQ(dialog.devicePixelRatioF(), asked);
}

// Every message box icon has the pixels of the scale asked, not a smaller picture scaled up.
TEST(LayoutScale, MessageBoxIconsAreDrawnAtTheScaleAsked) {
  for (MbIcon icon :
       {MbIcon::Exclamation, MbIcon::Information, MbIcon::Question, MbIcon::Success}) {
    std::unique_ptr<QMessageBox> box =
        MakeMessageBox({nullptr, "Text.", "Caption", icon, MbButtons::Ok});
    box->show();
    const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box.get());
    const QPixmap pixmap = box->iconPixmap();
    EXPECT_GE(pixmap.width(), qRound(size * box->devicePixelRatioF())) << static_cast<int>(icon);
  }
}

}  // namespace

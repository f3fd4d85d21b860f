// Every dialog template, and every dialog and window as the program opens it, at the desktop
// fonts people use (9, 10, 11, 12 and 14 points) and at the scale the environment asks for
// (CTest runs this file at a device pixel ratio of 1 and of 2): no control overlaps another or
// leaves its window, every text fits its control, every strip shows its text and caret whole, a
// dialog that keeps its size offers nothing to minimise or maximise, and the marks of a group
// stand evenly apart. Then every window under a dark desktop scheme read from a colour-scheme
// file, and under Qt's own light one: its frames, tick boxes, marks and hint stay in sight.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "coach/change_charge_dialog.h"
#include "coach/check_answer.h"
#include "coach/split_it_dialog.h"
#include "editor/assign_dialog.h"
#include "editor/change_dialog.h"
#include "editor/react_window.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/add_substance_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/edit_substance_dialog.h"
#include "keypad/edit_window.h"
#include "keypad/equation_dialog.h"
#include "keypad/new_question_dialog.h"
#include "keypad/strip_window.h"
#include "model/question_record.h"
#include "model/reaction.h"
#include "model/reaction_file.h"
#include "print/heading_dialog.h"
#include "quiz/quiz_window.h"
#include "quiz/result_window.h"
#include "quiz/student_assignments_dialog.h"
#include "results/kept_assignments.h"
#include "results/results_window.h"
#include "tests/support/equation_text.h"
#include "tests/support/scheme_palette.h"
#include "tests/support/working_folder.h"
#include "ui/check_box.h"
#include "ui/dialog.h"
#include "ui/mark_color.h"
#include "ui/message_box.h"
#include "ui/radio_button.h"

namespace {

const int kPointSizes[] = {9, 10, 11, 12, 14};

// The desktop's UI font at a point size, for the life of the object.
class DesktopFont {
 public:
  explicit DesktopFont(int points) : before_(QApplication::font()) {
    QFont font = before_;
    font.setPointSize(points);
    QApplication::setFont(font);
  }
  ~DesktopFont() { QApplication::setFont(before_); }

 private:
  QFont before_;
};

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

bool Differs(QRgb pixel, const QColor& background) {
  constexpr int kTolerance = 40;
  return std::abs(qRed(pixel) - background.red()) + std::abs(qGreen(pixel) - background.green()) +
             std::abs(qBlue(pixel) - background.blue()) >
         kTolerance;
}

// Where a strip would cut what it draws: it is drawn once more with room to spare, and its ink
// (text, scripts and caret: whatever is not its background) must lie inside the room it has.
// The equation strips scroll (or slide) across, so only their height counts.
std::string StripFault(TStripWindow& strip) {
  const bool across =
      qobject_cast<TAnswerWindow*>(&strip) != nullptr || qobject_cast<TEditWindow*>(&strip);
  const QRect client = strip.ClientRect();
  const QPoint origin = strip.TextOrigin();
  const QSize size = strip.size();
  constexpr int kSpare = 300;
  strip.resize(size + QSize(kSpare, kSpare));
  const QPoint roomyOrigin = strip.TextOrigin();
  const QImage image = strip.grab().toImage();
  strip.resize(size);
  const qreal ratio = image.devicePixelRatio();
  const QColor background = strip.BackgroundColor();
  // Two pixels in from the edge: the frame and the focus frame inside it.
  const QRect inside = QRect(QPoint(0, 0), size + QSize(kSpare, kSpare)).adjusted(2, 2, -2, -2);
  QRect ink;
  for (int y = qRound(inside.top() * ratio); y < qRound((inside.bottom() + 1) * ratio); ++y)
    for (int x = qRound(inside.left() * ratio); x < qRound((inside.right() + 1) * ratio); ++x)
      if (Differs(image.pixel(x, y), background))
        ink |= QRect(static_cast<int>(x / ratio), static_cast<int>(y / ratio), 1, 1);
  if (ink.isNull()) return {};
  // In the strip's own client coordinates, as it draws at the size it has.
  ink.translate(-strip.ClientOrigin() + origin - roomyOrigin);
  const bool cut = ink.top() < 0 || ink.bottom() > client.bottom() ||
                   (!across && (ink.left() < 0 || ink.right() > client.right()));
  if (!cut) return {};
  return std::string(strip.metaObject()->className()) + " draws " + std::to_string(ink.width()) +
         "x" + std::to_string(ink.height()) + " at " + std::to_string(ink.left()) + "," +
         std::to_string(ink.top()) + ", has " + std::to_string(client.width()) + "x" +
         std::to_string(client.height());
}

// The check boxes and radio buttons of each column of a group box: their tops.
std::vector<std::vector<int>> GroupColumns(const std::vector<QWidget*>& controls) {
  std::vector<std::vector<int>> columns;
  for (QWidget* frame : controls) {
    if (!qobject_cast<QGroupBox*>(frame)) continue;
    std::map<int, std::vector<int>> byLeft;
    for (QWidget* mark : controls)
      if ((qobject_cast<QCheckBox*>(mark) || qobject_cast<QRadioButton*>(mark)) &&
          frame->geometry().contains(mark->geometry().center()))
        byLeft[mark->x()].push_back(mark->y());
    for (auto& [left, tops] : byLeft) {
      std::sort(tops.begin(), tops.end());
      columns.push_back(tops);
    }
  }
  return columns;
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
    if (auto* strip = qobject_cast<TStripWindow*>(a))
      if (std::string fault = StripFault(*strip); !fault.empty()) faults.push_back(fault);
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
  for (const std::vector<int>& tops : GroupColumns(controls))
    for (std::size_t i = 2; i < tops.size(); ++i)
      if (tops[i] - tops[i - 1] != tops[1] - tops[0])
        faults.push_back("the marks of a group stand " + std::to_string(tops[1] - tops[0]) +
                         " and " + std::to_string(tops[i] - tops[i - 1]) + " pixels apart");
  // A dialog that keeps its size: a title and a close box only.
  if (qobject_cast<QDialog*>(&window) && window.minimumSize() == window.maximumSize() &&
      (window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)))
    faults.push_back("a dialog of fixed size offers minimise or maximise");
  return faults;
}

void Build(QWidget& window) {
  if (auto* dialog = qobject_cast<TDialog*>(&window)) dialog->Create();
  if (auto* view = qobject_cast<TWindow*>(&window)) view->Create();
}

void ExpectLaidOut(QWidget& window) {
  window.show();
  const std::vector<std::string> faults = LayoutFaults(window);
  std::string all;
  for (const std::string& fault : faults) all += "\n  " + fault;
  EXPECT_TRUE(faults.empty()) << "at scale " << window.devicePixelRatioF() << ", "
                              << QApplication::font().pointSize() << " points:" << all;
  window.hide();
}

std::vector<std::string> TemplateNames() {
  std::vector<std::string> names;
  for (const TDialogTemplate& t : DialogTemplates()) names.push_back(t.name);
  return names;
}

class LayoutOfTemplate : public testing::TestWithParam<std::tuple<std::string, int>> {};

TEST_P(LayoutOfTemplate, ControlsApartInsideAndTheirTextsFit) {
  const DesktopFont font(std::get<1>(GetParam()));
  TDialog dialog(nullptr, std::get<0>(GetParam()));
  ASSERT_NE(dialog.Template(), nullptr);
  dialog.Create();
  ExpectLaidOut(dialog);
}

INSTANTIATE_TEST_SUITE_P(Layout, LayoutOfTemplate,
                         testing::Combine(testing::ValuesIn(TemplateNames()),
                                          testing::ValuesIn(kPointSizes)),
                         [](const auto& info) {
                           return "Dialog" + std::get<0>(info.param) + "_" +
                                  std::to_string(std::get<1>(info.param)) + "pt";
                         });

// The dialogs and windows as the program opens them, with what they add at run time.
struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
  bool fitsScreen = false;  // opens within the screen's available area, however small
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

// A student's equation as the coaching dialogs get it, shown in a strip of its own.
TAnswerWindow& Strip() {
  static TAnswerWindow* strip = [] {
    auto* window = new TAnswerWindow(nullptr, false);
    window->SetEquation(EquationFromText("Mg + HCl -> Mg^2+ + Cl^1- + H2"));
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

// The reaction file the editor lists and the quiz reads: long questions of every type.
void WriteReactions() {
  TReactionList list;
  for (int32_t type = 0; type < kReactionTypeCount; ++type) {
    auto reaction = std::make_unique<TReaction>(kLongQuestion, type);
    reaction->reactants[0].SetFormula("NH4");
    reaction->reactants[0].charge = 1;
    reaction->reactants[1].SetFormula("Cr2O7");
    reaction->reactants[1].charge = -2;
    reaction->products[0].SetFormula("Cr");
    reaction->products[0].charge = 3;
    list.push_back(std::move(reaction));
  }
  ASSERT_TRUE(WriteReactionFile(list));
}

// The editor's listing, some entries ticked, the first one current.
std::unique_ptr<QWidget> Editor() {
  auto view = std::make_unique<TReactWindow>(nullptr);
  view->resize(700, 500);
  view->Create();
  view->EnterEditorMode();
  for (std::size_t row : {0u, 2u})
    if (TMyCheck* box = view->CheckBox(row)) box->SetCheck(true);
  return view;
}

TAssignmentDraft draft{kLongQuestion, "2026-12-09T07:00:00Z", true};

// A student's list as last read while the class server is away, which takes the most words.
const TKeptAssignments& Kept() {
  static TKeptAssignments kept = [] {
    TKeptAssignments made;
    TAssignment assignment;
    assignment.title = kLongQuestion;
    assignment.due = "2026-12-09T07:00:00Z";
    assignment.reactions.resize(10);
    made.TakeList("", {assignment});
    return made;
  }();
  return kept;
}
constexpr const char* kAway =
    "The class server at /tmp/tarvolin-pg.C7p4K7:31955 is not running. Below are your "
    "assignments as last read (Tue 8 Dec 2026, 06:08); what you answer waits on this computer "
    "and is sent once it can be.";

const WindowCase kWindows[] = {
    {"Assign", [] { return std::make_unique<TAssignDialog>(nullptr, &draft, 10); }},
    {"StudentAssignments",
     [] { return std::make_unique<TStudentAssignmentsDialog>(nullptr, Kept(), "Ann", kAway); }},
    {"Heading", [] { return std::make_unique<THeadingDialog>(nullptr, &heading); }},
    {"Type", [] { return std::make_unique<TTypeDialog>(nullptr, &flags, kLongQuestion); }},
    {"Select", [] { return std::make_unique<TSelectDialog>(nullptr, &flags); }},
    {"Change", [] { return std::make_unique<TChangeDialog>(nullptr, &entry); }},
    {"Answer", [] { return std::make_unique<TEquationDialog>(nullptr, Reaction(), CheckAnswer); }},
    {"Result",
     [] {
       return std::make_unique<TResultWindow>(nullptr, Table(), Table(), kLongQuestion, 1, 4, 6);
     }},
    {"NewQuestion",
     [] { return std::make_unique<TNewQuestionDialog>(nullptr, &record, kLongQuestion); }},
    {"EditSubstance",
     [] {
       return std::make_unique<TEditSubstanceDialog>(
           nullptr, Reaction(), Student().reactants[1].get(), &Student(), true);
     }},
    {"AddSubstance",
     [] { return std::make_unique<TAddSubstanceDialog>(nullptr, Reaction(), &Student(), false); }},
    {"SplitIt",
     [] {
       return std::make_unique<TSplitItDialog>(nullptr, Student().reactants[1].get(), &Student(),
                                               true);
     }},
    {"ChangeCharge",
     [] {
       return std::make_unique<TChangeChargeDialog>(nullptr, &Strip(), "1+",
                                                    Student().reactants[0].get());
     }},
    {"Editor", Editor},
    {"Quiz", [] { return std::make_unique<TQuizWindow>(nullptr, CheckAnswer); }},
    {"Results", [] { return std::make_unique<TResultsWindow>(); }, true},
};

class LayoutOfWindow : public testing::TestWithParam<std::tuple<WindowCase, int>> {
 protected:
  void SetUp() override { WriteReactions(); }
  TWorkingFolder folder_;
};

TEST_P(LayoutOfWindow, ControlsApartInsideAndTheirTextsFit) {
  const DesktopFont font(std::get<1>(GetParam()));
  std::unique_ptr<QWidget> window = std::get<0>(GetParam()).make();
  Build(*window);
  if (std::get<0>(GetParam()).fitsScreen) {
    window->show();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << window->width() << "x" << window->height() << " on " << screen.width() << "x"
        << screen.height();
  }
  ExpectLaidOut(*window);
}

INSTANTIATE_TEST_SUITE_P(Layout, LayoutOfWindow,
                         testing::Combine(testing::ValuesIn(kWindows),
                                          testing::ValuesIn(kPointSizes)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::to_string(std::get<1>(info.param)) + "pt";
                         });

// Marks under a palette: each must stand out from what is behind it by a contrast of 3:1, a
// hint's text by 4.5:1, as accessibility guidelines ask of controls and of text.

// The highest contrast between any pixel of area (in the widget's coordinates) and background.
double StrongestContrast(const QImage& image, const QRect& area, const QColor& background) {
  const qreal ratio = image.devicePixelRatio();
  const QRect pixels =
      QRect(QPointF(area.topLeft()).toPoint() * ratio, QSizeF(area.size() * ratio).toSize()) &
      image.rect();
  double strongest = 1;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y)
    for (int x = pixels.left(); x <= pixels.right(); ++x)
      strongest = std::max(strongest, ContrastRatio(QColor(image.pixel(x, y)), background));
  return strongest;
}

// Every mark of window that is too faint, one line each.
std::vector<std::string> FaintMarks(QWidget& window) {
  std::vector<std::string> faint;
  const QImage image = window.grab().toImage();
  const QPalette& palette = window.palette();
  const QColor dialog = palette.color(QPalette::Window);
  auto expect = [&](const std::string& what, const QRect& area, const QColor& behind,
                    double needed) {
    const double contrast = StrongestContrast(image, area, behind);
    if (contrast < needed)
      faint.push_back(what + ": contrast " + std::to_string(contrast).substr(0, 4) + ", needs " +
                      std::to_string(needed).substr(0, 3));
  };
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window) || w->isWindow()) continue;
    const QRect at(w->mapTo(&window, QPoint(0, 0)), w->size());
    if (qobject_cast<TStripWindow*>(w)) {
      // The frame's left edge, half way down, against the dialog round it.
      expect(Name(*w) + " frame", QRect(at.left(), at.center().y(), 1, 1), dialog, kMarkContrast);
    } else if (qobject_cast<QGroupBox*>(w)) {
      expect(Name(*w) + " frame", QRect(at.left(), at.center().y(), 1, 1), dialog, kMarkContrast);
    } else if (auto* mark = qobject_cast<QAbstractButton*>(w);
               mark && (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))) {
      QStyleOptionButton option;
      option.initFrom(mark);
      const QRect indicator = w->style()->subElementRect(qobject_cast<QRadioButton*>(w)
                                                             ? QStyle::SE_RadioButtonIndicator
                                                             : QStyle::SE_CheckBoxIndicator,
                                                         &option, w);
      // Unticked, so the tick itself cannot stand in for the box.
      if (!mark->isChecked())
        expect(Name(*w) + " box", indicator.translated(at.topLeft()), dialog, kMarkContrast);
    } else if (w->objectName() == QStringLiteral("typingHint")) {
      expect("the typing hint", at, dialog, 4.5);
    }
  }
  if (auto* editor = qobject_cast<TReactWindow*>(&window)) {
    const QColor base = palette.color(QPalette::Base);
    const QPoint client = editor->ClientOrigin();
    for (std::size_t row : {1u, 3u}) {
      const TMyCheck* box = editor->CheckBox(row);
      if (!box) continue;
      // The unticked box's left side.
      expect("the listing's box " + std::to_string(row),
             QRect(client + QPoint(0, box->Y() + 2), QSize(1, box->Size() - 4)), base,
             kMarkContrast);
    }
    // The dotted frame of the current entry, along its top.
    const int h = editor->LineHeight();
    if (const TMyCheck* first = editor->CheckBox(0))
      expect("the current entry's frame",
             QRect(client + QPoint(2 * h, first->Y() - 1), QSize(4 * h, 1)), base, kMarkContrast);
  }
  return faint;
}

QPalette DarkScheme() {
  return PaletteFromSchemeFile(QStringLiteral(TARVOLIN_DARK_SCHEME));
}

class LayoutMarksOfWindow : public testing::TestWithParam<std::tuple<WindowCase, bool>> {
 protected:
  void SetUp() override { WriteReactions(); }
  TWorkingFolder folder_;
};

// The scheme file really is dark: its window and base are darker than its text.
TEST(LayoutMarks, TheSchemeFileGivesADarkPalette) {
  const QPalette dark = DarkScheme();
  EXPECT_LT(dark.color(QPalette::Window).lightness(), 64);
  EXPECT_LT(dark.color(QPalette::Base).lightness(), 80);
  EXPECT_GT(dark.color(QPalette::Text).lightness(), 200);
  EXPECT_EQ(dark.color(QPalette::Disabled, QPalette::Text), QColor(0x80, 0x80, 0x80));
}

TEST_P(LayoutMarksOfWindow, FramesBoxesAndMarksStayInSight) {
  const bool dark = std::get<1>(GetParam());
  const QPalette before = QApplication::palette();
  if (dark) QApplication::setPalette(DarkScheme());
  {
    const DesktopFont font(12);
    std::unique_ptr<QWidget> window = std::get<0>(GetParam()).make();
    Build(*window);
    window->show();
    const std::vector<std::string> faint = FaintMarks(*window);
    std::string all;
    for (const std::string& mark : faint) all += "\n  " + mark;
    EXPECT_TRUE(faint.empty()) << (dark ? "dark" : "light") << " scheme:" << all;
  }
  QApplication::setPalette(before);
}

INSTANTIATE_TEST_SUITE_P(Layout, LayoutMarksOfWindow,
                         testing::Combine(testing::ValuesIn(kWindows), testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_dark" : "_light");
                         });

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

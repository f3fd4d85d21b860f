#include "editor/react_window.h"

#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <unordered_set>

#include "editor/change_dialog.h"
#include "editor/reaction_listing.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/new_question_dialog.h"
#include "model/charge_text.h"
#include "model/reaction_file.h"
#include "print/heading_dialog.h"
#include "print/quiz_print.h"
#include "ui/dc.h"
#include "ui/message_box.h"
#include "ui/scroller.h"

namespace {

constexpr int kInitialXUnit = 8;
constexpr int kInitialYUnit = 15;
constexpr int kXRange = 80;
constexpr int kInitialYRange = 200;
constexpr const char* kNoSuchNumber = "You must enter a number for a reaction that exists!!";
constexpr const char* kKeptInList =
    "\n\nThe file keeps its previous contents. Your change stays in the list, and the whole "
    "list is saved again with the next change.";

void NormalizeCharges(QuestionRecord& record) {
  for (bool reactant : {true, false})
    for (int i = 0; i < QuestionRecord::kSlots; ++i)
      record.SetCharge(reactant, i, NormalizeChargeText(record.Charge(reactant, i)));
}

void CopyAnswer(const QuestionRecord& record, TReaction& reaction) {
  for (bool reactant : {true, false}) {
    Substance* side = reaction.Side(reactant);
    for (int i = 0; i < TReaction::kSlots; ++i) {
      side[i].SetFormula(record.Formula(reactant, i));
      side[i].charge = ChargeFromText(record.Charge(reactant, i));
    }
  }
}

// A single-choice flag array for a stored type; codes outside 0..3 read as Miscellaneous.
TTypeFlags FlagsOf(int32_t type) {
  TTypeFlags flags = {};
  flags[type >= Precipitation && type < Miscellaneous ? type : Miscellaneous] = 1;
  return flags;
}

}  // namespace

TReactWindow::TReactWindow(QWidget* parent) : TWindow(parent) {
  SetScrollBars(true, true);
  setFocusPolicy(Qt::StrongFocus);
  Bind(kCmAdd, &TReactWindow::CmAdd);
  Bind(kCmChange, &TReactWindow::CmChange);
  Bind(kCmDelete, &TReactWindow::CmDelete);
  Bind(kCmDisplay, &TReactWindow::CmDisplay);
  Bind(kCmPrintQuiz, &TReactWindow::CmPrintQuiz);
  for (int id : {kCmAdd, kCmChange, kCmDelete}) BindEnabler(id, &TReactWindow::AllTypesListed);

  const ReadResult result = ReadReactionFile(allReactions);
  if (result == ReadResult::CannotOpen) {
    MessageBox(this, "Cannot open tarvolin.rxn", "Information", MbIcon::Exclamation);
  } else if (result == ReadResult::Damaged) {
    readFromDamagedFile = true;
    MessageBox(this, ReadResultMessage(result), "Warning", MbIcon::Exclamation);
  }
}

TReactWindow::~TReactWindow() = default;

TMyCheck* TReactWindow::CheckBox(std::size_t row) const {
  return row < checkBoxes.size() ? checkBoxes[row].get() : nullptr;
}

int TReactWindow::LineHeight() const {
  return TDC(font()).TextHeight();
}

void TReactWindow::SetupWindow() {
  TWindow::SetupWindow();
  AttachScroller(kInitialXUnit, kInitialYUnit, kXRange, kInitialYRange);
  RebuildList(true);
}

void TReactWindow::RebuildList(bool recreate) {
  shownReactions.clear();
  shownIndex.clear();
  if (recreate) checkBoxes.clear();
  const int h = LineHeight();
  int y = h + 10;
  int k = 0;
  for (int32_t type = 0; type < kReactionTypeCount; ++type) {
    if (typeFilter[type] != 1) continue;
    for (std::size_t i = 0; i < allReactions.size(); ++i) {
      if (allReactions[i]->type != type) continue;
      shownReactions.push_back(std::make_unique<TReaction>(*allReactions[i]));
      shownIndex.push_back(i);
      if (recreate) checkBoxes.push_back(std::make_unique<TMyCheck>(kFirstCheckId + k, y, h));
      y += 3 * h;
      ++k;
    }
  }
}

void TReactWindow::AddCheckBox() {
  const int h = LineHeight();
  if (checkBoxes.empty()) {
    checkBoxes.push_back(std::make_unique<TMyCheck>(kFirstCheckId + 1, h + 10, h));
  } else {
    const TMyCheck& last = *checkBoxes.back();
    checkBoxes.push_back(std::make_unique<TMyCheck>(last.Id() + 1, last.Y() + 3 * h, h));
  }
  Invalidate();
}

void TReactWindow::Paint(TDC& dc) {
  const int h = dc.TextHeight();
  dc.TextOut(ReactionListing::kTitleX, ReactionListing::kTitleY, "Reactions:");

  // Only the entries in view are drawn, so a long listing paints as fast as a short one.
  const int top = Scroller() ? Scroller()->Offset().y() : 0;
  const int bottom = top + ClientRect().height();
  const int step = 3 * h;
  const std::size_t count = shownReactions.size();
  const std::size_t first = static_cast<std::size_t>(std::max(0, (top - 10 - h) / step - 1));
  const std::size_t last =
      std::min(count, static_cast<std::size_t>(std::max(0, (bottom - 10 - h) / step + 2)));
  for (std::size_t k = first; k < last; ++k) {
    const int y = ReactionListing::EntryY(h, k);
    ReactionListing::DrawEntry(dc, static_cast<int>(k + 1), *shownReactions[k], y, h);
  }
  if (QPainter* painter = dc.Painter()) {
    for (std::size_t k = first; k < last && k < checkBoxes.size(); ++k) {
      const TMyCheck& box = *checkBoxes[k];
      QStyleOptionButton option;
      option.initFrom(this);
      option.rect = QRect(0, box.Y(), box.Size(), box.Size());
      option.state =
          QStyle::State_Enabled | (box.GetCheck() ? QStyle::State_On : QStyle::State_Off);
      style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
    }
  }

  if (TScroller* scroller = Scroller()) {
    // The range counts units of the unit in use before this paint (15 on the first).
    const int yRange = ReactionListing::EndY(h, count) / scroller->YUnit() - 1;
    // Set only on a change: a change repaints, and an unconditional set would repaint forever.
    if (scroller->XRange() != kXRange || scroller->YRange() != yRange)
      scroller->SetRange(kXRange, yRange);
    if (scroller->XUnit() != kInitialXUnit || scroller->YUnit() != h)
      scroller->SetUnits(kInitialXUnit, h);
  }
}

void TReactWindow::EvLButtonDown(const QPoint& client) {
  setFocus();
  const QPoint at = client + (Scroller() ? Scroller()->Offset() : QPoint());
  const int h = LineHeight();
  if (at.y() < 10 + h) return;
  const std::size_t row = static_cast<std::size_t>((at.y() - 10 - h) / (3 * h));
  if (TMyCheck* box = CheckBox(row); box && box->Contains(at.x(), at.y())) {
    box->Toggle();
    Invalidate();
  }
}

void TReactWindow::keyPressEvent(QKeyEvent* event) {
  TScroller* scroller = Scroller();
  if (!scroller) {
    TWindow::keyPressEvent(event);
    return;
  }
  const int x = scroller->XPos();
  const int y = scroller->YPos();
  const int xPage = std::max(1, ClientRect().width() / scroller->XUnit());
  const int yPage = std::max(1, ClientRect().height() / scroller->YUnit());
  switch (event->key()) {
    case Qt::Key_PageUp:
      scroller->ScrollTo(x, y - yPage);
      break;
    case Qt::Key_PageDown:
      scroller->ScrollTo(x, y + yPage);
      break;
    case Qt::Key_End:
      scroller->ScrollTo(x + xPage, y);
      break;
    case Qt::Key_Home:
      scroller->ScrollTo(x - xPage, y);
      break;
    case Qt::Key_Left:
      scroller->ScrollTo(x - 1, y);
      break;
    case Qt::Key_Up:
      scroller->ScrollTo(x, y - 1);
      break;
    case Qt::Key_Right:
      scroller->ScrollTo(x + 1, y);
      break;
    case Qt::Key_Down:
      scroller->ScrollTo(x, y + 1);
      break;
    default:
      TWindow::keyPressEvent(event);
      return;
  }
  event->accept();
}

bool TReactWindow::AllTypesListed() const {
  return std::all_of(typeFilter.begin(), typeFilter.end(), [](int32_t flag) { return flag == 1; });
}

bool TReactWindow::AskReactionNumber(std::size_t& row) {
  for (;;) {
    TChangeDialog dialog(this, &changeEntry);
    if (dialog.Execute() != 1) return false;
    const int32_t n = LeadingValue(changeEntry);
    if (n >= 1 && static_cast<std::size_t>(n) <= shownReactions.size()) {
      row = static_cast<std::size_t>(n - 1);
      return true;
    }
    MessageBox(this, kNoSuchNumber, "Warning", MbIcon::Exclamation);
  }
}

std::vector<const TReaction*> TReactWindow::MarkedReactions() const {
  std::vector<const TReaction*> marked;
  for (std::size_t k = 0; k < checkBoxes.size() && k < shownIndex.size(); ++k)
    if (checkBoxes[k]->GetCheck()) marked.push_back(allReactions[shownIndex[k]].get());
  return marked;
}

void TReactWindow::RestoreMarks(const std::vector<const TReaction*>& marked) {
  const std::unordered_set<const TReaction*> set(marked.begin(), marked.end());
  for (std::size_t k = 0; k < checkBoxes.size(); ++k)
    checkBoxes[k]->SetCheck(k < shownIndex.size() &&
                            set.count(allReactions[shownIndex[k]].get()) != 0);
}

void TReactWindow::AfterChange(const std::vector<const TReaction*>& marked) {
  RebuildList(false);
  RestoreMarks(marked);
  Invalidate();
  SaveReactions();
}

void TReactWindow::CmAdd() {
  if (!AllTypesListed()) return;
  QuestionRecord record;
  {
    TNewQuestionDialog dialog(this, &record, "");
    if (dialog.Execute() != 1) return;
  }
  TTypeFlags flags = FlagsOf(lastAddedType);
  {
    TTypeDialog dialog(this, &flags, record.Question());
    if (dialog.Execute() != 1) return;
  }
  NormalizeCharges(record);
  lastAddedType = TypeFromFlags(flags);
  AddReaction(record, flags);
}

void TReactWindow::AddReaction(const QuestionRecord& record, const TTypeFlags& flags) {
  const std::vector<const TReaction*> marked = MarkedReactions();
  auto reaction = std::make_unique<TReaction>(record.Question(), TypeFromFlags(flags));
  CopyAnswer(record, *reaction);
  const int32_t type = reaction->type;
  allReactions.push_back(std::move(reaction));
  if (typeFilter[type] == 1) AddCheckBox();
  AfterChange(marked);
}

void TReactWindow::CmChange() {
  if (!AllTypesListed()) return;
  std::size_t row = 0;
  if (!AskReactionNumber(row)) return;
  // The stored reaction that this row shows, whatever other reaction shares its question.
  const std::size_t target = shownIndex[row];
  const std::string question(allReactions[target]->Question());
  const int answer =
      MessageBox(this, "Do you want to do more than just change reaction type?",
                 "Change question and/or answer?", MbIcon::Question, MbButtons::YesNoCancel);
  if (answer == IDCANCEL) return;
  QuestionRecord record;
  const bool changeAll = answer == IDYES;
  if (changeAll) {
    TNewQuestionDialog dialog(this, &record, question);
    if (dialog.Execute() != 1) return;
  }
  TTypeFlags flags = FlagsOf(allReactions[target]->type);
  {
    TTypeDialog dialog(this, &flags, question);
    if (dialog.Execute() != 1) return;
  }
  NormalizeCharges(record);
  ChangeReaction(record, flags, target, changeAll);
}

void TReactWindow::ChangeReaction(const QuestionRecord& record, const TTypeFlags& flags,
                                  std::size_t target, bool changeAll) {
  if (target >= allReactions.size()) return;
  const std::vector<const TReaction*> marked = MarkedReactions();
  TReaction& reaction = *allReactions[target];
  if (changeAll) SetFieldText(reaction.question, TReaction::kQuestionSize, record.Question());
  reaction.type = TypeFromFlags(flags);
  if (changeAll) CopyAnswer(record, reaction);
  AfterChange(marked);
}

void TReactWindow::CmDelete() {
  if (!AllTypesListed()) return;
  std::size_t row = 0;
  if (!AskReactionNumber(row)) return;
  if (MessageBox(this, "Are you want to delete this reaction?", "Confirmation", MbIcon::Question,
                 MbButtons::YesNo) != IDYES)
    return;
  const std::size_t target = shownIndex[row];
  std::vector<const TReaction*> marked = MarkedReactions();
  std::erase(marked, allReactions[target].get());
  allReactions.erase(allReactions.begin() + static_cast<std::ptrdiff_t>(target));
  if (!checkBoxes.empty()) checkBoxes.pop_back();
  AfterChange(marked);
}

void TReactWindow::CmDisplay() {
  {
    TSelectDialog dialog(this, &typeFilter);
    if (dialog.Execute() != 1) return;
  }
  if (Scroller()) Scroller()->ScrollTo(0, 0);
  RebuildList(true);
  Invalidate();
}

bool TReactWindow::KeepDamagedFile(std::string& savedAs) {
  const QString original = QString::fromUtf8(kReactionFileName);
  // Nothing left to keep when the file has gone meanwhile.
  if (!QFile::exists(original)) return true;
  for (int n = 1; n < 1000; ++n) {
    const QString name =
        original + QStringLiteral(".damaged") + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
    if (QFile::exists(name)) continue;
    if (!QFile::copy(original, name)) return false;
    savedAs = name.toStdString();
    return true;
  }
  return false;
}

bool TReactWindow::SaveReactions() {
  std::string savedAs;
  if (readFromDamagedFile) {
    if (!KeepDamagedFile(savedAs)) {
      MessageBox(this,
                 "The file tarvolin.rxn was damaged when it was read, and a copy of it could not "
                 "be made beside it, so it was not rewritten." +
                     std::string(kKeptInList),
                 "Warning", MbIcon::Exclamation);
      return false;
    }
    readFromDamagedFile = false;
  }
  std::string error;
  if (!WriteReactionFile(allReactions, kReactionFileName, &error)) {
    const bool cannotCreate = error.rfind("Cannot create", 0) == 0;
    std::string text = cannotCreate ? "File tarvolin.rxn cannot be found!\n\n" + error + "."
                                    : "The reaction list could not be saved. " + error + ".";
    text += kKeptInList;
    if (!savedAs.empty())
      text += " The file was damaged when it was read; a copy of it was kept in " + savedAs + ".";
    MessageBox(this, text, "Warning", MbIcon::Exclamation);
    return false;
  }
  if (!savedAs.empty())
    MessageBox(this,
               "The file tarvolin.rxn was damaged when it was read. Its original bytes were "
               "kept in " +
                   savedAs + " before it was rewritten with the reactions listed here.",
               "Information", MbIcon::Information);
  return true;
}

void TReactWindow::CmPrintQuiz() {
  if (MessageBox(this,
                 "Make sure the questions you want to put on the quiz have a check mark to the "
                 "left. Use the mouse to check the boxes. Do you want to continue printing ?",
                 "Information", MbIcon::Question, MbButtons::YesNo) != IDYES)
    return;
  if (!THeadingDialog::EditHeadingFile(this)) return;
  // The selection is the marks as they are now; printing leaves them as they were.
  TQuizPrint quiz(
      shownReactions,
      [this](std::size_t k) { return k < checkBoxes.size() && checkBoxes[k]->GetCheck(); }, this,
      printer);
  printer.Print(this, quiz, true);
}

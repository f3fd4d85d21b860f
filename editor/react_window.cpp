#include "editor/react_window.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUuid>
#include <QWheelEvent>
#include <algorithm>

#include "editor/assign_dialog.h"
#include "editor/assignment_list_dialog.h"
#include "editor/change_dialog.h"
#include "editor/rules/reaction_listing.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/new_question_dialog.h"
#include "model/charge_text.h"
#include "print/heading_dialog.h"
#include "print/quiz_print.h"
#include "quiz/rules/practice_plan.h"
#include "results/results_settings.h"
#include "results/results_store.h"
#include "ui/dc.h"
#include "ui/indicator_outline.h"
#include "ui/mark_color.h"
#include "ui/message_box.h"
#include "ui/scroller.h"

namespace {

constexpr int kInitialXUnit = 8;
constexpr int kInitialYUnit = 15;
constexpr int kXRange = 80;
constexpr int kInitialYRange = 200;
constexpr const char* kNoSuchNumber = "You must enter a number for a reaction that exists!!";
// What the text of the current entry keeps against its band, as text needs to be read.
constexpr double kTextContrast = 4.5;

// The band behind the current entry: the highlight mixed into the base as far as the text on
// it still reads well, on light and dark schemes alike.
QColor CurrentEntryBand(const QPalette& palette) {
  const QColor base = palette.color(QPalette::Base);
  const QColor highlight = palette.color(QPalette::Highlight);
  const QColor text = palette.color(QPalette::Text);
  for (int percent = 35; percent > 0; percent -= 5) {
    const float share = static_cast<float>(percent) / 100;
    const QColor band =
        QColor::fromRgbF(base.redF() + (highlight.redF() - base.redF()) * share,
                         base.greenF() + (highlight.greenF() - base.greenF()) * share,
                         base.blueF() + (highlight.blueF() - base.blueF()) * share);
    if (ContrastRatio(band, text) >= kTextContrast) return band;
  }
  return base;
}

}  // namespace

TReactWindow::TReactWindow(QWidget* parent) : TWindow(parent) {
  SetScrollBars(true, true);
  SetBackgroundColor(palette().color(QPalette::Base));
  setFocusPolicy(Qt::StrongFocus);
  Bind(kCmAdd, &TReactWindow::CmAdd);
  Bind(kCmChange, &TReactWindow::CmChange);
  Bind(kCmDelete, &TReactWindow::CmDelete);
  Bind(kCmDisplay, &TReactWindow::CmDisplay);
  Bind(kCmPrintQuiz, &TReactWindow::CmPrintQuiz);
  Bind(kCmAssign, &TReactWindow::CmAssign);
  Bind(kCmAssignments, &TReactWindow::CmAssignments);
  Bind(kCmAssignPractice, &TReactWindow::CmAssignPractice);
  for (int id : {kCmAdd, kCmChange, kCmDelete}) BindEnabler(id, &TReactWindow::AllTypesListed);
  book_.Read();
  ShowReadMessage();
}

TReactWindow::~TReactWindow() = default;

void TReactWindow::ShowReadMessage() {
  if (!book_.ReadMessage().empty())
    MessageBox(this, book_.ReadMessage(), book_.ReadCaption(), MbIcon::Exclamation);
}

int TReactWindow::LineHeight() const {
  return TDC(font()).TextHeight();
}

void TReactWindow::SetupWindow() {
  TWindow::SetupWindow();
  AttachScroller(kInitialXUnit, kInitialYUnit, kXRange, kInitialYRange);
  book_.SetLineHeight(LineHeight());
  book_.RebuildList(true);
}

void TReactWindow::changeEvent(QEvent* event) {
  TWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) SetBackgroundColor(palette().color(QPalette::Base));
}

void TReactWindow::Paint(TDC& dc) {
  dc.SetTextColor(palette().color(QPalette::Text));
  const int h = dc.TextHeight();
  dc.TextOut(ReactionListing::kTitleX, ReactionListing::kTitleY, "Reactions:");

  // Only the entries in view are drawn, so a long listing paints as fast as a short one.
  const int top = Scroller() ? Scroller()->Offset().y() : 0;
  const TReactionList& shown = book_.ShownReactions();
  const ReactionListing::TRows rows =
      ReactionListing::VisibleRows(h, top, top + ClientRect().height(), shown.size());
  // The current entry, which Up, Down and Space act on, stands on a band of the highlight
  // colour inside a solid frame, to be found at a glance.
  QPainter* painter = dc.Painter();
  const std::size_t current = book_.Current();
  const bool currentShown = painter && current >= rows.first && current < rows.last;
  QRect currentFrame;
  if (currentShown) {
    const int y = ReactionListing::EntryY(h, current);
    const int left = Scroller() ? Scroller()->Offset().x() : 0;
    currentFrame = QRect(2 * h - 3, y - 1, left + ClientRect().width() - 2 * h, 2 * h + 2);
    painter->fillRect(currentFrame, CurrentEntryBand(palette()));
  }
  for (std::size_t k = rows.first; k < rows.last; ++k)
    ReactionListing::DrawEntry(dc, static_cast<int>(k + 1), *shown[k],
                               ReactionListing::EntryY(h, k), h);
  if (painter) {
    if (currentShown) {
      painter->save();
      constexpr int kFrameWidth = 2;
      painter->setPen(QPen(FocusColor(palette()), kFrameWidth));
      painter->setBrush(Qt::NoBrush);
      // The pen's width inside the band, so that its top line stays where the entry begins.
      painter->drawRect(currentFrame.adjusted(kFrameWidth / 2, kFrameWidth / 2, -kFrameWidth / 2,
                                              -kFrameWidth / 2));
      painter->restore();
    }
    for (std::size_t k = rows.first; k < rows.last; ++k) {
      const TMyCheck* box = book_.CheckBox(k);
      if (!box) break;
      QStyleOptionButton option;
      option.initFrom(this);
      option.rect = QRect(0, box->Y(), box->Size(), box->Size());
      option.state =
          QStyle::State_Enabled | (box->GetCheck() ? QStyle::State_On : QStyle::State_Off);
      style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
      OutlineIndicator(*painter, option.rect, palette(), false);
    }
  }

  if (TScroller* scroller = Scroller()) {
    // The listing stops where its last entry sits at the bottom of the view.
    const int yRange = ReactionListing::LastScrollLine(h, shown.size(), ClientRect().height());
    // Set only on a change: a change repaints, and an unconditional set would repaint forever.
    if (scroller->XRange() != kXRange || scroller->YRange() != yRange)
      scroller->SetRange(kXRange, yRange);
    if (scroller->XUnit() != kInitialXUnit || scroller->YUnit() != h)
      scroller->SetUnits(kInitialXUnit, h);
    // The vertical bar only while the listing is longer than the view; its height, which the
    // range depends on, does not change with it.
    if ((VerticalScrollBar() != nullptr) != (yRange > 0)) {
      SetScrollBars(true, yRange > 0);
      if (QScrollBar* bar = VerticalScrollBar(); bar && isVisible()) bar->show();
    }
  }
}

void TReactWindow::EvLButtonDown(const QPoint& client) {
  setFocus();
  const QPoint at = client + (Scroller() ? Scroller()->Offset() : QPoint());
  const std::size_t row = ReactionListing::RowAt(LineHeight(), at.y());
  if (row == ReactionListing::kNoRow || row >= book_.ShownReactions().size()) return;
  book_.SetCurrent(row);
  if (TMyCheck* box = book_.CheckBox(row); box && box->Contains(at.x(), at.y())) box->Toggle();
  Invalidate();
}

void TReactWindow::EnterEditorMode() {
  // Space ticks the first entry straight away, and Up and Down move on from it.
  book_.SetCurrent(0);
  ShowRow(book_.Current());
  Invalidate();
}

void TReactWindow::wheelEvent(QWheelEvent* event) {
  TScroller* scroller = Scroller();
  const int notches = event->angleDelta().y() / 120 + event->angleDelta().x() / 120;
  if (!scroller || notches == 0) {
    TWindow::wheelEvent(event);
    return;
  }
  // Three lines a notch; with Shift, or a sideways wheel, across.
  const bool across = (event->modifiers() & Qt::ShiftModifier) || event->angleDelta().y() == 0;
  if (across)
    scroller->ScrollTo(scroller->XPos() - 3 * notches, scroller->YPos());
  else
    scroller->ScrollTo(scroller->XPos(), scroller->YPos() - 3 * notches);
  event->accept();
}

void TReactWindow::ShowRow(std::size_t k) {
  TScroller* scroller = Scroller();
  if (!scroller || k >= book_.ShownReactions().size()) return;
  const int line =
      ReactionListing::LineShowing(LineHeight(), k, scroller->YPos(), ClientRect().height());
  if (line != scroller->YPos()) scroller->ScrollTo(scroller->XPos(), line);
}

std::string TReactWindow::NumberedQuestion(std::size_t k) const {
  return std::to_string(k + 1) + ".  " + book_.ShownReactions().at(k)->QuestionText();
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
  const int yPage = ReactionListing::PageLines(LineHeight(), ClientRect().height());
  const bool control = event->modifiers() & Qt::ControlModifier;
  const std::size_t count = book_.ShownReactions().size();
  switch (event->key()) {
    case Qt::Key_PageUp:
      scroller->ScrollTo(x, y - yPage);
      break;
    case Qt::Key_PageDown:
      scroller->ScrollTo(x, y + yPage);
      break;
    case Qt::Key_End:
      if (control) {
        // Ctrl+End: the last reaction.
        book_.SetCurrent(count == 0 ? 0 : count - 1);
        scroller->ScrollTo(x, scroller->YRange());
        Invalidate();
      } else {
        scroller->ScrollTo(x + xPage, y);
      }
      break;
    case Qt::Key_Home:
      if (control) {
        book_.SetCurrent(0);
        scroller->ScrollTo(x, 0);
        Invalidate();
      } else {
        scroller->ScrollTo(x - xPage, y);
      }
      break;
    case Qt::Key_Left:
      scroller->ScrollTo(x - 1, y);
      break;
    case Qt::Key_Right:
      scroller->ScrollTo(x + 1, y);
      break;
    case Qt::Key_Up:
    case Qt::Key_Down:
      // Up and Down move the current entry, and the listing follows it.
      book_.MoveCurrent(event->key() == Qt::Key_Up ? -1 : 1);
      ShowRow(book_.Current());
      Invalidate();
      break;
    case Qt::Key_Space:
      book_.ToggleCurrent();
      Invalidate();
      break;
    default:
      TWindow::keyPressEvent(event);
      return;
  }
  event->accept();
}

bool TReactWindow::MayEdit() {
  std::string why;
  if (book_.CanEdit(&why)) return true;
  MessageBox(this, why, "Warning", MbIcon::Exclamation);
  return false;
}

bool TReactWindow::AskReactionNumber(std::size_t& row) {
  for (;;) {
    TChangeDialog dialog(this, &numberEntry_);
    if (dialog.Execute() != TDialog::kOk) return false;
    const int32_t n = LeadingValue(numberEntry_);
    if (n >= 1 && static_cast<std::size_t>(n) <= book_.ShownReactions().size()) {
      row = static_cast<std::size_t>(n - 1);
      return true;
    }
    MessageBox(this, kNoSuchNumber, "Warning", MbIcon::Exclamation);
  }
}

void TReactWindow::CmAdd() {
  if (!AllTypesListed() || !MayEdit()) return;
  QuestionRecord record;
  TTypeFlags flags = TReactionBook::FlagsOfType(book_.LastAddedType());
  // A No to the doubts goes back to the question as it was typed, not to nothing.
  for (bool again = false;; again = true) {
    {
      TNewQuestionDialog dialog(this, &record, again ? record.Question() : "");
      if (again) dialog.StartWith(record);
      if (dialog.Execute() != TDialog::kOk) return;
    }
    {
      TTypeDialog dialog(this, &flags, record.QuestionText());
      if (dialog.Execute() != TDialog::kOk) return;
    }
    if (KeepDespiteDoubts(record, flags, std::string::npos)) break;
  }
  AddReaction(record, flags);
}

void TReactWindow::AddReaction(const QuestionRecord& record, const TTypeFlags& flags) {
  if (!MayEdit()) return;
  const std::size_t row = book_.Add(record, flags);
  ShowRow(row);
  Invalidate();
  // A change that was not saved is told by the save itself. The save may have taken in
  // another editor's reactions: the new one is the current entry wherever it now stands.
  if (SaveReactions() && row != std::string::npos && book_.Current() != std::string::npos)
    MessageBox(this, "Added as reaction " + std::to_string(book_.Current() + 1) + ".",
               "Information", MbIcon::Information);
}

void TReactWindow::CmChange() {
  if (!AllTypesListed() || !MayEdit()) return;
  std::size_t row = 0;
  if (!AskReactionNumber(row)) return;
  // The stored reaction that this row shows, whatever other reaction shares its question.
  const std::size_t stored = book_.StoredIndex(row);
  const TReaction& reaction = *book_.AllReactions()[stored];
  const std::string question(reaction.Question());
  book_.SetCurrent(row);
  ShowRow(row);
  Invalidate();
  // The reaction is named, so that a mistyped number is caught before anything changes.
  const int answer = MessageBox(
      this, "Do you want to do more than just change reaction type?\n\n" + NumberedQuestion(row),
      "Change question and/or answer?", MbIcon::Question, MbButtons::YesNoCancel);
  if (answer == IDCANCEL) return;
  QuestionRecord record;
  const bool changeAll = answer == IDYES;
  TTypeFlags flags = TReactionBook::FlagsOfType(reaction.type);
  for (bool again = false;; again = true) {
    if (changeAll) {
      TNewQuestionDialog dialog(this, &record, again ? std::string(record.Question()) : question);
      if (again) dialog.StartWith(record);
      if (dialog.Execute() != TDialog::kOk) return;
    }
    {
      // The question as it will be saved.
      TTypeDialog dialog(this, &flags, changeAll ? record.QuestionText() : reaction.QuestionText());
      if (dialog.Execute() != TDialog::kOk) return;
    }
    if (!changeAll || KeepDespiteDoubts(record, flags, stored)) break;
  }
  ChangeReaction(record, flags, stored, changeAll);
}

void TReactWindow::ChangeReaction(const QuestionRecord& record, const TTypeFlags& flags,
                                  std::size_t stored, bool changeAll) {
  if (!MayEdit() || stored >= book_.AllReactions().size()) return;
  book_.Change(stored, record, flags, changeAll);
  Invalidate();
  SaveReactions();
}

bool TReactWindow::KeepDespiteDoubts(const QuestionRecord& record, const TTypeFlags& flags,
                                     std::size_t replacing) {
  const std::vector<std::string> doubts = book_.Doubts(record, flags, replacing);
  if (doubts.empty()) return true;
  std::string text = "Please look at this reaction again before it is kept:\n";
  for (const std::string& doubt : doubts) text += "\n- " + doubt;
  text += "\n\nDo you want to keep it as it is?";
  return MessageBox(this, text, "Warning", MbIcon::Question, MbButtons::YesNo) == IDYES;
}

void TReactWindow::CmDelete() {
  if (!AllTypesListed() || !MayEdit()) return;
  std::size_t row = 0;
  if (!AskReactionNumber(row)) return;
  book_.SetCurrent(row);
  ShowRow(row);
  Invalidate();
  if (MessageBox(this, "Are you want to delete this reaction?\n\n" + NumberedQuestion(row),
                 "Confirmation", MbIcon::Question, MbButtons::YesNo) != IDYES)
    return;
  book_.Delete(book_.StoredIndex(row));
  Invalidate();
  SaveReactions();
}

void TReactWindow::CmDisplay() {
  TTypeFlags flags = book_.TypeFilter();
  {
    TSelectDialog dialog(this, &flags);
    if (dialog.Execute() != TDialog::kOk) return;
  }
  if (Scroller()) Scroller()->ScrollTo(0, 0);
  book_.SetTypeFilter(flags);
  Invalidate();
}

void TReactWindow::ReadAgainFromDisk() {
  book_.Read();
  Invalidate();
  ShowReadMessage();
}

bool TReactWindow::SaveReactions() {
  TReactionBook::TSaveResult result = book_.Save();
  if (result.outcome == TReactionBook::SaveOutcome::ChangedOnDisk) {
    // Keeping both is first and the default: Enter never throws a teacher's work away.
    const int answer = MessageBox(this, result.message, "Confirmation", MbIcon::Question,
                                  MbButtons::YesNoCancel, IDYES);
    if (answer != IDYES && answer != IDNO) {
      emit BookStateChanged();
      return false;
    }
    result = answer == IDYES ? book_.SaveKeepingBoth() : book_.SaveKeepingDiskCopy();
  }
  // Another editor's reactions may have come in with the save.
  ShowRow(book_.Current());
  Invalidate();
  emit BookStateChanged();
  if (result.outcome == TReactionBook::SaveOutcome::Saved) {
    if (!result.message.empty())
      MessageBox(this, result.message, "Information", MbIcon::Information);
    return true;
  }
  MessageBox(this, result.message, "Warning", MbIcon::Exclamation);
  return false;
}

bool TReactWindow::MaybeSave(bool reloadOnDiscard) {
  if (!book_.Unsaved()) return true;
  const int answer = MessageBox(
      this,
      "Your changes to the reaction list are not saved in " + book_.Path() +
          ".\n\nYes: try to save them again.\nNo: discard them.\nCancel: go back to the list.",
      "Confirmation", MbIcon::Question, MbButtons::YesNoCancel);
  if (answer == IDYES) return SaveReactions();
  if (answer != IDNO) return false;
  if (reloadOnDiscard) {
    ReadAgainFromDisk();
    emit BookStateChanged();
  }
  return true;
}

void TReactWindow::CmPrintQuiz() {
  if (!MaybeSave(true)) return;
  if (book_.MarkedCount() == 0) {
    MessageBox(this,
               "No question is ticked, so there is nothing to print. Tick the check box of each "
               "question you want on the quiz (click it, or move to it with Up and Down and "
               "press Space), then choose Print Quiz again.",
               "Information", MbIcon::Information);
    return;
  }
  if (MessageBox(this,
                 "Make sure the questions you want to put on the quiz have a check mark to the "
                 "left. Use the mouse to check the boxes. Do you want to continue printing ?",
                 "Information", MbIcon::Question, MbButtons::YesNo) != IDYES)
    return;
  if (!THeadingDialog::EditHeadingFile(this)) return;
  // The selection is the marks as they are now; printing leaves them as they were.
  TQuizPrint quiz(
      book_.ShownReactions(),
      [this](std::size_t k) {
        const TMyCheck* box = book_.CheckBox(k);
        return box && box->GetCheck();
      },
      this, TQuizPrint::PaperLimits(printer_.Device()));
  printer_.Print(this, quiz, true);
}

bool TReactWindow::OpenClassStore(TClassStore& store, const std::string& caption,
                                  const std::function<void(TResultsStore&)>& work) {
  // The working folder's own file is this computer's alone: no student would see what is kept
  // there.
  if (!TResultsSettings::SetByEnvironment() && TResultsSettings().Server().isEmpty()) {
    MessageBox(this,
               "Assignments are kept where your class's answers go, and this account sends them "
               "to no class server or shared results file. In quiz mode choose Results..., give "
               "the class server (or the shared results file) in the Class server field, then "
               "choose " +
                   caption + "... again.",
               caption, MbIcon::Exclamation);
    return false;
  }
  TResultsLocation location;
  std::string why;
  if (!TResultsSettings().Location(location, &why)) {
    MessageBox(this, why, caption, MbIcon::Exclamation);
    return false;
  }
  // Connected off the window's thread: a class server that does not answer takes seconds.
  // Cancelled, nothing was asked of the store and nothing needs saying.
  store = TClassStore(location);
  if (!store.Use(this, work)) return false;
  if (!store.IsOpen() || store.IsReadOnly()) {
    const std::string reason = store.IsOpen()
                                   ? location.DescribeAtStart() + " may only be read here."
                                   : AsSentence(store.Error());
    MessageBox(this,
               reason +
                   " Assignments cannot be given or changed until it can be written; try "
                   "again once it can.",
               caption, MbIcon::Exclamation, MbButtons::Ok, 0, store.Details());
    return false;
  }
  if (!store.SeesEveryone()) {
    MessageBox(this,
               "This account signs in to " + location.Describe() + " as " + store.Login() +
                   ", a student's login, and only a teacher's login may give or change "
                   "assignments. Give a teacher's login in the Class server field of Results... "
                   "(in quiz mode), then choose " +
                   caption + "... again.",
               caption, MbIcon::Exclamation);
    return false;
  }
  return true;
}

void TReactWindow::CmAssign() {
  const std::vector<const TReaction*> ticked = book_.MarkedReactions();
  if (ticked.empty()) {
    MessageBox(this,
               "No reaction is ticked, so there is nothing to assign. Tick the check box of each "
               "reaction you want to give (click it, or move to it with Up and Down and press "
               "Space), then choose Assign... again. To give each student practice of her own "
               "mistakes instead, choose Assign Practice... (F8).",
               "Assign", MbIcon::Information);
    return;
  }
  GiveAssignment(ticked, {{}, DefaultDue(std::time(nullptr)), false, 0});
}

void TReactWindow::CmAssignPractice() {
  GiveAssignment({}, {"Practice of your own mistakes", DefaultDue(std::time(nullptr)), false,
                      TPracticePlan::kDefaultCount});
}

void TReactWindow::GiveAssignment(const std::vector<const TReaction*>& ticked,
                                  TAssignmentDraft draft) {
  const std::string caption = draft.practiceCount > 0 ? "Assign Practice" : "Assign";
  TClassStore store;
  if (!OpenClassStore(store, caption)) return;
  TAssignDialog dialog(this, &draft, static_cast<int>(ticked.size()));
  if (dialog.Execute() != TAssignDialog::kOk) return;
  const std::string teacher =
      store.Login().empty() ? TResultsSettings::LoginName().toStdString() : store.Login();
  const TAssignment assignment = MakeAssignment(
      ticked, draft, teacher, QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(),
      std::time(nullptr));
  // Opened again for the write: the teacher may have taken a while over the dialog.
  bool written = false;
  store.Use(this, [&](TResultsStore& opened) { written = opened.WriteAssignment(assignment); });
  if (!written) {
    MessageBox(this,
               "\"" + assignment.title +
                   "\" was not assigned: " + AsSentence(store.ErrorInSentence()) +
                   (ticked.empty() ? " Choose " + caption + "... again once it can be written."
                                   : " Your ticks are kept; choose Assign... again once it can "
                                     "be written."),
               caption, MbIcon::Exclamation, MbButtons::Ok, 0, store.Details());
    return;
  }
  const std::string what =
      assignment.IsPractice()
          ? std::to_string(assignment.practiceCount) + " questions from each student's own mistakes"
          : std::to_string(assignment.reactions.size()) + " questions";
  MessageBox(this,
             "\"" + assignment.title + "\" is assigned: " + what + ", due " +
                 TAssignDialog::DueShown(assignment.due).toStdString() + ".",
             caption, MbIcon::Success);
}

void TReactWindow::CmAssignments() {
  TClassStore store;
  std::vector<TAssignment> given;
  if (!OpenClassStore(store, "Assignments",
                      [&given](TResultsStore& opened) { given = opened.Assignments(); }))
    return;
  TAssignmentListDialog dialog(this, store, std::move(given));
  dialog.Execute();
}

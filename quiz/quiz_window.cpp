#include "quiz/quiz_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <string>

#include "coach/coach.h"
#include "coach/rules/grader.h"
#include "editor/assign_dialog.h"
#include "editor/select_dialog.h"
#include "model/reaction_file.h"
#include "quiz/result_window.h"
#include "quiz/rules/assignment_order.h"
#include "quiz/student_assignments_dialog.h"
#include "results/answer_poster.h"
#include "results/kept_assignments.h"
#include "results/progress_run.h"
#include "results/results_settings.h"
#include "ui/dc.h"
#include "ui/message_box.h"
#include "ui/place_beside.h"

namespace {

std::string ScoreLine(int32_t pointsEarned, int32_t pointsPossible) {
  return "You have scored " + std::to_string(pointsEarned) + " out of " +
         std::to_string(pointsPossible) + " points.";
}

constexpr const char* kPrompt = "Select Start from the Tarvolin Menu or Press F3";
constexpr const char* kCompleted =
    "You have completed all of the reactions or there are no reactions in the chosen categories";

}  // namespace

TQuizWindow::TQuizWindow(QWidget* parent, TEquationDialog::TCheck check)
    : TWindow(parent),
      run_(reactions_),
      recorder_(reporter_, &TAnswerReporter::Answerer),
      check_(std::move(check)),
      startButton_(new QPushButton(QStringLiteral("&Start..."), this)),
      practiceButton_(new QPushButton(QStringLiteral("&Practice..."), this)),
      assignmentsButton_(new QPushButton(QStringLiteral("&Assignments..."), this)) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const int ninthW = screen.width() / 9;
  const int ninthH = screen.height() / 9;
  MoveWindow(ninthW, ninthH, 6 * ninthW, 6 * ninthH);
  Bind(kCmStart, &TQuizWindow::CmStart);
  Bind(kCmResults, &TQuizWindow::CmResults);
  Bind(kCmPractice, &TQuizWindow::CmPractice);
  Bind(kCmAssignments, &TQuizWindow::CmAssignments);
  startButton_->setObjectName(QStringLiteral("start"));
  startButton_->setToolTip(QStringLiteral("Start a quiz (F3)"));
  // The same command as the menu item and F3.
  connect(startButton_, &QPushButton::clicked, this, [this] { Dispatch(kCmStart); });
  practiceButton_->setObjectName(QStringLiteral("practice"));
  practiceButton_->setToolTip(QStringLiteral("Practise your own mistakes (F8)"));
  connect(practiceButton_, &QPushButton::clicked, this, [this] { Dispatch(kCmPractice); });
  assignmentsButton_->setObjectName(QStringLiteral("assignments"));
  assignmentsButton_->setToolTip(QStringLiteral("Answer an assignment (F7)"));
  connect(assignmentsButton_, &QPushButton::clicked, this, [this] { Dispatch(kCmAssignments); });
  PlaceStartButton();
  FollowPalette();
  ReadReactions();
  // Made now, so that answers left waiting by an earlier start are sent at once.
  connect(&reporter_.Poster(), &TAnswerPoster::StatusChanged, this, [this] {
    Invalidate();
    if (resultsWindow_ && resultsWindow_->isVisible()) resultsWindow_->AnswerKept();
  });
}

void TQuizWindow::PlaceStartButton() {
  const int h = QFontMetrics(font()).height();
  // In a row from Start, a gap of the line's height between them; a button the view is too
  // narrow for starts a row under them.
  QPoint at(30, StartButtonTop(h));
  int rowBottom = at.y();
  for (QPushButton* button : {startButton_, practiceButton_, assignmentsButton_}) {
    QRect place(at, button->sizeHint());
    if (place.right() > width() - 30 && at.x() > 30)
      place.moveTopLeft(QPoint(30, rowBottom + h / 2 + 1));
    button->setGeometry(place);
    rowBottom = std::max(rowBottom, place.bottom());
    at = place.topRight() + QPoint(h + 1, 0);
  }
}

void TQuizWindow::FollowPalette() {
  SetBackgroundColor(palette().color(QPalette::Base));
}

void TQuizWindow::resizeEvent(QResizeEvent* event) {
  TWindow::resizeEvent(event);
  PlaceStartButton();
}

void TQuizWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) FollowPalette();
  if (event->type() == QEvent::FontChange) PlaceStartButton();
  TWindow::changeEvent(event);
}

void TQuizWindow::ReadReactions() {
  const ReadResult result = ReadReactionFile(reactions_);
  exercised_ = ExercisedByAll(reactions_);
  switch (result) {
    case ReadResult::Ok:
      break;
    case ReadResult::CannotOpen:
      MessageBox(this, ReadResultMessage(result), "Information", MbIcon::Exclamation);
      break;
    case ReadResult::Damaged:
      // The complete reactions are kept and asked; the user should still know the file is bad.
      MessageBox(this, ReadResultMessage(result), "Warning", MbIcon::Exclamation);
      break;
  }
}

void TQuizWindow::CmStart() {
  run_.SeedFromClock();
  TTypeFlags flags = {};
  {
    TSelectDialog dialog(this, &flags);
    if (dialog.Execute() == TSelectDialog::kCancel) return;
  }
  run_.Begin(flags);
  recorder_.BeginRun(flags);
  reporter_.BeginRun();
  running_ = true;
  Invalidate();
  while (AskQuestion()) {
  }
  reporter_.EndRun();
  running_ = false;
  Invalidate();
}

bool TQuizWindow::AskQuestion() {
  const int index = run_.DrawQuestion();
  if (index < 0) {
    MessageBox(this, CompletionMessage(run_.Summary()), "Information", MbIcon::Exclamation);
    return false;
  }
  const TReaction& reaction = *reactions_[index];
  const TQuestionOutcome outcome = AskReaction(reaction);
  TakeOutcome(reaction, index, outcome);
  Invalidate();
  return outcome.ending != TEnding::Quit;
}

TQuestionOutcome TQuizWindow::AskReaction(const TReaction& reaction) {
  TEquationDialog dialog(this, reaction, check_);
  PlaceAnswerDialog(dialog);
  return dialog.Ask();
}

void TQuizWindow::TakeOutcome(const TReaction& reaction, int index,
                              const TQuestionOutcome& outcome) {
  run_.AddAnswer(outcome, reaction.type);
  const std::string notKept = recorder_.Record(reaction, index, outcome);
  // The driver's own words go behind Details, never into the student's message.
  if (!notKept.empty())
    MessageBox(this, notKept, "Warning", MbIcon::Exclamation, MbButtons::Ok, 0,
               reporter_.PosterStatus().details);
  if (resultsWindow_ && resultsWindow_->isVisible()) resultsWindow_->AnswerKept();
  if (outcome.ending != TEnding::Answer) return;
  // The answer as the student left it, beside the stored one.
  ComparisonTable correct, student;
  FillCorrectTable(reaction, correct);
  if (outcome.finalEquation) RefillStudentTable(*outcome.finalEquation, student);
  TResultWindow result(this, correct, student, reaction.QuestionText(), outcome.points,
                       run_.PointsEarned(), run_.PointsPossible());
  result.Execute();
}

void TQuizWindow::PlaceAnswerDialog(TEquationDialog& dialog) const {
  const QWidget* main = window();
  const QScreen* screen = main->screen();
  if (!screen) return;
  // Not shown yet, the dialog has no frame: it will get one like the main window's.
  const QSize frame = main->frameGeometry().size() - main->geometry().size();
  QRect place(QPoint(), dialog.size() + frame);
  place.moveCenter(main->frameGeometry().center());
  place = MakeRoomBeside(place, CoachingDialogSize().width() + frame.width(),
                         screen->availableGeometry());
  dialog.move(place.topLeft());
}

void TQuizWindow::CmResults() {
  if (!resultsWindow_) resultsWindow_ = new TResultsWindow(this);
  resultsWindow_->show();
  resultsWindow_->raise();
  resultsWindow_->activateWindow();
}

void TQuizWindow::DrawPrompt(TTextSurface& surface, int32_t pointsEarned, int32_t pointsPossible) {
  surface.TextOut(30, 10, kPrompt);
  if (pointsPossible <= 0) return;
  const int h = surface.TextHeight();
  surface.TextOut(30, 10 + 3 * h, ScoreLine(pointsEarned, pointsPossible));
}

std::string TQuizWindow::SpokenText() const {
  std::string text = kPrompt;
  if (run_.PointsPossible() > 0)
    text += "\n" + ScoreLine(run_.PointsEarned(), run_.PointsPossible());
  std::vector<std::string> lines = SummaryShown();
  lines.push_back(WaitingShown());
  for (const std::string& line : lines)
    if (!line.empty()) text += "\n" + line;
  return text;
}

void TQuizWindow::DrawSummary(TTextSurface& surface, int top,
                              const std::vector<std::string>& lines) {
  const int h = surface.TextHeight();
  for (std::size_t i = 0; i < lines.size(); ++i)
    surface.TextOut(30, top + static_cast<int>(i) * h, lines[i]);
}

std::string TQuizWindow::CompletionMessage(const TRunSummary& summary) {
  std::string message = kCompleted;
  const std::vector<std::string> lines = summary.Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) message += (i == 0 ? "\n\n" : "\n") + lines[i];
  return message;
}

std::vector<std::string> TQuizWindow::SummaryShown() const {
  return running_ ? std::vector<std::string>() : run_.Summary().Lines();
}

void TQuizWindow::Paint(TDC& dc) {
  dc.SetTextColor(palette().color(QPalette::Text));
  DrawPrompt(dc, run_.PointsEarned(), run_.PointsPossible());
  // A line's gap under the button.
  DrawSummary(dc,
              std::max({startButton_->geometry().bottom(), practiceButton_->geometry().bottom(),
                        assignmentsButton_->geometry().bottom()}) +
                  1 + dc.TextHeight(),
              SummaryShown());
  // One quiet line at the foot while answers wait for the store.
  const std::string waiting = WaitingShown();
  if (!waiting.empty()) {
    dc.SetTextColor(palette().color(QPalette::PlaceholderText));
    dc.TextOut(30, height() - 10 - dc.TextHeight(), waiting);
  }
}

std::string TQuizWindow::WaitingShown() const {
  const TSendStatus status = reporter_.PosterStatus();
  const std::string line = WaitingLine(status.counts, reporter_.Location());
  // A store that has stopped answering is said at once, with what waits for it.
  if (!status.silent) return line;
  const std::string problem = status.problem.substr(0, status.problem.find(';'));
  return line.empty() ? problem : problem + ": " + line;
}

void TQuizWindow::CmAssignments() {
  const std::string student = TAnswerReporter::Answerer().student;
  TKeptAssignments kept;
  std::string keptWhy;
  const bool keptRead = kept.Read(&keptWhy);
  TResultsLocation location;
  std::string why;
  std::string where;
  bool readNow = false;
  // Read off the window's thread, which keeps drawing: a class server that does not answer
  // takes seconds before her list as last read is shown instead.
  if (TResultsSettings().Location(location, &why) &&
      !TProgressRun::Run(this, "Reading your assignments...", 0, [&](const TProgressRun::TReport&) {
        readNow = kept.ReadFrom(location, student, why);
      }))
    return;
  if (readNow) {
    where = "As " + location.Describe() + " has them now.";
  } else if (!keptRead) {
    where = AsSentence(why) + " " + keptWhy;
  } else {
    const std::string readAt = kept.ReadAt().empty()
                                   ? std::string("never")
                                   : TAssignDialog::DueShown(kept.ReadAt()).toStdString();
    where = AsSentence(why) + " Below are your assignments as last read (" + readAt +
            "); what you answer waits on this computer and is sent once it can be.";
  }
  std::string chosen;
  {
    TStudentAssignmentsDialog dialog(this, kept, student, where);
    if (dialog.Execute() != TDialog::kOk) return;
    chosen = dialog.Chosen();
  }
  if (const TAssignment* assignment = kept.Find(chosen))
    RunAssignment(*assignment, kept.AnswersOf(chosen, student));
}

void TQuizWindow::RunAssignment(const TAssignment& assignment,
                                const std::vector<TAnswerRecord>& herAnswers) {
  if (assignment.IsPractice()) {
    RunPractice(&assignment, herAnswers);
    return;
  }
  TReactionList given;
  TTypeFlags types = {};
  for (const TAssignedReaction& reaction : assignment.reactions) {
    if (reaction.record.size() != kReactionRecordSize) {
      MessageBox(this,
                 "A question of \"" + assignment.title +
                     "\" cannot be read, so it cannot be answered here. Tell your teacher.",
                 "Assignments", MbIcon::Exclamation);
      return;
    }
    given.push_back(DecodeReaction(reaction.record.data()));
    if (reaction.type >= 0 && reaction.type < kReactionTypeCount) types[reaction.type] = 1;
  }
  const std::vector<int> left =
      QuestionsLeft(assignment, TAnswerReporter::Answerer().student, herAnswers);
  if (left.empty()) {
    MessageBox(this, "You have answered every question of \"" + assignment.title + "\" already.",
               "Information", MbIcon::Information);
    return;
  }
  // Nothing is drawn from the reaction file: the score and summary count this run alone.
  run_.Begin(TTypeFlags{});
  recorder_.BeginRun(types, assignment.id);
  reporter_.BeginRun();
  running_ = true;
  Invalidate();
  bool quit = false;
  for (std::size_t k = 0; k < left.size() && !quit; ++k) {
    const TReaction& reaction = *given[left[k]];
    const TQuestionOutcome outcome = AskReaction(reaction);
    // Numbered by its place in the assignment, which is how her progress knows it.
    TakeOutcome(reaction, left[k], outcome);
    Invalidate();
    quit = outcome.ending == TEnding::Quit;
  }
  if (!quit) {
    std::string message = "You have answered every question of \"" + assignment.title + "\".";
    for (const std::string& line : run_.Summary().Lines()) message += "\n" + line;
    MessageBox(this, message, "Information", MbIcon::Success);
  }
  reporter_.EndRun();
  running_ = false;
  Invalidate();
}

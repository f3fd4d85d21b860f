#include "quiz/answer_reporter.h"

#include "coach/grader.h"
#include "keypad/answer_window.h"
#include "model/charge_text.h"
#include "results/answer_text.h"
#include "results/results_settings.h"
#include "results/answer_poster.h"

TAnswerReporter::TAnswerReporter() = default;
TAnswerReporter::~TAnswerReporter() = default;

TAnswerPoster& TAnswerReporter::Poster() {
  if (!poster_) {
    TResultsSettings().MovePasswordOut();
    poster_ = std::make_unique<TAnswerPoster>();
    BeginRun();
  }
  return *poster_;
}

void TAnswerReporter::BeginRun() {
  TAnswerPoster& poster = Poster();
  std::string why;
  if (TResultsSettings().Location(location_, &why))
    poster.SetLocation(location_);
  else
    poster.SetUnreadable(why);
}

TSendStatus TAnswerReporter::PosterStatus() const {
  return poster_ ? poster_->Status() : TSendStatus();
}

void TAnswerReporter::EndRun() {
  if (poster_) poster_->Finish(TAnswerPoster::kFinishMilliseconds);
}

bool TAnswerReporter::Record(const TAnswerRecord& record, std::string& why) {
  TAnswerPoster& poster = Poster();
  if (!poster.Post(record, why)) return false;
  if (patience_ > 0) poster.Finish(patience_);
  why = poster.Status().problem;
  return why.empty();
}

TEquationDialog::TCheck TAnswerReporter::Watch(TEquationDialog::TCheck check) {
  return [this, check = std::move(check)](TEquationDialog& dialog) {
    if (const TEquation* equation = dialog.AnswerWindow()->Equation(); equation && !checked_) {
      checked_ = true;
      firstAnswer_ = EquationText(*equation);
      ComparisonTable correct, student;
      firstScore_ = GradeAnswer(dialog.Reaction(), *equation, correct, student);
    }
    TCoachingListener::TScope listening(*this);
    check(dialog);
  };
}

void TAnswerReporter::BeginQuestion() {
  questionStart_ = std::chrono::steady_clock::now();
  checked_ = false;
  firstAnswer_.clear();
  firstScore_ = 0;
  coaching_.clear();
}

void TAnswerReporter::CoachingOpened(TStep step, const std::string& formula,
                                     const std::string& charge) {
  coaching_.push_back(
      {static_cast<TCoachingStep>(step), SubstanceText(formula, ChargeToDisplay(charge))});
}

TAnswerRecord TAnswerReporter::EndQuestion(const TReaction& reaction, int questionIndex, int code,
                                           int32_t points, const TEquation* finalAnswer) const {
  TAnswerRecord record;
  const TResultsSettings settings;
  record.student = settings.Student().toStdString();
  record.login = TResultsSettings::LoginName().toStdString();
  record.questionNumber = questionIndex + 1;
  record.question = reaction.QuestionText();
  record.questionType = reaction.type;
  record.storedAnswer = StoredAnswerText(reaction);
  record.firstAnswer = firstAnswer_;
  record.finalAnswer = finalAnswer ? EquationText(*finalAnswer) : std::string();
  record.coaching = coaching_;
  const bool quit = code == 2;
  record.firstScore = quit ? 0 : firstScore_;
  record.finalScore = quit ? 0 : points;
  if (quit)
    record.ending = TEnding::Quit;
  else if (code == 1)
    record.ending = firstScore_ == 3 ? TEnding::RightAtOnce : TEnding::RightAfterCoaching;
  else
    record.ending = TEnding::Answer;
  record.seconds = static_cast<int32_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                            std::chrono::steady_clock::now() - questionStart_)
                                            .count());
  return record;
}

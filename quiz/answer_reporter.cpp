#include "quiz/answer_reporter.h"

#include "coach/grader.h"
#include "keypad/answer_window.h"
#include "model/charge_text.h"
#include "results/answer_text.h"
#include "results/results_settings.h"
#include "results/results_store.h"

TAnswerReporter::TAnswerReporter() = default;
TAnswerReporter::~TAnswerReporter() = default;

TResultsStore& TAnswerReporter::Store() {
  if (!store_) {
    store_ = std::make_unique<TResultsStore>();
    BeginRun();
  }
  return *store_;
}

void TAnswerReporter::BeginRun() {
  TResultsStore& store = Store();
  TResultsLocation location;
  const TResultsSettings settings;
  unreadableAddress_.clear();
  if (!settings.Location(location)) {
    const QString env = qEnvironmentVariable(TResultsLocation::kEnvironment).trimmed();
    unreadableAddress_ = (env.isEmpty() ? settings.Server() : env).toStdString();
  }
  if (location == store.Location()) return;
  store.Close();
  store.SetLocation(location);
}

bool TAnswerReporter::Record(const TAnswerRecord& record, std::string& why) {
  if (!unreadableAddress_.empty()) {
    why = "Your answers are not being kept: the class server address \"" + unreadableAddress_ +
          "\" cannot be read; it is given as postgresql://user@host/dbname. The quiz goes on.";
    return false;
  }
  return Store().Record(record, why);
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

// The quiz view's Practice...: kept apart from quiz_window.cpp, which runs the quiz and the
// assignments.
#include <chrono>
#include <random>
#include <set>

#include "model/answer_text.h"
#include "quiz/practice_dialog.h"
#include "quiz/quiz_window.h"
#include "quiz/rules/practice_plan.h"
#include "results/answer_outbox.h"
#include "results/kept_history.h"
#include "results/progress_run.h"
#include "results/results_settings.h"
#include "ui/message_box.h"

namespace {

constexpr const char* kPracticeCaption = "Practice";

// "2026-12-07T13:45:00Z" as "2026-12-07 13:45 UTC"; "never" for none.
std::string PracticeReadAtShown(const std::string& readAt) {
  if (readAt.size() < 16) return "never";
  return readAt.substr(0, 10) + " " + readAt.substr(11, 5) + " UTC";
}

// The questions, by question and answer, that she has answered in the assignment.
std::set<std::string> AnsweredIn(const TAssignment& assignment,
                                 const std::vector<TAnswerRecord>& herAnswers) {
  std::set<std::string> done;
  for (const TAnswerRecord& answer : herAnswers)
    if (answer.assignmentId == assignment.id && answer.ending != TEnding::Quit)
      done.insert(answer.question + '\n' + answer.storedAnswer);
  return done;
}

// The places in the reaction list of the questions she answered in the assignment.
std::vector<int> PlacesOf(const std::set<std::string>& done, const TReactionList& reactions) {
  std::vector<int> places;
  for (int i = 0; i < static_cast<int>(reactions.size()); ++i)
    if (done.contains(reactions[i]->QuestionText() + '\n' + StoredAnswerText(*reactions[i])))
      places.push_back(i);
  return places;
}

}  // namespace

void TQuizWindow::CmPractice() {
  RunPractice(nullptr, {});
}

void TQuizWindow::RunPractice(const TAssignment* assignment,
                              const std::vector<TAnswerRecord>& herAnswers) {
  TResultsLocation location;
  // An address that cannot be read leaves the default file, which the quiz would use too.
  TResultsSettings().Location(location);
  // Read off the window's thread, which keeps drawing: a class server that does not answer
  // takes seconds before her kept copy is read instead.
  const std::string student = TAnswerReporter::Answerer().student;
  TKeptHistory::TRead history;
  if (!TProgressRun::Run(this, "Reading your answers...", 0, [&](const TProgressRun::TReport&) {
        history = TKeptHistory(TKeptHistory::DefaultPath(), TAnswerOutbox::DefaultPath())
                      .Read(location, student);
      }))
    return;
  // Practice given as homework is planned from whatever she has answered, a spread of the
  // types while that is little.
  if (history.answers.empty() && !assignment) {
    std::string text =
        "You have not answered any questions yet, so there are no mistakes of "
        "yours to practise.\n\nStart a quiz now?";
    if (location.server && !history.problem.empty())
      text = "Your answers cannot be read now. " + history.problem +
             ". No copy of them is kept on this computer yet, so practice cannot be planned. "
             "Try again when the class server can be reached, or take a quiz.\n\nStart a quiz "
             "now?";
    if (MessageBox(this, text, kPracticeCaption, MbIcon::Question, MbButtons::YesNo) == IDYES)
      CmStart();
    return;
  }
  const TClock now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const uint32_t seed = static_cast<uint32_t>(now.time_since_epoch().count());
  // The same ties broken the same way whatever number is asked for, so that the line shown is
  // the plan that runs.
  const std::set<std::string> done =
      assignment ? AnsweredIn(*assignment, herAnswers) : std::set<std::string>();
  const std::vector<int> skip = PlacesOf(done, reactions_);
  auto planFor = [&](int count) {
    std::mt19937 generator(seed);
    return PlanPractice(
        history.answers, reactions_, exercised_, now,
        [&generator] { return static_cast<uint32_t>(generator()); }, count, skip);
  };
  auto line = [&](int count) {
    const TPracticePlan plan = planFor(count);
    const std::size_t asked = plan.questions.size();
    return (asked == 1 ? std::string("1 question: ") : std::to_string(asked) + " questions: ") +
           plan.Why() + ".";
  };
  if (reactions_.empty()) {
    MessageBox(this, "There are no reactions to practise with: the reaction file holds none.",
               kPracticeCaption, MbIcon::Exclamation);
    return;
  }
  std::string note;
  if (history.asKept)
    note = "Your answers cannot be read now. " + history.problem +
           ". These are chosen from your answers as last read, " +
           PracticeReadAtShown(history.readAt) +
           ". What you answer waits on this computer and is sent once it can be.";
  int count = TPracticePlan::kDefaultCount;
  if (assignment) {
    // Homework: as many as the teacher gave, less those answered already.
    count = assignment->practiceCount - static_cast<int>(done.size());
    if (count <= 0) {
      MessageBox(this, "You have answered every question of \"" + assignment->title + "\" already.",
                 "Information", MbIcon::Information);
      return;
    }
    if (MessageBox(this,
                   "\"" + assignment->title + "\": " + line(count) +
                       (note.empty() ? "" : "\n\n" + note) + "\n\nStart now?",
                   kPracticeCaption, MbIcon::Question, MbButtons::YesNo) != IDYES)
      return;
  } else {
    TPracticeDialog dialog(this, line, count, note);
    if (dialog.Execute() != TDialog::kOk) return;
    count = dialog.Count();
  }
  const TPracticePlan plan = planFor(count);
  TTypeFlags types = {};
  for (int index : plan.questions)
    if (reactions_[index]->type >= 0 && reactions_[index]->type < kReactionTypeCount)
      types[reactions_[index]->type] = 1;
  // Nothing is drawn: the score and summary count the practice alone.
  run_.Begin(TTypeFlags{});
  recorder_.BeginRun(types, assignment ? assignment->id : std::string(), true);
  reporter_.BeginRun();
  running_ = true;
  Invalidate();
  bool quit = false;
  for (std::size_t k = 0; k < plan.questions.size() && !quit; ++k) {
    const TReaction& reaction = *reactions_[plan.questions[k]];
    TQuestionOutcome outcome;
    {
      TEquationDialog dialog(this, reaction, check_);
      PlaceAnswerDialog(dialog);
      outcome = dialog.Ask();
    }
    TakeOutcome(reaction, plan.questions[k], outcome);
    Invalidate();
    quit = outcome.ending == TEnding::Quit;
  }
  if (!quit) {
    std::string message = "You have answered every practice question.\n";
    for (const std::string& line : run_.Summary().Lines()) message += "\n" + line;
    MessageBox(this, message, kPracticeCaption, MbIcon::Success);
  }
  reporter_.EndRun();
  running_ = false;
  Invalidate();
}

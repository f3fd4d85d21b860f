#pragma once
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "coach/rules/exercised_kinds.h"
#include "keypad/equation_dialog.h"
#include "model/assignment.h"
#include "model/reaction.h"
#include "model/text_surface.h"
#include "quiz/answer_reporter.h"
#include "quiz/rules/answer_recorder.h"
#include "quiz/rules/quiz_run.h"
#include "results/results_window.h"
#include "ui/resources/command_ids.h"
#include "ui/window.h"

class QPushButton;

// The quiz view: the reactions read at start-up, the prompt and score, a Start button, the
// summary of the last quiz run, and Start (301), which runs a quiz run: the type choice, then
// questions drawn at random until all are asked or the student quits.
class TQuizWindow : public TWindow {
  Q_OBJECT

 public:
  static constexpr int kCmStart = CommandId::kStart;
  static constexpr int kCmResults = CommandId::kResults;
  static constexpr int kCmPractice = CommandId::kPractice;
  static constexpr int kCmAssignments = CommandId::kAssignments;

  // check is what the answer dialog's "&Check" runs (grading and coaching).
  TQuizWindow(QWidget* parent, TEquationDialog::TCheck check);

  const TReactionList& Reactions() const { return reactions_; }
  TQuizRun& Run() { return run_; }
  const TQuizRun& Run() const { return run_; }

  void CmStart();
  // Shows the results window (one, kept until the view goes).
  void CmResults();
  TResultsWindow* ResultsWindow() const { return resultsWindow_; }
  // Practice aimed at her own mistakes: her answers read from wherever her results go (or as
  // kept on this computer), the plan's line, then its questions asked as a quiz asks them.
  // In quiz_practice.cpp.
  void CmPractice();
  // What each reaction exercises, found when the reactions were read.
  const std::vector<TExercised>& Exercised() const { return exercised_; }
  // The student's open assignments, as the class's store has them (or as last read when it
  // cannot be reached); the one she starts runs at once.
  void CmAssignments();
  // Asks the questions of the assignment she has not answered yet, in her order, until the
  // last or a Quit; herAnswers are those she gave to it before.
  void RunAssignment(const TAssignment& assignment, const std::vector<TAnswerRecord>& herAnswers);
  // Practice of her own mistakes; given as homework, the assignment's (its count fixed, the
  // questions she answered in it not asked again), else her own choice of how many.
  void RunPractice(const TAssignment* assignment, const std::vector<TAnswerRecord>& herAnswers);

  std::string HelpTopic() const override { return "quiz"; }
  // The prompt, the score, the summary and the waiting line, a line each, as drawn.
  std::string SpokenText() const override;
  QPushButton* StartButton() const { return startButton_; }
  QPushButton* PracticeButton() const { return practiceButton_; }
  QPushButton* AssignmentsButton() const { return assignmentsButton_; }
  // True from a confirmed type choice until the quiz run stops.
  bool Running() const { return running_; }
  // What the view shows under the Start button: the last quiz run's summary once it stopped.
  std::vector<std::string> SummaryShown() const;
  // The quiet line at the foot while answers wait for the store ("3 answers waiting for the
  // class server"); empty when none waits.
  std::string WaitingShown() const;
  TAnswerReporter& Reporter() { return reporter_; }

  // The prompt at (30, 10) and, once a question has been answered, the score three lines below.
  static void DrawPrompt(TTextSurface& surface, int32_t pointsEarned, int32_t pointsPossible);
  // Where the Start button's top goes for a line height h: two lines below the score.
  static int StartButtonTop(int h) { return 10 + 5 * h; }
  // The summary, a line under another from top, at the prompt's left.
  static void DrawSummary(TTextSurface& surface, int top, const std::vector<std::string>& lines);
  // The completion message, with the quiz run's summary after it when a question was answered.
  static std::string CompletionMessage(const TRunSummary& summary);

 protected:
  void Paint(TDC& dc) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ReadReactions();
  // Over the main window as a dialog goes, moved aside when that leaves the coaching dialogs
  // room beside it on the screen.
  void PlaceAnswerDialog(TEquationDialog& dialog) const;
  // Text and background follow the palette (a dark one too); the button follows the font.
  void FollowPalette();
  void PlaceStartButton();
  // Asks one question; false when the quiz run has stopped.
  bool AskQuestion();
  TQuestionOutcome AskReaction(const TReaction& reaction);
  // Scores the question, has it recorded (a failure to keep it is told once per quiz run and
  // the quiz goes on) and shows the answer after a wrong one.
  void TakeOutcome(const TReaction& reaction, int index, const TQuestionOutcome& outcome);

  TReactionList reactions_;
  std::vector<TExercised> exercised_;
  TQuizRun run_;
  TAnswerReporter reporter_;
  TAnswerRecorder recorder_;
  TEquationDialog::TCheck check_;
  QPointer<TResultsWindow> resultsWindow_;
  QPushButton* startButton_;
  QPushButton* practiceButton_;
  QPushButton* assignmentsButton_;
  bool running_ = false;
};

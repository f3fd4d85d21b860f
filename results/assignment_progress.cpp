#include "results/assignment_progress.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "model/question_outcome.h"

namespace {

// Times are ISO 8601 in UTC, with or without a fraction of a second: compared to the second.
std::string ToTheSecond(const std::string& time) {
  return time.substr(0, 19);
}

}  // namespace

TAssignmentProgress ProgressOf(const TAssignment& assignment, const TAssignmentTally& tally) {
  TAssignmentProgress progress;
  progress.total = assignment.QuestionCount();
  progress.answered = std::min(tally.answered, progress.total);
  if (progress.answered == 0) return progress;
  // Against the whole assignment, so that an unfinished one's score (the gradebook's) counts
  // what is missing as nothing; a practice set may have given her more than it asked.
  const int possible = std::max(tally.answered, progress.total) * kFullScore;
  progress.percent = static_cast<int32_t>(std::lround(100.0 * tally.firstPoints / possible));
  if (progress.answered < progress.total) {
    progress.state = TAssignmentState::Unfinished;
    return progress;
  }
  const bool late =
      !assignment.due.empty() && ToTheSecond(tally.lastAnsweredAt) > ToTheSecond(assignment.due);
  progress.state = late ? TAssignmentState::Late : TAssignmentState::Done;
  return progress;
}

TAssignmentProgress ProgressOf(const TAssignment& assignment,
                               const std::vector<TAnswerRecord>& herAnswers) {
  // The first answer to each question counts, once; a Quit is no answer.
  std::map<std::string, const TAnswerRecord*> first;
  for (const TAnswerRecord& answer : herAnswers) {
    if (answer.assignmentId != assignment.id || answer.ending == TEnding::Quit) continue;
    const TAnswerRecord*& kept = first[answer.question + '\n' + answer.storedAnswer];
    if (!kept ||
        std::tie(answer.answeredAt, answer.answerId) < std::tie(kept->answeredAt, kept->answerId))
      kept = &answer;
  }
  TAssignmentTally tally;
  for (const auto& [question, answer] : first) {
    ++tally.answered;
    tally.firstPoints += answer->firstScore;
    tally.lastAnsweredAt = std::max(tally.lastAnsweredAt, answer->answeredAt);
  }
  return ProgressOf(assignment, tally);
}

std::string ProgressText(const TAssignmentProgress& progress, bool asScore) {
  switch (progress.state) {
    case TAssignmentState::NotStarted:
      return "not started";
    case TAssignmentState::Unfinished:
      return std::to_string(progress.answered) + " of " + std::to_string(progress.total);
    case TAssignmentState::Done:
      return asScore ? std::to_string(progress.percent) + "%" : "done";
    case TAssignmentState::Late:
      return asScore ? std::to_string(progress.percent) + "%, late" : "late";
  }
  return {};
}

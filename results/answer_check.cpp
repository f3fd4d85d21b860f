#include "results/answer_check.h"

#include "model/question_outcome.h"
#include "model/reaction.h"

namespace {

bool IsScore(int32_t score) {
  return score >= 0 && score <= kFullScore;
}

}  // namespace

std::string ImpossibleField(const TAnswerRecord& r) {
  if (r.answerId.empty()) return "no answer id";
  if (r.runId.empty()) return "no quiz run";
  if (r.student.empty()) return "no student";
  if (!IsScore(r.firstScore) || !IsScore(r.finalScore)) return "a score out of range";
  if (r.questionType < 0 || r.questionType >= kReactionTypeCount) return "an unknown type";
  const int ending = static_cast<int>(r.ending);
  if (ending < 0 || ending > static_cast<int>(TEnding::Quit)) return "an unknown ending";
  for (const TCoachingNote& note : r.coaching) {
    const int step = static_cast<int>(note.step);
    if (step < 0 || step >= kCoachingStepCount) return "an unknown coaching step";
  }
  if (r.seconds < 0 || r.questionNumber < 1) return "a negative number";
  // No text this program writes holds a NUL, and no class server can store one.
  for (const std::string* text :
       {&r.answerId, &r.runId, &r.runStarted, &r.answeredAt, &r.student, &r.login, &r.types,
        &r.question, &r.storedAnswer, &r.firstAnswer, &r.finalAnswer})
    if (text->find('\0') != std::string::npos) return "a text with a NUL character";
  for (const TCoachingNote& note : r.coaching)
    if (note.substance.find('\0') != std::string::npos) return "a text with a NUL character";
  return {};
}

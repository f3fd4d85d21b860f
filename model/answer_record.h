#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/reaction.h"

// The coaching dialogs, in the order the coaching loop tries them.
enum class TCoachingStep { OxidationNumber, Dissociation, WrongSubstance, MissingSubstance };
inline constexpr int kCoachingStepCount = 4;

// One coaching dialog that opened for an answer, with the substance it was about.
struct TCoachingNote {
  TCoachingStep step = TCoachingStep::OxidationNumber;
  std::string substance;

  bool operator==(const TCoachingNote&) const = default;
};

// How a question ended.
enum class TEnding {
  RightAtOnce,         // the first Check was right
  RightAfterCoaching,  // coaching led to the right answer
  Answer,              // "&Answer": the correct equation was shown
  Quit,                // the quiz run ended on this question
};

// One answered question of a quiz run, as the results keep it. Texts are UTF-8.
struct TAnswerRecord {
  std::string answerId;  // unique everywhere: the same answer in two files is counted once
  std::string runId;
  std::string runStarted;  // ISO 8601, UTC
  std::string answeredAt;  // ISO 8601, UTC
  std::string student;
  std::string login;
  std::string types;           // the types chosen for the quiz run, by name
  int32_t questionNumber = 0;  // 1-based place in the reaction file
  std::string question;
  int32_t questionType = 0;
  std::string storedAnswer;
  std::string firstAnswer;
  std::string finalAnswer;
  int32_t firstScore = 0;
  int32_t finalScore = 0;
  TEnding ending = TEnding::RightAtOnce;
  std::vector<TCoachingNote> coaching;
  int32_t seconds = 0;
  std::string assignmentId;  // the assignment answered; empty for a quiz of the student's own
  int32_t practice = 0;      // 1 when the question was chosen for practice of her mistakes

  bool operator==(const TAnswerRecord&) const = default;
};

// Names as they are written into the store and the CSV; the parsers return false on a name
// that is not one of them.
std::string_view CoachingStepName(TCoachingStep step);
bool CoachingStepFromName(std::string_view name, TCoachingStep& step);
std::string_view EndingName(TEnding ending);
bool EndingFromName(std::string_view name, TEnding& ending);

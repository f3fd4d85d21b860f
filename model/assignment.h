#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A set of reactions a teacher gives her class to answer by a due date. It carries the
// reactions themselves, since each account keeps its own reaction list. Texts are UTF-8.
struct TAssignedReaction {
  std::string question;
  int32_t type = 0;
  // The reaction as the reaction file keeps it (EncodeReaction), so that the student's answer
  // is graded against exactly what the teacher chose.
  std::vector<unsigned char> record;

  bool operator==(const TAssignedReaction&) const = default;
};

struct TAssignment {
  std::string id;  // unique everywhere, made when it is assigned
  std::string title;
  std::string due;         // ISO 8601, UTC
  std::string assignedAt;  // ISO 8601, UTC
  std::string teacher;     // the login that assigned it
  bool shuffled = false;   // each student gets the questions in an order of her own
  bool withdrawn = false;  // withdrawn assignments are no longer offered; their answers are kept
  // Practice of each student's own mistakes: this many questions chosen for her, and no
  // reactions carried. 0 for a set of reactions.
  int32_t practiceCount = 0;
  std::vector<TAssignedReaction> reactions;

  bool IsPractice() const { return practiceCount > 0; }
  int32_t QuestionCount() const {
    return IsPractice() ? practiceCount : static_cast<int32_t>(reactions.size());
  }
  bool operator==(const TAssignment&) const = default;
};

// Where a student stands on an assignment.
enum class TAssignmentState { NotStarted, Unfinished, Done, Late };

struct TAssignmentProgress {
  TAssignmentState state = TAssignmentState::NotStarted;
  int32_t answered = 0;  // distinct questions of it answered (a Quit does not count)
  int32_t total = 0;
  int32_t percent = 0;  // first tries' points so far against full marks for the whole set
};

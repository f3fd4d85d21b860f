#pragma once
#include <map>
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "model/assignment.h"

// Where one student stands on one assignment, from her answers that name it: the distinct
// questions answered (a Quit counts for nothing), done once every question is answered, late
// when the last of them came after the due date; the percentage is the first tries' points
// against full marks of the whole assignment (so far, while unfinished).
TAssignmentProgress ProgressOf(const TAssignment& assignment,
                               const std::vector<TAnswerRecord>& herAnswers);

// What one student's answers to one assignment come to, as the store counts them in SQL: the
// distinct questions answered, the first tries' points at the first answer to each, and when
// the last of those first answers came.
struct TAssignmentTally {
  std::string student;
  std::string assignmentId;
  int32_t answered = 0;
  int32_t firstPoints = 0;
  std::string lastAnsweredAt;

  bool operator==(const TAssignmentTally&) const = default;
};
// The same rule over a tally: ProgressOf counts her answers into one and asks this.
TAssignmentProgress ProgressOf(const TAssignment& assignment, const TAssignmentTally& tally);
// "not started" and "3 of 10" alike; once finished, the student's list says "done" or "late"
// and the teacher's grid the score ("84%" or "84%, late").
std::string ProgressText(const TAssignmentProgress& progress, bool asScore);

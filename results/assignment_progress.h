#pragma once
#include <map>
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "model/assignment.h"

// Where one student stands on one assignment, from her answers that name it: the distinct
// questions answered (a Quit counts for nothing), done once every question is answered, late
// when the last of them came after the due date; the percentage is the first tries' points
// against full marks.
TAssignmentProgress ProgressOf(const TAssignment& assignment,
                               const std::vector<TAnswerRecord>& herAnswers);
// "not started" and "3 of 10" alike; once finished, the student's list says "done" or "late"
// and the teacher's grid the score ("84%" or "84%, late").
std::string ProgressText(const TAssignmentProgress& progress, bool asScore);

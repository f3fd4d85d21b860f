#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "model/assignment.h"
#include "model/reaction.h"

// What the teacher gives in the Assign dialog, before it becomes an assignment.
struct TAssignmentDraft {
  std::string title;
  std::string due;  // ISO 8601, UTC
  bool shuffled = false;
  // Practice of each student's own mistakes: how many questions; 0 for the ticked reactions.
  int32_t practiceCount = 0;
};

// Tomorrow at 8:00 on this computer's clock, as ISO 8601 in UTC: the usual morning a homework
// is due. Days of a clock change are counted by the calendar, not as 24 hours.
std::string DefaultDue(std::time_t now);

// What keeps the draft from being assigned, as a sentence for the teacher; empty when nothing.
std::string DraftProblem(const TAssignmentDraft& draft);

// The assignment of the ticked reactions (none for practice), in their listed order, each carried whole (its record
// as the reaction file keeps it), so that students whose own reaction lists differ answer
// exactly these. id is made by the caller, unique everywhere.
TAssignment MakeAssignment(const std::vector<const TReaction*>& ticked,
                           const TAssignmentDraft& draft, const std::string& teacher,
                           const std::string& id, std::time_t now);

// The store's reasons end without a stop; a message that goes on after one needs it.
std::string AsSentence(std::string text);

// ISO 8601 in UTC, to the second: "2026-12-09T07:00:00Z".
std::string UtcIso(std::time_t time);

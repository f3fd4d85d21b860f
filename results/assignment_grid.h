#pragma once
#include <string>
#include <vector>

#include "model/assignment.h"

class TResultsStore;

// The class's assignments as a grid: a row per student, a column per assignment given (the
// withdrawn ones left out), each cell where she stands on it. The store counts the answers
// (one row per student and assignment), so that reading the grid does not read every answer.
struct TAssignmentGrid {
  // As the store knows each student (a server by login, a file by name) ...
  std::vector<std::string> students;
  // ... and as the rest of the window names her: on a server "Ann Lee (ann)" where she gave a
  // name other than her login, her login alone where she gave none or answered nothing.
  std::vector<std::string> shown;
  std::vector<TAssignment> assignments;
  std::vector<std::vector<TAssignmentProgress>> cells;  // [student][assignment]
};

// The class list and everyone who answered an assignment; only the student given, when one is
// (as the results window's choice names her; a student's login gets her own row in any case).
// Empty, with store.Error(), on a failure.
TAssignmentGrid ReadAssignmentGrid(TResultsStore& store, const std::string& onlyStudent = {});

#include "results/assignment_grid.h"

#include <algorithm>
#include <map>

#include "results/assignment_progress.h"
#include "results/results_store.h"

TAssignmentGrid ReadAssignmentGrid(TResultsStore& store, const std::string& onlyStudent) {
  TAssignmentGrid grid;
  for (TAssignment& assignment : store.Assignments())
    if (!assignment.withdrawn) grid.assignments.push_back(std::move(assignment));
  if (!store.Error().empty()) return {};
  const std::vector<TAssignmentTally> tallies = store.AssignmentTallies();
  if (!store.Error().empty()) return {};
  // A student who answered but is no longer in the class's group keeps her row.
  grid.students = store.ClassList();
  for (const TAssignmentTally& tally : tallies) grid.students.push_back(tally.student);
  if (!onlyStudent.empty()) grid.students = {onlyStudent};
  std::sort(grid.students.begin(), grid.students.end());
  grid.students.erase(std::unique(grid.students.begin(), grid.students.end()), grid.students.end());
  std::map<std::pair<std::string, std::string>, const TAssignmentTally*> found;
  for (const TAssignmentTally& tally : tallies) found[{tally.student, tally.assignmentId}] = &tally;
  for (const std::string& student : grid.students) {
    std::vector<TAssignmentProgress>& row = grid.cells.emplace_back();
    for (const TAssignment& assignment : grid.assignments) {
      const auto tally = found.find({student, assignment.id});
      row.push_back(tally == found.end() ? ProgressOf(assignment, TAssignmentTally{})
                                         : ProgressOf(assignment, *tally->second));
    }
  }
  return grid;
}

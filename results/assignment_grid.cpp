#include "results/assignment_grid.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "results/assignment_progress.h"
#include "results/results_store.h"

TAssignmentGrid ReadAssignmentGrid(TResultsStore& store, const std::string& onlyStudent) {
  TAssignmentGrid grid;
  for (TAssignment& assignment : store.Assignments(false))
    if (!assignment.withdrawn) grid.assignments.push_back(std::move(assignment));
  if (!store.Error().empty()) return {};
  const std::vector<TAssignmentTally> tallies = store.AssignmentTallies();
  if (!store.Error().empty()) return {};
  // A student who answered but is no longer in the class's group keeps her row.
  grid.students = store.ClassList();
  for (const TAssignmentTally& tally : tallies) grid.students.push_back(tally.student);
  std::sort(grid.students.begin(), grid.students.end());
  // A server's figures name a student "Ann Lee (ann)" where her name is not her login; its
  // grid counts by login, and shows the name the figures give her.
  const bool server = store.Location().server;
  const auto chosen = [&](const std::string& student) {
    return student == onlyStudent || (server && onlyStudent.ends_with(" (" + student + ")"));
  };
  if (!onlyStudent.empty()) std::erase_if(grid.students, std::not_fn(chosen));
  grid.students.erase(std::unique(grid.students.begin(), grid.students.end()), grid.students.end());
  // Her first name of those the figures give, sorted, where she answered under several.
  const std::vector<std::string> named = server ? store.Students() : std::vector<std::string>();
  for (const std::string& student : grid.students) {
    const auto name = std::find_if(named.begin(), named.end(), [&](const std::string& shown) {
      return shown.ends_with(" (" + student + ")");
    });
    grid.shown.push_back(name == named.end() ? student : *name);
  }
  std::unordered_map<std::string, std::size_t> row, column;
  for (std::size_t s = 0; s < grid.students.size(); ++s) row[grid.students[s]] = s;
  std::vector<TAssignmentProgress> untouched;
  for (std::size_t a = 0; a < grid.assignments.size(); ++a) {
    column[grid.assignments[a].id] = a;
    untouched.push_back(ProgressOf(grid.assignments[a], TAssignmentTally{}));
  }
  grid.cells.assign(grid.students.size(), untouched);
  for (const TAssignmentTally& tally : tallies) {
    const auto s = row.find(tally.student);
    const auto a = column.find(tally.assignmentId);
    if (s != row.end() && a != column.end())
      grid.cells[s->second][a->second] = ProgressOf(grid.assignments[a->second], tally);
  }
  return grid;
}

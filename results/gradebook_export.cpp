#include "results/gradebook_export.h"

#include <QSaveFile>

#include "results/csv_export.h"
#include "results/results_store.h"

std::vector<std::vector<std::string>> GradebookRows(const TAssignmentGrid& grid) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string>& header = rows.emplace_back(1, "student");
  for (const TAssignment& assignment : grid.assignments)
    header.push_back(assignment.title + " (due " + assignment.due.substr(0, 10) + ")");
  for (std::size_t s = 0; s < grid.students.size(); ++s) {
    std::vector<std::string>& row = rows.emplace_back(1, grid.students[s]);
    for (const TAssignmentProgress& cell : grid.cells[s])
      row.push_back(cell.state == TAssignmentState::NotStarted ? std::string()
                                                               : std::to_string(cell.percent));
  }
  return rows;
}

bool ExportGradebook(TResultsStore& store, const QString& path, std::string& why) {
  const TAssignmentGrid grid = ReadAssignmentGrid(store);
  if (!store.Error().empty()) {
    why = store.ErrorInSentence();
    return false;
  }
  QSaveFile file(path);
  bool written = file.open(QIODevice::WriteOnly);
  for (const std::vector<std::string>& row : GradebookRows(grid)) {
    const std::string text = CsvRow(row);
    written = written && file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size());
  }
  if (written && file.commit()) return true;
  why = path.toStdString() + " cannot be written (" + file.errorString().toStdString() + ")";
  return false;
}

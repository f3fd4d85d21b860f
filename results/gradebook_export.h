#pragma once
#include <QString>
#include <string>
#include <vector>

#include "results/assignment_grid.h"

class TResultsStore;

// The assignments' grid as a gradebook for a learning platform or a spreadsheet: a row per
// student, a column per assignment (headed by its title and due date), each cell the score as a
// whole percentage (an unfinished one's points so far against the whole assignment), blank when
// not started. Written as the answers' CSV is (CsvRow: quoting, formula cells made text).
std::vector<std::vector<std::string>> GradebookRows(const TAssignmentGrid& grid);
// Writes the store's gradebook to path, replacing it only when all is written; false with why
// filled in otherwise.
bool ExportGradebook(TResultsStore& store, const QString& path, std::string& why);

#pragma once
#include <string>
#include <vector>

// Files shown together, each named by its file name and as many of the folders above it as tell
// it from the others: "bench1.db, bench2.db", but "lab1/tarvolin-results.db,
// lab2/tarvolin-results.db" for each lab computer's file copied into a folder of its own. The
// paths are absolute, folders separated by '/'; one path given twice gets one name twice.
std::vector<std::string> DistinctNames(const std::vector<std::string>& paths);

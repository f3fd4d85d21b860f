#pragma once
#include <string>

#include "results/results_location.h"

// The account's PostgreSQL password file, which the server's own tools and our connections
// read (~/.pgpass, or the file PGPASSFILE names), mode 0600: where a class server password
// typed into the program goes, so that the program's settings never hold it.
class TPasswordFile {
 public:
  static std::string Path();
  // Keeps location's password for its host, port, database and user as the file's first line,
  // replacing the line kept for them before and keeping every other; the file is written whole
  // with mode 0600. False, with why, on a failure or a password the file cannot hold.
  static bool Store(const TResultsLocation& location, std::string& why);
  // The line's four leading fields for the location, escaped as the file wants them.
  static std::string Key(const TResultsLocation& location);
};

#pragma once
#include <string>

// The summaries the results window reads, each as the query that works it out from the
// answers. A class server keeps them as views over these queries (so they always agree with
// the answers the reader may see); a file keeps them as tables, brought up to date with each
// answer and filled afresh from these queries after a bulk merge. The texts suit both SQLite
// and PostgreSQL.
struct TSummaryQuery {
  const char* table;
  const char* select;
};

extern const TSummaryQuery kSummaryQueries[5];

// The query's text for a file, or for a class server, where a student is named by the login
// the server knows with the name the program recorded ("Ann Lee (ann)"), so that two students
// who gave one name stay apart, and only the answers counted (tarvolin.counted_answers) count.
std::string SummarySelect(const TSummaryQuery& query, bool server);

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
// {only} (for a student given) narrows a query to her answers, with one more bound value.
std::string SummarySelect(const TSummaryQuery& query, bool server, const std::string& student = {});

// The answers of the last two fortnights by fortnight (0 the last, 1 the one before), and those
// that needed each kind of coaching; bound: the start of the last fortnight, of the one before,
// and now ({only} narrows them to one student).
extern const TSummaryQuery kTrendQueries[2];

#pragma once

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

#include "results/summary_queries.h"

#include "model/question_outcome.h"

// A Quit earns nothing and counts in no summary but its run's number of answers; the question
// key is the question and the stored answer, a line apart.
const TSummaryQuery kSummaryQueries[5] = {
    {"run_summary",
     "SELECT run_id, MIN(run_started) AS started, MIN({who}) AS student, MIN(types) AS types,"
     " CAST(SUM(CASE WHEN ending <> 'quit' THEN final_score ELSE 0 END) AS INTEGER) AS earned,"
     " CAST(SUM(CASE WHEN ending <> 'quit' THEN {full} ELSE 0 END) AS INTEGER) AS possible,"
     " CAST(COUNT(*) AS INTEGER) AS answers FROM answers GROUP BY run_id"},
    {"type_summary",
     "SELECT {who} AS student, question_type, CAST(COUNT(*) AS INTEGER) AS answered,"
     " CAST(SUM(first_score) AS INTEGER) AS first_points,"
     " CAST(SUM(final_score) AS INTEGER) AS final_points,"
     " CAST({full} * COUNT(*) AS INTEGER) AS possible FROM answers WHERE ending <> 'quit'"
     " GROUP BY {who}, question_type"},
    {"step_summary",
     "SELECT {a.who} AS student, a.question_type, c.step, CAST(COUNT(*) AS INTEGER) AS times"
     " FROM coaching c JOIN answers a ON a.answer_id = c.answer_id"
     " WHERE a.ending <> 'quit' GROUP BY {a.who}, a.question_type, c.step"},
    {"question_summary",
     "SELECT question || '\n' || stored_answer AS question_key, MIN(question) AS question,"
     " MIN(question_type) AS question_type, CAST(COUNT(*) AS INTEGER) AS asked,"
     " CAST(SUM(CASE WHEN first_score < {full} THEN 1 ELSE 0 END) AS INTEGER) AS missed"
     " FROM answers WHERE ending <> 'quit' GROUP BY question, stored_answer"},
    {"first_answer_summary",
     "SELECT question || '\n' || stored_answer AS question_key, first_answer,"
     " CAST(COUNT(*) AS INTEGER) AS times FROM answers"
     " WHERE ending <> 'quit' AND first_score < {full} GROUP BY question, stored_answer, "
     "first_answer"},
};

const TSummaryQuery kTrendQueries[2] = {
    {"tries",
     "SELECT CASE WHEN answered_at >= ? THEN 0 ELSE 1 END AS period, CAST(COUNT(*) AS INTEGER)"
     " FROM answers WHERE ending <> 'quit' AND answered_at >= ? AND answered_at <= ?{only}"
     " GROUP BY 1"},
    {"needed",
     "SELECT CASE WHEN a.answered_at >= ? THEN 0 ELSE 1 END AS period, c.step,"
     " CAST(COUNT(DISTINCT a.answer_id) AS INTEGER) FROM coaching c JOIN answers a"
     " ON a.answer_id = c.answer_id WHERE a.ending <> 'quit' AND a.answered_at >= ?"
     " AND a.answered_at <= ?{a.only}"
     " GROUP BY 1, 2"},
};

std::string SummarySelect(const TSummaryQuery& query, bool server, const std::string& student) {
  std::string text = query.select;
  // Full marks are the program's, not a number written into each query.
  for (auto at = text.find("{full}"); at != std::string::npos; at = text.find("{full}", at))
    text.replace(at, 6, std::to_string(kFullScore));
  // A server counts only the answers whose scores its teacher's window could give again.
  for (const std::string table : {"FROM answers", "JOIN answers"}) {
    if (!server) break;
    for (auto at = text.find(table); at != std::string::npos; at = text.find(table, at + 1))
      text.replace(at, table.size(), table.substr(0, table.size() - 7) + "counted_answers");
  }
  for (const std::string prefix : {"", "a."}) {
    const std::string mark = "{" + prefix + "who}";
    const std::string who = server ? "CASE WHEN " + prefix + "student = " + prefix + "login THEN " +
                                         prefix + "login ELSE " + prefix + "student || ' (' || " +
                                         prefix + "login || ')' END"
                                   : prefix + "student";
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
      text.replace(at, mark.size(), who);
    const std::string only = "{" + prefix + "only}";
    for (auto at = text.find(only); at != std::string::npos; at = text.find(only, at))
      text.replace(at, only.size(), student.empty() ? std::string() : " AND " + who + " = ?");
  }
  return text;
}

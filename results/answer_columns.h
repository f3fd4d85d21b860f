#pragma once
#include <QJsonObject>
#include <QVariant>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/answer_record.h"

// One field of an answer as every store keeps it, described once: the tables of a results
// file and a class server, the statements that write, read and copy answers, the outbox's
// records and the CSV are all made from these. A field added to the record is one line here
// (with the schema version it came in) and its upgrade step in the store.
struct TAnswerColumn {
  const char* name;    // the column, in SQLite and PostgreSQL alike
  const char* key;     // the outbox record's key
  const char* header;  // the CSV's heading
  int csvPlace;        // where the CSV shows it (the coaching notes stand at kCsvCoachingPlace)
  int version;         // the results schema version that added it
  std::string TAnswerRecord::*text;
  int32_t TAnswerRecord::*number;  // neither text nor number: the ending, kept by its name

  bool Integer() const { return number != nullptr; }
  QVariant Value(const TAnswerRecord& record) const;
  // Takes a value as read back; false for an ending no version of the program writes (the
  // record then holds "answer shown", the ending that claims the least).
  bool Take(TAnswerRecord& record, const QVariant& value) const;
  // As the CSV shows it: the reaction type by its label, numbers in decimal.
  std::string Shown(const TAnswerRecord& record) const;
};

inline constexpr int kCsvCoachingPlace = 15;

inline constexpr std::array<TAnswerColumn, 19> kAnswerColumns = {{
    {"answer_id", "answerId", "answer id", 17, 1, &TAnswerRecord::answerId, nullptr},
    {"run_id", "runId", "run", 3, 1, &TAnswerRecord::runId, nullptr},
    {"run_started", "runStarted", "run started", 4, 1, &TAnswerRecord::runStarted, nullptr},
    {"answered_at", "answeredAt", "answered at", 0, 1, &TAnswerRecord::answeredAt, nullptr},
    {"student", "student", "student", 1, 1, &TAnswerRecord::student, nullptr},
    {"login", "login", "login", 2, 1, &TAnswerRecord::login, nullptr},
    {"types", "types", "types chosen", 5, 1, &TAnswerRecord::types, nullptr},
    {"question_number", "questionNumber", "question number", 6, 1, nullptr,
     &TAnswerRecord::questionNumber},
    {"question", "question", "question", 7, 1, &TAnswerRecord::question, nullptr},
    {"question_type", "questionType", "reaction type", 8, 1, nullptr, &TAnswerRecord::questionType},
    {"stored_answer", "storedAnswer", "stored answer", 9, 1, &TAnswerRecord::storedAnswer, nullptr},
    {"first_answer", "firstAnswer", "first answer", 10, 1, &TAnswerRecord::firstAnswer, nullptr},
    {"final_answer", "finalAnswer", "final answer", 11, 1, &TAnswerRecord::finalAnswer, nullptr},
    {"first_score", "firstScore", "first score", 12, 1, nullptr, &TAnswerRecord::firstScore},
    {"final_score", "finalScore", "final score", 13, 1, nullptr, &TAnswerRecord::finalScore},
    {"ending", "ending", "ending", 14, 1, nullptr, nullptr},
    {"seconds", "seconds", "seconds", 16, 1, nullptr, &TAnswerRecord::seconds},
    {"assignment_id", "assignmentId", "assignment", 18, 2, &TAnswerRecord::assignmentId, nullptr},
    {"practice", "practice", "practice", 19, 2, nullptr, &TAnswerRecord::practice},
}};

// Whether a store of schema version holds the column (an earlier version's lacks the later ones).
inline bool HeldIn(const TAnswerColumn& column, int version) {
  return column.version <= version;
}
// "answer_id, run_id, ..." each name after prefix ("a." for a table's alias), those of a store
// of the version given.
std::string AnswerColumnNames(std::string_view prefix = {}, int version = INT_MAX);
// "?, ?, ..." one for each column of a store of the version given.
std::string AnswerPlaceholders(int version = INT_MAX);
// An answer as one JSON object, each field by its key and the coaching notes as pairs: the
// outbox's records and the copies kept on the student's computer. AnswerFromJson is false for a
// record no version writes (no id, an unknown ending or step); a key missing is its default.
QJsonObject AnswerJson(const TAnswerRecord& record);
bool AnswerFromJson(const QJsonObject& object, TAnswerRecord& record);
// The answers table's columns as CREATE TABLE gives them; on a class server the login is the
// server's own unless given.
std::string AnswerColumnDefinitions(bool server);

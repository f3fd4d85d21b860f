#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/answer_record.h"

// What the results window shows, read from a store; plain data.

struct TRunRow {
  std::string started;
  std::string student;
  std::string types;
  int32_t earned = 0;
  int32_t possible = 0;

  bool operator==(const TRunRow&) const = default;
};

// Points of one reaction type: at the first Check and at the end (after coaching).
struct TTypeRow {
  int32_t type = 0;
  int32_t answered = 0;
  int32_t firstPoints = 0;
  int32_t finalPoints = 0;
  int32_t possible = 0;

  bool operator==(const TTypeRow&) const = default;
};

// How often each coaching dialog opened for questions of one type.
struct TMistakeRow {
  int32_t type = 0;
  int32_t times[kCoachingStepCount] = {};

  bool operator==(const TMistakeRow&) const = default;
};

struct TMissedRow {
  std::string question;
  int32_t questionType = 0;
  int32_t asked = 0;
  int32_t missed = 0;  // answers not right at the first Check
  std::string commonWrongAnswer;

  bool operator==(const TMissedRow&) const = default;
};

// The answers a class server's figures leave out because their equations do not give the
// scores they were kept with, by student as the figures name them.
struct TLeftOut {
  int64_t count = 0;
  std::vector<std::pair<std::string, int64_t>> students;

  bool operator==(const TLeftOut&) const = default;
};

// How often first tries needed each kind of coaching: [0] the last fortnight, [1] the one before.
struct TMistakeTrend {
  static constexpr int kDays = 14;
  int32_t tries[2] = {};  // answers other than a Quit
  int32_t needed[2][kCoachingStepCount] = {};

  bool operator==(const TMistakeTrend&) const = default;
};

// Everything the window shows for one student (empty: everyone), read at one time.
struct TResultsFigures {
  std::string student;
  std::vector<TRunRow> runs;
  std::vector<TTypeRow> types;
  std::vector<TMistakeRow> mistakes;
  std::vector<TMissedRow> missed;
  TLeftOut leftOut;  // of every student, whoever is chosen
  TMistakeTrend trend;

  bool operator==(const TResultsFigures&) const = default;
};

// The percent of possible points, to the nearest whole; 0 of 0 is 0.
inline int32_t Percent(int32_t points, int32_t possible) {
  return possible > 0
             ? static_cast<int32_t>((int64_t{points} * 200 + possible) / (2 * int64_t{possible}))
             : 0;
}

// A count as the window writes it: "7", "1,234", "500,020".
inline std::string GroupedNumber(int64_t count) {
  std::string text = std::to_string(count);
  const int sign = count < 0 ? 1 : 0;
  for (int at = static_cast<int>(text.size()) - 3; at > sign; at -= 3) text.insert(at, ",");
  return text;
}

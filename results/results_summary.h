#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "results/answer_record.h"

// What the results window shows, read from a store; plain data.

struct TRunRow {
  std::string started;
  std::string student;
  std::string types;
  int32_t earned = 0;
  int32_t possible = 0;
};

// Points of one reaction type: at the first Check and at the end (after coaching).
struct TTypeRow {
  int32_t type = 0;
  int32_t answered = 0;
  int32_t firstPoints = 0;
  int32_t finalPoints = 0;
  int32_t possible = 0;
};

// How often each coaching dialog opened for questions of one type.
struct TMistakeRow {
  int32_t type = 0;
  int32_t times[kCoachingStepCount] = {};
};

struct TMissedRow {
  std::string question;
  int32_t questionType = 0;
  int32_t asked = 0;
  int32_t missed = 0;  // answers not right at the first Check
  std::string commonWrongAnswer;
};

// The percent of possible points, to the nearest whole; 0 of 0 is 0.
inline int32_t Percent(int32_t points, int32_t possible) {
  return possible > 0
             ? static_cast<int32_t>((int64_t{points} * 200 + possible) / (2 * int64_t{possible}))
             : 0;
}

#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "coach/rules/exercised_kinds.h"
#include "model/answer_record.h"
#include "model/reaction.h"

// Practice aimed at one student's own mistakes, planned from her answers alone, without any
// window. In order of need: the questions she missed (first try below full marks) and has not
// yet put right at once twice, on a spaced schedule; then questions that exercise the coaching
// she needed most lately, preferring the substances it was about; then, while her history is
// short, a spread across the types.
struct TPracticePlan {
  static constexpr int kDefaultCount = 10;
  // A question put right at once comes back after this many days, to see that it stayed.
  static constexpr int kDaysBeforeCheck = 3;
  // Coaching counts half as much two weeks on.
  static constexpr double kHalfLifeDays = 14;

  std::vector<int> questions;           // places in the reaction list, in the order asked
  int missed = 0;                       // how many of them come back on the schedule
  int onKind[kCoachingStepCount] = {};  // chosen for the coaching of each kind
  int spread = 0;

  // "5 you missed, 5 on charges of ions"; empty for an empty plan.
  std::string Why() const;
};

using TClock = std::chrono::sys_seconds;
using TPick = std::function<uint32_t()>;

// answers are hers, in any order; exercised has one entry per reaction. A practice answer
// counts like any other. pick breaks ties among equally good questions. skip: places never to
// choose (the questions of a practice homework answered already).
TPracticePlan PlanPractice(const std::vector<TAnswerRecord>& answers,
                           const TReactionList& reactions, const std::vector<TExercised>& exercised,
                           TClock now, const TPick& pick, int count = TPracticePlan::kDefaultCount,
                           const std::vector<int>& skip = {});

// The words for what a kind of coaching is about: "charges of ions".
std::string_view KindTopic(TCoachingStep step);

// "2026-12-07T13:45:00Z" as a time; the epoch for a text that is not one.
TClock TimeOfAnswer(std::string_view iso);
// The other way: a time as the answers keep it.
std::string AnswerTime(TClock time);

// How often her first tries needed one kind of coaching, fortnight by fortnight from her
// answers alone (the simulation's view of what the teacher's window counts in the store).
struct TKindShare {
  int firstTries = 0;  // questions checked in the fortnight (a Quit was never checked)
  int needed = 0;      // of them, those whose coaching took that kind of step

  double Share() const { return firstTries == 0 ? 0 : double(needed) / firstTries; }
};
// Fortnight 0 ends at now, fortnight 1 is the one before, and so on.
std::vector<TKindShare> KindShareByFortnight(const std::vector<TAnswerRecord>& answers,
                                             TCoachingStep step, TClock now, int fortnights);

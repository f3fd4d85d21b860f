#pragma once
#include <string>

#include "model/answer_record.h"
#include "results/results_summary.h"

// Whether a kind of coaching is needed less or more on first tries: the share of first tries
// that needed it in the last fortnight against the one before, in whole percent.
enum class TTrend { Unknown, Better, Same, Worse };

struct TKindTrend {
  TTrend trend = TTrend::Unknown;
  int before = 0;  // percent of first tries, the fortnight before
  int last = 0;    // percent of first tries, the last fortnight
};

// Unknown while either fortnight has fewer than kTrendTries first tries, or the kind was never
// needed in either; a move of less than kTrendPoints percentage points is the same.
inline constexpr int kTrendTries = 5;
inline constexpr int kTrendPoints = 5;
TKindTrend KindTrend(const TMistakeTrend& trend, TCoachingStep step);

// The whole trend in words, for the teacher: "Over the last two fortnights, of first tries: charges
// of ions needed help on 20%, down from 45% (getting better); ...".
std::string TrendWords(const TMistakeTrend& trend);

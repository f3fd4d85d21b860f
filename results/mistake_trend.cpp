#include "results/mistake_trend.h"

#include <vector>

#include "quiz/rules/practice_plan.h"

TKindTrend KindTrend(const TMistakeTrend& trend, TCoachingStep step) {
  TKindTrend kind;
  const int k = static_cast<int>(step);
  if (trend.tries[0] < kTrendTries || trend.tries[1] < kTrendTries) return kind;
  if (trend.needed[0][k] == 0 && trend.needed[1][k] == 0) return kind;
  kind.last = Percent(trend.needed[0][k], trend.tries[0]);
  kind.before = Percent(trend.needed[1][k], trend.tries[1]);
  kind.trend = kind.last <= kind.before - kTrendPoints   ? TTrend::Better
               : kind.last >= kind.before + kTrendPoints ? TTrend::Worse
                                                         : TTrend::Same;
  return kind;
}

std::string TrendWords(const TMistakeTrend& trend) {
  if (trend.tries[0] < kTrendTries || trend.tries[1] < kTrendTries)
    return "Too few answers in each of the last two fortnights to tell which help is needed less.";
  std::vector<std::string> parts;
  for (int k = 0; k < kCoachingStepCount; ++k) {
    const TKindTrend kind = KindTrend(trend, static_cast<TCoachingStep>(k));
    if (kind.trend == TTrend::Unknown) continue;
    const std::string topic(KindTopic(static_cast<TCoachingStep>(k)));
    const std::string last = std::to_string(kind.last) + "%";
    const std::string before = std::to_string(kind.before) + "%";
    if (kind.trend == TTrend::Better)
      parts.push_back(topic + " needed help on " + last + ", down from " + before +
                      " (getting better)");
    else if (kind.trend == TTrend::Worse)
      parts.push_back(topic + " needed help on " + last + ", up from " + before +
                      " (needs more practice)");
    else
      parts.push_back(topic + " needed help on " + last + ", about as before");
  }
  if (parts.empty()) return "No coaching was needed on first tries in the last four weeks.";
  std::string words = "Over the last two fortnights, of first tries: ";
  for (std::size_t i = 0; i < parts.size(); ++i) words += (i ? "; " : "") + parts[i];
  return words + ".";
}

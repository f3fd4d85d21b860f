#include "quiz/rules/run_summary.h"

#include <algorithm>

#include "quiz/rules/quiz_run.h"

namespace {

std::string Questions(int count) {
  return std::to_string(count) + (count == 1 ? " question" : " questions");
}

// "A", "A and B", "A, B and C".
std::string ListOfTypes(const std::vector<int32_t>& types) {
  std::string list;
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (i > 0) list += i + 1 == types.size() ? " and " : ", ";
    list += TypeLabel(types[i]);
  }
  return list;
}

}  // namespace

void TRunSummary::Add(int32_t points, TEnding ending, int32_t type) {
  if (ending == TEnding::Quit) return;
  ++answered_;
  pointsEarned_ += points;
  pointsPossible_ += TQuizRun::kPointsPerQuestion;
  if (ending == TEnding::RightAtOnce)
    ++rightAtOnce_;
  else
    ++missedByType_[type];
}

std::vector<int32_t> TRunSummary::MostMissed() const {
  int most = 0;
  for (const auto& [type, count] : missedByType_) most = std::max(most, count);
  std::vector<int32_t> types;
  for (const auto& [type, count] : missedByType_)
    if (count == most) types.push_back(type);
  return types;
}

std::vector<std::string> TRunSummary::Lines() const {
  if (answered_ == 0) return {};
  std::vector<std::string> lines;
  lines.push_back("This quiz run: " + std::to_string(pointsEarned_) + " out of " +
                  std::to_string(pointsPossible_) + " points.");
  lines.push_back("Right at once: " + std::to_string(rightAtOnce_) + " of " + Questions(answered_) +
                  ".");
  lines.push_back("Needed coaching: " +
                  (NeededCoaching() == 0 ? std::string("none") : Questions(NeededCoaching())) +
                  ".");
  const std::vector<int32_t> most = MostMissed();
  if (most.empty()) {
    lines.push_back("Reaction type most missed: none.");
  } else {
    const int count = missedByType_.at(most.front());
    lines.push_back(
        (most.size() == 1 ? "Reaction type most missed: " : "Reaction types most missed: ") +
        ListOfTypes(most) + " (" + Questions(count) + (most.size() == 1 ? "" : " each") + ").");
  }
  return lines;
}

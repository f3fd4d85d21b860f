// The random draw of a quiz run.
#include "quiz/rules/quiz_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

TEST(QuizRun, EveryEligibleReactionIsDrawnOnceInARandomOrder) {
  TReactionList reactions;
  for (int32_t type : {0, 1, 2, 3, 4, 9, 0, 1, 2, 3, 4})
    reactions.push_back(std::make_unique<TReaction>("q", type));
  TQuizRun run(reactions);
  std::set<std::vector<int>> orders;
  for (uint32_t seed = 0; seed < 40; ++seed) {
    std::mt19937 generator(seed);
    run.SetRandomSource([&generator] { return static_cast<uint32_t>(generator()); });
    run.Begin({1, 1, 1, 1, 1});
    std::vector<int> drawn;
    while (run.HasEligible()) drawn.push_back(run.DrawQuestion());
    EXPECT_EQ(run.DrawQuestion(), -1);
    orders.insert(drawn);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
  }
  EXPECT_GT(orders.size(), 30u);
}

}  // namespace

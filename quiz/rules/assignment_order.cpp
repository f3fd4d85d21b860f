#include "quiz/rules/assignment_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>

namespace {

// FNV-1a: the same number for the same texts on every machine and in every build, which
// std::hash does not promise.
uint64_t StableHash(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

std::vector<int> AssignmentOrder(const TAssignment& assignment, const std::string& student) {
  std::vector<int> order(assignment.reactions.size());
  std::iota(order.begin(), order.end(), 0);
  if (!assignment.shuffled) return order;
  // The engine's numbers are fixed by the standard; std::shuffle's use of them is not, so the
  // swaps are made here.
  std::mt19937_64 engine(StableHash(assignment.id + '\n' + student));
  for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[engine() % i]);
  return order;
}

std::vector<int> QuestionsLeft(const TAssignment& assignment, const std::string& student,
                               const std::vector<TAnswerRecord>& herAnswers) {
  std::set<int> answered;
  for (const TAnswerRecord& answer : herAnswers)
    if (answer.assignmentId == assignment.id && answer.ending != TEnding::Quit)
      answered.insert(answer.questionNumber - 1);
  std::vector<int> left = AssignmentOrder(assignment, student);
  std::erase_if(left, [&answered](int place) { return answered.contains(place); });
  return left;
}

// The order of an assignment's questions and where a student goes on after she stopped.
#include "quiz/rules/assignment_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

TAssignment FiveQuestions(bool shuffled) {
  TAssignment assignment;
  assignment.id = "hw7";
  assignment.shuffled = shuffled;
  assignment.reactions.resize(5);
  return assignment;
}

TAnswerRecord Answer(const char* assignmentId, int32_t number, TEnding ending) {
  TAnswerRecord record;
  record.assignmentId = assignmentId;
  record.questionNumber = number;
  record.ending = ending;
  return record;
}

struct LeftCase {
  const char* name;
  bool shuffled;
  std::vector<TAnswerRecord> answers;
  // The assignment's places still to answer; she meets them in her order.
  std::set<int> left;
};

class WhereSheGoesOn : public testing::TestWithParam<LeftCase> {};

TEST_P(WhereSheGoesOn, AtTheFirstQuestionNotAnswered) {
  const LeftCase& row = GetParam();
  const TAssignment assignment = FiveQuestions(row.shuffled);
  const std::vector<int> order = AssignmentOrder(assignment, "Ann");
  std::vector<int> expected;
  for (int place : order)
    if (row.left.contains(place)) expected.push_back(place);
  EXPECT_EQ(QuestionsLeft(assignment, "Ann", row.answers), expected);
}

constexpr TEnding kRight = TEnding::RightAtOnce;
// clang-format off
const LeftCase kLeft[] = {
    {"NotStarted", false, {}, {0, 1, 2, 3, 4}},
    {"TwoAnswered", false, {Answer("hw7", 1, kRight), Answer("hw7", 2, TEnding::Answer)}, {2, 3, 4}},
    {"QuitAnswersNothing", false, {Answer("hw7", 1, kRight), Answer("hw7", 2, TEnding::Quit)},
     {1, 2, 3, 4}},
    {"AnsweredTwiceCountsOnce", false, {Answer("hw7", 3, kRight), Answer("hw7", 3, kRight)},
     {0, 1, 3, 4}},
    {"AnotherAssignmentsAnswer", false, {Answer("hw8", 1, kRight), Answer("", 2, kRight)},
     {0, 1, 2, 3, 4}},
    {"AllAnswered", false, {Answer("hw7", 1, kRight), Answer("hw7", 2, kRight),
     Answer("hw7", 3, kRight), Answer("hw7", 4, kRight), Answer("hw7", 5, kRight)}, {}},
    {"ShuffledGoesOnInHerOrder", true, {Answer("hw7", 2, kRight), Answer("hw7", 5, kRight)},
     {0, 2, 3}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, WhereSheGoesOn, testing::ValuesIn(kLeft),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AssignmentOrder, ShuffledIsFixedPerStudentAndAssignmentAndDiffersBetweenThem) {
  TAssignment assignment = FiveQuestions(true);
  assignment.reactions.resize(10);
  std::set<std::vector<int>> orders;
  for (const char* id : {"hw7", "hw8"})
    for (int student = 0; student < 20; ++student) {
      assignment.id = id;
      const std::string name = "student " + std::to_string(student);
      const std::vector<int> order = AssignmentOrder(assignment, name);
      EXPECT_EQ(AssignmentOrder(assignment, name), order);
      std::vector<int> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
      orders.insert(order);
    }
  EXPECT_GT(orders.size(), 35u);
}

}  // namespace

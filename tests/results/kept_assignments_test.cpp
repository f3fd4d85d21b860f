// A student's assignments and her answers to them, kept on her computer as last read.
#include "results/kept_assignments.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/working_folder.h"

namespace {

struct KeptCase {
  const char* name;
  const char* path;    // in the working folder
  const char* before;  // the file as found; null when there is none
  bool readable;
};

class KeptAssignments : public testing::TestWithParam<KeptCase> {};

TEST_P(KeptAssignments, ComeBackAsWrittenAndAFileNotReadIsNeverReplaced) {
  const KeptCase& row = GetParam();
  TWorkingFolder folder;
  const std::string path = folder.FilePath(row.path);
  if (row.before) std::ofstream(path) << row.before;
  TKeptAssignments kept(path);
  ASSERT_EQ(kept.Read(), row.readable);
  TAssignment given;
  given.id = "hw1";
  given.title = "Homework «1»";
  given.due = "2026-12-09T07:00:00Z";
  given.shuffled = true;
  given.reactions = {{"Silver.", 0, {0, 1, 255, 0, 7}}, {"Acid.", 1, {}}};
  kept.TakeList("postgresql://school/chem", {given});
  TAnswerRecord answer;
  answer.answerId = "a1";
  answer.assignmentId = "hw1";
  answer.student = "Ann";
  answer.questionNumber = 2;
  answer.ending = TEnding::RightAfterCoaching;
  answer.firstScore = 1;
  kept.AddAnswer(answer);
  kept.AddAnswer(answer);  // the same answer twice, as the store and the outbox both hold it
  answer.answerId = "a2";
  answer.assignmentId = "";  // a quiz of her own: not kept here
  kept.AddAnswer(answer);
  kept.SetReadAt("2026-12-08T13:45:00Z");
  EXPECT_EQ(kept.Write(), row.readable);
  TKeptAssignments again(path);
  EXPECT_EQ(again.Read(), row.readable);
  if (!row.readable) {
    EXPECT_EQ(ReadWholeFile(path), row.before);
    return;
  }
  ASSERT_EQ(again.List().size(), 1u);
  EXPECT_EQ(again.List()[0], given);
  EXPECT_EQ(again.Place(), "postgresql://school/chem");
  EXPECT_EQ(again.ReadAt(), "2026-12-08T13:45:00Z");
  const std::vector<TAnswerRecord> hers = again.AnswersOf("hw1", "Ann");
  ASSERT_EQ(hers.size(), 1u);
  EXPECT_EQ(hers[0].questionNumber, 2);
  EXPECT_EQ(hers[0].ending, TEnding::RightAfterCoaching);
  EXPECT_EQ(hers[0].firstScore, 1);
  EXPECT_TRUE(again.AnswersOf("hw1", "Bob").empty());
}

// clang-format off
const KeptCase kKept[] = {
    {"NoneYet", "kept.json", nullptr, true},
    {"FolderNotMadeYet", "tarvolin/kept.json", nullptr, true},
    {"AnEarlierList", "kept.json", R"({"version":1,"assignments":[{"id":"old"}]})", true},
    {"Damaged", "kept.json", R"({"version":1,"assignm)", false},
    {"NewerVersion", "kept.json", R"({"version":2,"assignments":[]})", false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(, KeptAssignments, testing::ValuesIn(kKept),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

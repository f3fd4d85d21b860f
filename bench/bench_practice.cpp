// Practice aimed at a student's own mistakes, with simulated students: each makes one kind of
// mistake, with a set probability, on the questions where it can happen, until she stops on the
// day given. The program prints how often practice gives her such questions against a random
// quiz of the same types, whether every missed question came back within two practice runs
// until right at once twice, and her kind's share of first tries fortnight by fortnight; then
// it times what each reaction exercises for the starter list and a plan from a year of answers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "bank/bank_text.h"
#include "model/answer_text.h"
#include "model/question_outcome.h"
#include "quiz/rules/practice_plan.h"
#ifdef TARVOLIN_TEACHER_VIEW
#include <QCoreApplication>

#include "results/mistake_trend.h"
#include "results/results_store.h"
#endif

namespace {

TReactionList Starter() {
  TReactionList reactions;
  std::ifstream in(TARVOLIN_STARTER_TEXT);
  std::string reason;
  for (std::string line; std::getline(in, line);) {
    std::unique_ptr<TReaction> reaction;
    if (!line.empty() && line[0] != '#' && ParseBankLine(line, reaction, reason))
      reactions.push_back(std::move(reaction));
  }
  return reactions;
}

struct TStudent {
  const char* name;
  TMistake mistake;
  std::set<std::string> on;  // the substances she makes it on; empty for any
  int stopsOnDay;
};

const TStudent kStudents[] = {
    {"charges of iron and copper ions", TMistake::ChargeChanged, {"Fe", "Cu"}, 29},
    {"hydroxide and carbonate written whole", TMistake::WrittenWhole, {"OH", "CO3"}, 29},
    {"water left out", TMistake::LeftOut, {"H2O"}, 29},
    {"spectators added (on any question)", TMistake::SpectatorAdded, {}, 29},
};

constexpr int kPracticeEveryDays = 2;
constexpr int kDays = 57;

class TSimulation {
 public:
  TSimulation(const TReactionList& reactions, const std::vector<TExercised>& exercised,
              const TStudent& student, double probability, uint32_t seed)
      : reactions_(reactions),
        exercised_(exercised),
        student_(student),
        probability_(probability),
        random_(seed) {}

  void Run() {
    const TClock start = TimeOfAnswer("2026-09-01T16:00:00Z");
    Answer(RandomQuiz(kAllTypes), start, 0);
    int run = 0;
    for (int day = 1; day < kDays; day += kPracticeEveryDays) {
      const TClock now = start + std::chrono::days(day);
      ++run;
      CheckComebacks(run);
      const TPracticePlan plan = PlanPractice(history_, reactions_, exercised_, now,
                                              [this] { return static_cast<uint32_t>(random_()); });
      TTypes types{};
      for (int i : plan.questions) types[reactions_[i]->type] = true;
      const std::vector<int> random = RandomQuiz(types, plan.questions.size());
      if (day < student_.stopsOnDay) {
        practiceCan_ += Count(plan.questions), practiceAsked_ += plan.questions.size();
        randomCan_ += Count(random), randomAsked_ += random.size();
      }
      Answer(plan.questions, now + std::chrono::hours(1), run);
    }
    end_ = start + std::chrono::days(kDays);
  }

  void Report() const {
    const double practice = double(practiceCan_) / practiceAsked_;
    const double random = double(randomCan_) / randomAsked_;
    std::printf(
        "%s, %.0f%% of the time:\n  questions where her mistake can happen: practice %.0f%%, "
        "random quiz of the same types %.0f%%: %.1fx\n",
        student_.name, 100 * probability_, 100 * practice, 100 * random, practice / random);
    std::printf(
        "  missed questions: %d, longest wait before coming back %d practice runs, "
        "%d waited more than two\n",
        missedCount_, longestWait_, lateComebacks_);
    TCoachingStep step = TCoachingStep::OxidationNumber;
    int most = 0;
    for (const auto& [kind, count] : notesByStep_)
      if (count > most) most = count, step = kind;
    std::printf("  share of first tries needing help with %s, fortnight by fortnight:",
                std::string(KindTopic(step)).c_str());
    const std::vector<TKindShare> shares = KindShareByFortnight(history_, step, end_, 4);
    for (auto share = shares.rbegin(); share != shares.rend(); ++share)
      std::printf(" %.0f%% (%d of %d)", 100 * share->Share(), share->needed, share->firstTries);
    std::printf("\n");
#ifdef TARVOLIN_TEACHER_VIEW
    TeacherView();
#endif
  }

#ifdef TARVOLIN_TEACHER_VIEW
  // Her answers kept as the program keeps them, and the teacher's window's line on them when she
  // is still making her mistake and two weeks after she stopped.
  void TeacherView() const {
    TResultsStore store;
    std::string why;
    if (!store.OpenInMemory()) return;
    for (TAnswerRecord r : history_) {
      r.student = "sim";
      if (!store.Record(r, why)) return;
    }
    const TClock start = TimeOfAnswer("2026-09-01T16:00:00Z");
    for (int day : {student_.stopsOnDay, student_.stopsOnDay + 14})
      std::printf("  the teacher's window on day %d: %s\n", day,
                  TrendWords(store.Trend("", AnswerTime(start + std::chrono::days(day)))).c_str());
  }
#endif

 private:
  using TTypes = std::array<bool, kReactionTypeCount>;
  static constexpr TTypes kAllTypes = {true, true, true, true, true};

  // The mistake of hers that the question allows, or null.
  const TMistakeMade* HerMistake(int i) const {
    for (const TMistakeMade& made : exercised_[i].mistakes)
      if (made.mistake == student_.mistake &&
          (student_.on.empty() || student_.on.count(FormulaOfSubstance(made.on))))
        return &made;
    return nullptr;
  }

  std::size_t Count(const std::vector<int>& questions) const {
    return std::count_if(questions.begin(), questions.end(),
                         [this](int i) { return HerMistake(i) != nullptr; });
  }

  std::vector<int> RandomQuiz(const TTypes& types, std::size_t count = 10) {
    std::vector<int> eligible;
    for (int i = 0; i < static_cast<int>(reactions_.size()); ++i)
      if (types[reactions_[i]->type]) eligible.push_back(i);
    std::shuffle(eligible.begin(), eligible.end(), random_);
    eligible.resize(std::min(count, eligible.size()));
    return eligible;
  }

  void Answer(const std::vector<int>& questions, TClock at, int run) {
    std::bernoulli_distribution makes(probability_);
    for (int i : questions) {
      TAnswerRecord r;
      r.answerId = std::to_string(history_.size() + 1);
      r.answeredAt = AnswerTime(at);
      r.question = reactions_[i]->QuestionText();
      r.storedAnswer = StoredAnswerText(*reactions_[i]);
      r.questionType = reactions_[i]->type;
      r.firstScore = r.finalScore = kFullScore;
      const bool stopped =
          at >= TimeOfAnswer("2026-09-01T16:00:00Z") + std::chrono::days(student_.stopsOnDay);
      if (const TMistakeMade* made = HerMistake(i); made && !stopped && makes(random_)) {
        r.firstScore = 1;
        r.ending = TEnding::RightAfterCoaching;
        r.coaching.push_back(made->note);
        ++notesByStep_[made->note.step];
      }
      Seen(i, r.firstScore == kFullScore, run);
      history_.push_back(std::move(r));
    }
  }

  // The schedule as a student sees it: a miss waits for the run after, each right-at-once
  // answer for two more, until it is right at once twice.
  void Seen(int i, bool rightAtOnce, int run) {
    auto found = pending_.find(i);
    if (found != pending_.end()) {
      longestWait_ = std::max(longestWait_, run - found->second.lastRun);
      if (run - found->second.lastRun > 2) ++lateComebacks_;
    }
    if (!rightAtOnce) {
      ++missedCount_;
      pending_[i] = {run, 0};
    } else if (found != pending_.end() && ++found->second.rightTwice == 2) {
      pending_.erase(found);
    } else if (found != pending_.end()) {
      found->second.lastRun = run;
    }
  }

  // A pending question not asked within two runs is late, counted once.
  void CheckComebacks(int run) {
    for (auto& [i, pending] : pending_)
      if (run - pending.lastRun == 3 && !pending.late) ++lateComebacks_, pending.late = true;
  }

  struct TPending {
    int lastRun = 0;
    int rightTwice = 0;
    bool late = false;
  };

  const TReactionList& reactions_;
  const std::vector<TExercised>& exercised_;
  const TStudent& student_;
  double probability_;
  std::mt19937 random_;
  std::vector<TAnswerRecord> history_;
  std::map<int, TPending> pending_;
  std::map<TCoachingStep, int> notesByStep_;
  std::size_t practiceCan_ = 0, practiceAsked_ = 0, randomCan_ = 0, randomAsked_ = 0;
  int missedCount_ = 0, longestWait_ = 0, lateComebacks_ = 0;
  TClock end_{};
};

void BM_ExercisedByStarterList(benchmark::State& state) {
  const TReactionList reactions = Starter();
  for (auto _ : state) benchmark::DoNotOptimize(ExercisedByAll(reactions));
  state.counters["reactions"] = static_cast<double>(reactions.size());
}
BENCHMARK(BM_ExercisedByStarterList)->Unit(benchmark::kMillisecond);

void BM_PlanFromAYearOfAnswers(benchmark::State& state) {
  const TReactionList reactions = Starter();
  const std::vector<TExercised> exercised = ExercisedByAll(reactions);
  std::vector<TAnswerRecord> answers;
  std::mt19937 random(7);
  const TClock start = TimeOfAnswer("2026-01-01T09:00:00Z");
  for (int n = 0; n < 3000; ++n) {
    const TReaction& reaction = *reactions[random() % reactions.size()];
    TAnswerRecord r;
    r.answeredAt = AnswerTime(start + std::chrono::hours(3 * n));
    r.question = reaction.QuestionText();
    r.storedAnswer = StoredAnswerText(reaction);
    r.firstScore = random() % 3 == 0 ? 1 : kFullScore;
    if (r.firstScore < kFullScore) r.coaching.push_back({TCoachingStep::OxidationNumber, "Fe3+"});
    answers.push_back(std::move(r));
  }
  const TClock now = start + std::chrono::days(376);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        PlanPractice(answers, reactions, exercised, now, [&random] { return random(); }));
  state.counters["answers"] = static_cast<double>(answers.size());
}
BENCHMARK(BM_PlanFromAYearOfAnswers)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
#ifdef TARVOLIN_TEACHER_VIEW
  QCoreApplication application(argc, argv);
#endif
  const TReactionList reactions = Starter();
  const std::vector<TExercised> exercised = ExercisedByAll(reactions);
  std::printf(
      "Simulated students over %d days, practising every %d days (10 questions), each "
      "making her mistake until day 29:\n",
      kDays, kPracticeEveryDays);
  uint32_t seed = 1;
  for (const double probability : {0.35, 0.7})
    for (const TStudent& student : kStudents) {
      TSimulation simulation(reactions, exercised, student, probability, seed++);
      simulation.Run();
      simulation.Report();
    }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

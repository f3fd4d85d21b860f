#include "quiz/rules/practice_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>

#include "model/answer_text.h"
#include "model/question_outcome.h"

namespace {

using std::chrono::days;

// Where each question of her answers stands on the schedule.
struct TStanding {
  bool missed = false;  // missed and not yet right at once twice since
  int rightSince = 0;   // right at once since the last miss
  TClock last{};        // the last answer to it
};

struct TAnswered {
  TClock at;
  int index;
  const TAnswerRecord* record;
};

std::map<std::string, int> IndexByQuestion(const TReactionList& reactions) {
  std::map<std::string, int> index;
  for (int i = 0; i < static_cast<int>(reactions.size()); ++i)
    index.emplace(reactions[i]->QuestionText() + '\n' + StoredAnswerText(*reactions[i]), i);
  return index;
}

// Her answers to questions still in the list, oldest first; a Quit was never checked and
// says nothing.
std::vector<TAnswered> Answered(const std::vector<TAnswerRecord>& answers,
                                const TReactionList& reactions) {
  const std::map<std::string, int> index = IndexByQuestion(reactions);
  std::vector<TAnswered> answered;
  for (const TAnswerRecord& r : answers) {
    if (r.ending == TEnding::Quit) continue;
    if (auto found = index.find(r.question + '\n' + r.storedAnswer); found != index.end())
      answered.push_back({TimeOfAnswer(r.answeredAt), found->second, &r});
  }
  std::stable_sort(answered.begin(), answered.end(),
                   [](const TAnswered& a, const TAnswered& b) { return a.at < b.at; });
  return answered;
}

bool Due(const TStanding& s, TClock now) {
  if (!s.missed) return false;
  return s.rightSince == 0 || now - s.last >= days(TPracticePlan::kDaysBeforeCheck);
}

// Weight of what happened at then, seen from now.
double Recency(TClock then, TClock now) {
  const double ageDays = std::chrono::duration<double, days::period>(now - then).count();
  return std::exp2(-std::max(0.0, ageDays) / TPracticePlan::kHalfLifeDays);
}

bool Holds(const TReaction& reaction, std::string_view formula) {
  for (bool reactant : {true, false})
    for (int i = 0; i < TReaction::kSlots; ++i)
      if (reaction.Side(reactant)[i].FormulaText() == formula) return true;
  return false;
}

class TPlanner {
 public:
  TPlanner(const TReactionList& reactions, const std::vector<TExercised>& exercised,
           const TPick& pick, int count)
      : reactions_(reactions),
        exercised_(exercised),
        pick_(pick),
        count_(count),
        chosen_(reactions.size(), false) {}

  void Missed(const std::vector<TAnswered>& answered, TClock now) {
    std::vector<TStanding> standing(reactions_.size());
    for (const TAnswered& a : answered) {
      TStanding& s = standing[a.index];
      s.last = a.at;
      if (a.record->firstScore < kFullScore) {
        s = {true, 0, a.at};
      } else if (s.missed && ++s.rightSince == 2) {
        s.missed = false;
      }
    }
    std::vector<int> due;
    for (int i = 0; i < static_cast<int>(standing.size()); ++i) {
      if (Due(standing[i], now))
        due.push_back(i);
      else if (standing[i].missed)
        chosen_[i] = true;  // waiting for its check: asked sooner, the wait would prove nothing
    }
    // The longest waiting first: when the room is short, the one missed last time can still
    // come next time, and a check due now cannot wait.
    std::stable_sort(due.begin(), due.end(),
                     [&](int a, int b) { return standing[a].last < standing[b].last; });
    for (int i : due)
      if (Take(i)) ++plan_.missed;
  }

  void OnKinds(const std::vector<TAnswered>& answered, TClock now) {
    double kind[kCoachingStepCount] = {};
    std::map<std::pair<TCoachingStep, std::string>, double> substance;
    for (const TAnswered& a : answered) {
      for (const TCoachingNote& note : a.record->coaching) {
        const double w = Recency(a.at, now);
        kind[static_cast<int>(note.step)] += w;
        substance[{note.step, note.substance}] += w;
      }
    }
    // How much a question answers her need of one kind: the kind's weight, and more for each
    // substance she was coached on that it concerns.
    auto part = [&](int i, int k) {
      const auto step = static_cast<TCoachingStep>(k);
      if (kind[k] <= 0 || !exercised_[i].Exercises(step)) return 0.0;
      double sum = kind[k];
      for (const auto& [key, w] : substance)
        if (key.first == step && Concerns(i, step, key.second)) sum += 4 * w;
      return sum;
    };
    // Each kind gets the room in proportion to the help she needed with it (largest remainders
    // rounding), the kind needed most choosing first; room a kind cannot use goes to the
    // questions that answer most of her needs together.
    const double total = std::accumulate(std::begin(kind), std::end(kind), 0.0);
    if (total <= 0) return;
    const int room = count_ - static_cast<int>(plan_.questions.size());
    int quota[kCoachingStepCount] = {};
    std::vector<std::pair<double, int>> remainders, needs;
    int given = 0;
    for (int k = 0; k < kCoachingStepCount; ++k) {
      const double exact = room * kind[k] / total;
      quota[k] = static_cast<int>(exact);
      given += quota[k];
      remainders.push_back({exact - quota[k], k});
      needs.push_back({kind[k], k});
    }
    auto more = [](const auto& a, const auto& b) { return a.first > b.first; };
    std::stable_sort(remainders.begin(), remainders.end(), more);
    for (int n = 0; n < room - given; ++n) ++quota[remainders[n % kCoachingStepCount].second];
    std::stable_sort(needs.begin(), needs.end(), more);
    const std::vector<int> order = Shuffled();
    for (const auto& [need, k] : needs) {
      std::vector<std::pair<double, int>> best;
      for (int i : order)
        if (const double p = part(i, k); p > 0) best.push_back({p, i});
      std::stable_sort(best.begin(), best.end(), more);
      for (std::size_t n = 0; n < best.size() && quota[k] > 0; ++n)
        if (Take(best[n].second)) --quota[k], ++plan_.onKind[k];
    }
    std::vector<std::pair<double, int>> together;  // all her needs, then the kind most served
    for (int i : order) {
      double sum = 0, top = 0;
      int topKind = -1;
      for (int k = 0; k < kCoachingStepCount; ++k) {
        const double p = part(i, k);
        sum += p;
        if (p > top) top = p, topKind = k;
      }
      if (topKind >= 0) together.push_back({sum, i * kCoachingStepCount + topKind});
    }
    std::stable_sort(together.begin(), together.end(), more);
    for (const auto& [sum, both] : together)
      if (Take(both / kCoachingStepCount)) ++plan_.onKind[both % kCoachingStepCount];
  }

  // Round the types, a question of each in turn, those she has not answered first.
  void Spread(const std::vector<TAnswered>& answered) {
    std::vector<bool> seen(reactions_.size(), false);
    for (const TAnswered& a : answered) seen[a.index] = true;
    std::vector<int> byType[kReactionTypeCount];
    for (bool unseen : {true, false})
      for (int i : Shuffled())
        if (seen[i] != unseen && reactions_[i]->type >= 0 &&
            reactions_[i]->type < kReactionTypeCount)
          byType[reactions_[i]->type].push_back(i);
    std::size_t next[kReactionTypeCount] = {};
    for (bool any = true; any && Room();) {
      any = false;
      for (int t = 0; t < kReactionTypeCount; ++t) {
        while (next[t] < byType[t].size() && chosen_[byType[t][next[t]]]) ++next[t];
        if (next[t] == byType[t].size()) continue;
        any = true;
        if (Take(byType[t][next[t]++])) ++plan_.spread;
      }
    }
  }

  TPracticePlan Plan() { return std::move(plan_); }

  void Skip(const std::vector<int>& places) {
    for (int i : places)
      if (i >= 0 && i < static_cast<int>(chosen_.size())) chosen_[i] = true;
  }

 private:
  bool Room() const { return static_cast<int>(plan_.questions.size()) < count_; }

  bool Take(int i) {
    if (!Room() || chosen_[i]) return false;
    chosen_[i] = true;
    plan_.questions.push_back(i);
    return true;
  }

  // The coaching names her own text: her compound for a dissociation, so an ion written in it
  // counts too ("NaOH" is about hydroxide).
  bool Concerns(int i, TCoachingStep step, const std::string& substance) const {
    const std::string formula = FormulaOfSubstance(substance);
    if (exercised_[i].Concerns(step, substance) || Holds(*reactions_[i], formula)) return true;
    if (step != TCoachingStep::Dissociation) return false;
    for (bool reactant : {true, false})
      for (int slot = 0; slot < TReaction::kSlots; ++slot) {
        const Substance& ion = reactions_[i]->Side(reactant)[slot];
        if (ion.charge != 0 && ion.FormulaText().size() > 1 &&
            formula.find(ion.FormulaText()) != std::string::npos)
          return true;
      }
    return false;
  }

  std::vector<int> Shuffled() const {
    std::vector<int> order(reactions_.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[pick_() % i]);
    return order;
  }

  const TReactionList& reactions_;
  const std::vector<TExercised>& exercised_;
  const TPick& pick_;
  int count_;
  std::vector<bool> chosen_;
  TPracticePlan plan_;
};

}  // namespace

TPracticePlan PlanPractice(const std::vector<TAnswerRecord>& answers,
                           const TReactionList& reactions, const std::vector<TExercised>& exercised,
                           TClock now, const TPick& pick, int count,
                           const std::vector<int>& skip) {
  const std::vector<TAnswered> answered = Answered(answers, reactions);
  TPlanner planner(reactions, exercised, pick, count);
  planner.Skip(skip);
  planner.Missed(answered, now);
  planner.OnKinds(answered, now);
  planner.Spread(answered);
  return planner.Plan();
}

std::string TPracticePlan::Why() const {
  std::vector<std::string> parts;
  if (missed > 0) parts.push_back(std::to_string(missed) + " you missed");
  for (int k = 0; k < kCoachingStepCount; ++k)
    if (onKind[k] > 0)
      parts.push_back(std::to_string(onKind[k]) + " on " +
                      std::string(KindTopic(static_cast<TCoachingStep>(k))));
  if (spread > 0) parts.push_back(std::to_string(spread) + " across the types");
  std::string why;
  for (const std::string& part : parts) why += (why.empty() ? "" : ", ") + part;
  return why;
}

TClock TimeOfAnswer(std::string_view iso) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const std::string text(iso);
  if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return {};
  const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(mo),
                                         std::chrono::day(d)};
  if (!date.ok()) return {};
  return std::chrono::sys_days(date) + std::chrono::hours(h) + std::chrono::minutes(mi) +
         std::chrono::seconds(s);
}

std::string AnswerTime(TClock time) {
  const std::chrono::sys_days day = std::chrono::floor<days>(time);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss clock(time - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::string_view KindTopic(TCoachingStep step) {
  switch (step) {
    case TCoachingStep::OxidationNumber:
      return "charges of ions";
    case TCoachingStep::Dissociation:
      return "splitting dissolved compounds into ions";
    case TCoachingStep::WrongSubstance:
      return "leaving out what takes no part";
    case TCoachingStep::MissingSubstance:
      return "substances left out";
  }
  return {};
}

std::vector<TKindShare> KindShareByFortnight(const std::vector<TAnswerRecord>& answers,
                                             TCoachingStep step, TClock now, int fortnights) {
  std::vector<TKindShare> shares(static_cast<std::size_t>(std::max(0, fortnights)));
  for (const TAnswerRecord& r : answers) {
    if (r.ending == TEnding::Quit) continue;
    const auto age = now - TimeOfAnswer(r.answeredAt);
    if (age < TClock::duration::zero()) continue;
    const auto fortnight = static_cast<std::size_t>(age / days(14));
    if (fortnight >= shares.size()) continue;
    ++shares[fortnight].firstTries;
    if (std::any_of(r.coaching.begin(), r.coaching.end(),
                    [step](const TCoachingNote& note) { return note.step == step; }))
      ++shares[fortnight].needed;
  }
  return shares;
}

#include "quiz/quiz_run.h"

#include <chrono>
#include <cstdio>
#include <ctime>

TQuizRun::TQuizRun(const TReactionList& reactions) : reactions_(reactions) {
  SeedFromClock();
  // Answers from many machines are told apart by these ids alone.
  std::random_device device;
  std::seed_seq seed{device(), device(), device(), device(), device(), device()};
  idGenerator_.seed(seed);
}

void TQuizRun::SeedFromClock() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::system_clock::now().time_since_epoch());
  generator_.seed(static_cast<std::mt19937::result_type>(seconds.count()));
}

bool TQuizRun::IsEligible(const TReaction& reaction, const TTypeFlags& flags) {
  return reaction.type >= 0 && reaction.type < kReactionTypeCount && flags[reaction.type] == 1;
}

void TQuizRun::Begin(const TTypeFlags& flags) {
  takenList_.clear();
  for (const auto& reaction : reactions_)
    takenList_.push_back(std::make_unique<TTaken>(!IsEligible(*reaction, flags)));
  pointsEarned_ = 0;
  pointsPossible_ = 0;
  summary_.Clear();
  runId_ = NewId();
  runStarted_ = UtcTimestamp();
  types_.clear();
  for (int type = 0; type < kReactionTypeCount; ++type)
    if (flags[type] == 1) types_ += (types_.empty() ? "" : ", ") + TypeLabel(type);
  failureShown_ = false;
}

bool TQuizRun::HasEligible() const {
  for (const auto& entry : takenList_)
    if (!entry->taken) return true;
  return false;
}

uint32_t TQuizRun::NextRandom() {
  return randomSource_ ? randomSource_() : static_cast<uint32_t>(generator_());
}

int TQuizRun::DrawQuestion() {
  std::size_t eligible = 0;
  for (const auto& entry : takenList_)
    if (!entry->taken) ++eligible;
  if (eligible == 0) return -1;
  // Picking the k-th eligible entry is as uniform as drawing over all entries until an
  // eligible one comes up, and always ends, whatever numbers the source gives.
  std::size_t k = NextRandom() % eligible;
  for (std::size_t index = 0; index < takenList_.size(); ++index) {
    if (takenList_[index]->taken) continue;
    if (k-- == 0) {
      takenList_[index]->taken = true;
      return static_cast<int>(index);
    }
  }
  return -1;
}

void TQuizRun::AddAnswer(int32_t points, TEnding ending, int32_t type) {
  if (ending == TEnding::Quit) return;
  pointsEarned_ += points;
  pointsPossible_ += kPointsPerQuestion;
  summary_.Add(points, ending, type);
}

std::string TQuizRun::NewId() {
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx",
                static_cast<unsigned long long>(idGenerator_()),
                static_cast<unsigned long long>(idGenerator_()));
  return text;
}

std::string TQuizRun::ReportAnswer(TAnswerRecord record) {
  if (!sink_) return {};
  record.answerId = NewId();
  record.runId = runId_;
  record.runStarted = runStarted_;
  record.answeredAt = UtcTimestamp();
  record.types = types_;
  std::string why;
  if (sink_->Record(record, why) || failureShown_) return {};
  failureShown_ = true;
  return why;
}

std::string UtcTimestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

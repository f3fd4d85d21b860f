#include "quiz/answer_reporter.h"

#include "results/answer_poster.h"
#include "results/kept_assignments.h"
#include "results/kept_history.h"
#include "results/results_settings.h"

TAnswerReporter::TAnswerReporter() = default;
TAnswerReporter::~TAnswerReporter() = default;

TAnswerer TAnswerReporter::Answerer() {
  return {TResultsSettings().Student().toStdString(), TResultsSettings::LoginName().toStdString()};
}

TAnswerPoster& TAnswerReporter::Poster() {
  if (!poster_) {
    TResultsSettings().MovePasswordOut();
    poster_ = std::make_unique<TAnswerPoster>();
    BeginRun();
  }
  return *poster_;
}

void TAnswerReporter::BeginRun() {
  TAnswerPoster& poster = Poster();
  std::string why;
  if (TResultsSettings().Location(location_, &why))
    poster.SetLocation(location_);
  else
    poster.SetUnreadable(why);
}

TSendStatus TAnswerReporter::PosterStatus() const {
  return poster_ ? poster_->Status() : TSendStatus();
}

void TAnswerReporter::EndRun() {
  if (poster_) poster_->Finish(TAnswerPoster::kFinishMilliseconds);
}

bool TAnswerReporter::Record(const TAnswerRecord& record, std::string& why) {
  TAnswerPoster& poster = Poster();
  // Never dropped: what the student should know about where it is held comes first.
  poster.Post(record, why);
  // Practice plans from it at once, whether the store took it or is away at the next read.
  TKeptHistory(TKeptHistory::DefaultPath(), TAnswerOutbox::DefaultPath()).Add(record);
  // Her progress on an assignment counts it at once, sent or not: where she continues.
  if (!record.assignmentId.empty()) {
    TKeptAssignments kept;
    if (kept.Read()) {
      kept.AddAnswer(record);
      kept.Write();
    }
  }
  if (!why.empty()) return false;
  if (patience_ > 0) poster.Finish(patience_);
  why = poster.Status().problem;
  return why.empty();
}

#include "results/answer_sender.h"

namespace {

constexpr int kBatch = 50;
constexpr const char* kKeptHere = "; your answers are kept on this computer and sent later.";

// A store's reason as the start of a sentence.
std::string Sentence(const std::string& reason, const TResultsLocation& location) {
  if (reason.rfind("the ", 0) == 0) return "T" + reason.substr(1);
  if (!location.server && reason.rfind(location.file, 0) == 0) return "The results file " + reason;
  return reason;
}

}  // namespace

TAnswerSender::TAnswerSender(std::string outboxPath) : outboxPath_(std::move(outboxPath)) {}

void TAnswerSender::SetLocation(const TResultsLocation& location) {
  unreadable_.clear();
  if (location == store_.Location() && store_.IsOpen()) return;
  store_.Close();
  store_.SetLocation(location);
}

void TAnswerSender::SetUnreadable(const std::string& why) {
  store_.Close();
  unreadable_ = why;
}

TSendStatus TAnswerSender::Send() {
  TSendStatus status;
  if (!outboxOpen_) outboxOpen_ = outbox_.Open(outboxPath_);
  if (!outboxOpen_) {
    status.problem = "Your answers cannot be kept: " + outbox_.Error() + ".";
    return status;
  }
  while (unreadable_.empty()) {
    const std::vector<TAnswerRecord> batch = outbox_.Oldest(kBatch);
    if (batch.empty()) break;
    for (const TAnswerRecord& record : batch) {
      std::string why;
      if (!store_.Record(record, why)) {
        status.problem = Sentence(store_.Error(), store_.Location()) + kKeptHere;
        status.details = store_.Details();
        break;
      }
      outbox_.Remove(record.answerId);
      ++status.sent;
    }
    if (!status.problem.empty()) break;
  }
  if (!unreadable_.empty()) status.problem = unreadable_ + kKeptHere;
  status.waiting = outbox_.Count();
  return status;
}

std::string WaitingLine(int64_t waiting, const TResultsLocation& location) {
  if (waiting <= 0) return {};
  const std::string answers = waiting == 1 ? "1 answer" : std::to_string(waiting) + " answers";
  return answers + " waiting for " +
         (location.server ? std::string("the class server") : location.Describe());
}

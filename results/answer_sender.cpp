#include "results/answer_sender.h"

#include <QFileInfo>
#include <algorithm>

#include "results/answer_check.h"
#include "results/password_file.h"

namespace {

constexpr int kBatch = 50;
constexpr const char* kKeptHere = "; your answers are kept on this computer and sent later.";

// Why the store would not take an answer, as a sentence of its own.
std::string StoreProblem(const TResultsStore& store) {
  return store.Location().server ? store.Error() : "The results file " + store.ErrorInSentence();
}

std::string Answers(int64_t n) {
  return n == 1 ? "1 answer" : std::to_string(n) + " answers";
}

QDateTime PasswordFileTime() {
  return QFileInfo(QString::fromStdString(TPasswordFile::Path())).lastModified();
}

bool WaitsFor(const std::string& place, const std::string& destination) {
  return place.empty() || place == destination;
}

}  // namespace

void THeldAnswers::Add(const TAnswerRecord& record, const std::string& destination) {
  std::lock_guard lock(mutex_);
  for (const THeld& held : held_)
    if (held.record.answerId == record.answerId) return;
  held_.push_back({record, destination, std::nullopt});
}

std::vector<THeldAnswers::THeld> THeldAnswers::Waiting(const std::string& destination) const {
  std::lock_guard lock(mutex_);
  std::vector<THeld> waiting;
  for (const THeld& held : held_)
    if (!held.setAside && WaitsFor(held.destination, destination)) waiting.push_back(held);
  return waiting;
}

void THeldAnswers::Remove(const std::string& answerId) {
  std::lock_guard lock(mutex_);
  std::erase_if(held_, [&](const THeld& held) { return held.record.answerId == answerId; });
}

void THeldAnswers::SetAside(const std::string& answerId, TSetAside why) {
  std::lock_guard lock(mutex_);
  for (THeld& held : held_)
    if (held.record.answerId == answerId) held.setAside = why;
}

TOutboxCounts THeldAnswers::Counts(const std::string& destination) const {
  std::lock_guard lock(mutex_);
  TOutboxCounts counts;
  for (const THeld& held : held_) {
    if (held.setAside)
      ++counts.setAside[static_cast<int>(*held.setAside)];
    else
      ++(WaitsFor(held.destination, destination) ? counts.here : counts.elsewhere);
  }
  return counts;
}

TAnswerSender::TAnswerSender(std::string outboxPath, std::shared_ptr<THeldAnswers> held)
    : outboxPath_(std::move(outboxPath)), held_(std::move(held)) {}

void TAnswerSender::SetLocation(const TResultsLocation& location) {
  unreadable_.clear();
  destination_ = location.Address();
  if (location == store_.Location() && store_.IsOpen()) return;
  store_.Close();
  store_.SetLocation(location);
}

void TAnswerSender::SetUnreadable(const std::string& why) {
  store_.Close();
  unreadable_ = why;
}

bool TAnswerSender::PasswordStillRefused() const {
  return !refused_.empty() && refusedLocation_ == store_.Location() &&
         refusedPasswordFile_ == PasswordFileTime();
}

TAnswerSender::TDelivery TAnswerSender::Deliver(const TAnswerRecord& record, TSendStatus& status) {
  std::string why;
  if (store_.Record(record, why)) {
    ++status.sent;
    return TDelivery::Sent;
  }
  status.details = store_.Details();
  if (store_.Failure() == TResultsStore::TFailure::AnswerRefused) return TDelivery::Refused;
  status.problem = StoreProblem(store_);
  if (store_.Failure() == TResultsStore::TFailure::PasswordRefused) {
    // Tried again only once something changed: a lab after a password reset must not look
    // like someone guessing passwords.
    refused_ = status.problem +
               "; your answers are kept on this computer and sent once the password is put right.";
    refusedLocation_ = store_.Location();
    refusedPasswordFile_ = PasswordFileTime();
    status.problem = refused_;
    status.stopped = true;
  } else {
    status.busy = store_.Failure() == TResultsStore::TFailure::Busy;
    status.problem += kKeptHere;
  }
  return TDelivery::Stop;
}

bool TAnswerSender::SendOutbox(TSendStatus& status,
                               std::chrono::steady_clock::time_point deadline) {
  // Rows are read after the last one taken, so that none is sent twice in a round, whatever
  // the outbox could or could not write.
  int64_t after = 0;
  std::vector<TWaitingAnswer> batch;
  // The round ends here: sending on would send the same answers again and again.
  auto cannot = [&] {
    status.problem = outbox_.ErrorAtStart() + "; none is lost, and sending is tried again later.";
    reopenOutbox_ = true;
    return false;
  };
  while (true) {
    if (!outbox_.Oldest(destination_, after, kBatch, batch)) {
      status.problem = outbox_.ErrorAtStart() + kKeptHere;
      reopenOutbox_ = true;
      return false;
    }
    if (batch.empty()) return true;
    for (const TWaitingAnswer& answer : batch) {
      after = answer.seq;
      if (!answer.readable) {
        if (!outbox_.SetAside(answer.seq, TSetAside::Unreadable, "its record cannot be read"))
          return cannot();
        continue;
      }
      if (const std::string field = ImpossibleField(answer.record); !field.empty()) {
        if (!outbox_.SetAside(answer.seq, TSetAside::Impossible, field)) return cannot();
        continue;
      }
      switch (Deliver(answer.record, status)) {
        case TDelivery::Sent:
          if (!outbox_.Remove(answer.seq)) return cannot();
          break;
        case TDelivery::Refused:
          if (!outbox_.SetAside(answer.seq, TSetAside::Refused,
                                store_.Error() + " " + store_.Details()))
            return cannot();
          break;
        case TDelivery::Stop:
          return false;
      }
      if (deadline != std::chrono::steady_clock::time_point() &&
          std::chrono::steady_clock::now() > deadline)
        return false;
    }
  }
}

TSendStatus TAnswerSender::Send(int limitMilliseconds) {
  TSendStatus status;
  const auto deadline = limitMilliseconds > 0 ? std::chrono::steady_clock::now() +
                                                    std::chrono::milliseconds(limitMilliseconds)
                                              : std::chrono::steady_clock::time_point();
  if (!outbox_.IsOpen() && !outbox_.Open(outboxPath_, TAnswerOutbox::TMode::Use))
    status.problem = outbox_.ErrorAtStart() +
                     "; answers are sent directly and kept only until the program ends.";
  if (!unreadable_.empty()) {
    status.problem = unreadable_ + kKeptHere;
  } else if (PasswordStillRefused()) {
    status.problem = refused_;
    status.stopped = true;
  } else {
    refused_.clear();
    bool go = true;
    // Those only memory holds first: they have nowhere else to wait.
    for (const THeldAnswers::THeld& held : held_->Waiting(destination_)) {
      if (!ImpossibleField(held.record).empty()) {
        held_->SetAside(held.record.answerId, TSetAside::Impossible);
        continue;
      }
      const TDelivery delivery = Deliver(held.record, status);
      if (delivery == TDelivery::Stop) {
        go = false;
        break;
      }
      if (delivery == TDelivery::Sent) held_->Remove(held.record.answerId);
      if (delivery == TDelivery::Refused) held_->SetAside(held.record.answerId, TSetAside::Refused);
    }
    if (go && outbox_.IsOpen()) SendOutbox(status, deadline);
  }
  // An outbox that cannot be read now (a full disk) still holds what it held when last read:
  // those are shown as waiting, not none.
  if (outbox_.IsOpen() && outbox_.Counts(destination_, status.counts)) {
    outboxCounts_ = status.counts;
  } else {
    if (outbox_.IsOpen()) reopenOutbox_ = true;
    status.counts = outboxCounts_;
  }
  // Opened afresh next round: a file moved aside meanwhile is left for the new one.
  if (reopenOutbox_) outbox_.Close();
  reopenOutbox_ = false;
  status.counts += held_->Counts(destination_);
  status.waiting = status.counts.here;
  return status;
}

std::string WaitingLine(int64_t waiting, const TResultsLocation& location) {
  TOutboxCounts counts;
  counts.here = waiting;
  return WaitingLine(counts, location);
}

std::string WaitingLine(const TOutboxCounts& counts, const TResultsLocation& location) {
  std::string line;
  if (counts.here > 0)
    line = Answers(counts.here) + " waiting for " +
           (location.server ? std::string("the class server") : location.Describe());
  auto add = [&line](const std::string& part) { line += (line.empty() ? "" : "; ") + part; };
  if (counts.elsewhere > 0) add(Answers(counts.elsewhere) + " waiting for another place");
  if (counts.SetAside() <= 0) return line;
  static const char* const kWhy[kSetAsideKinds] = {"unreadable", "with values Tarvolin never gives",
                                                   "refused by the results store"};
  std::string why;
  for (int i = 0; i < kSetAsideKinds; ++i)
    if (counts.setAside[i] > 0)
      why += (why.empty() ? "" : ", ") + std::to_string(counts.setAside[i]) + " " + kWhy[i];
  add(Answers(counts.SetAside()) + " set aside and not sent (" + why + ")");
  return line;
}

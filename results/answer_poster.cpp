#include "results/answer_poster.h"

#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

using TClock = std::chrono::steady_clock;

struct TAnswerPoster::TShared {
  TShared(const std::string& outboxPath, std::shared_ptr<THeldAnswers> held)
      : sender(std::make_unique<TAnswerSender>(outboxPath, std::move(held))) {}

  // Used only on the sender's thread:
  QObject* context = nullptr;             // what rounds run in
  std::unique_ptr<TAnswerSender> sender;  // used, and closed, only there
  bool retryPending = false;
  int retryDelay = kRetryMilliseconds;
  long rounds = 0;

  std::mutex mutex;
  std::condition_variable done;
  TAnswerPoster* poster = nullptr;  // null once the poster is gone
  long requested = 0;
  long completed = 0;
  TClock::time_point roundStarted;  // of the round running; none when default
  bool silent = false;              // the running round was told as not answering
  TSendStatus status;
};

TAnswerPoster::TAnswerPoster(std::string outboxPath, QObject* parent)
    : QObject(parent),
      outboxPath_(std::move(outboxPath)),
      held_(std::make_shared<THeldAnswers>()),
      thread_(new QThread),
      watch_(new QTimer(this)),
      shared_(std::make_shared<TShared>(outboxPath_, held_)) {
  // Made or mended here, before the sender first looks into it.
  OpenOutbox();
  thread_->setObjectName("tarvolin-answers");
  shared_->context = new QObject;
  shared_->context->moveToThread(thread_);
  shared_->poster = this;
  watch_->setInterval(1000);
  connect(watch_, &QTimer::timeout, this, &TAnswerPoster::Watch);
  thread_->start();
}

TAnswerPoster::~TAnswerPoster() {
  // One limit for the whole ending, however long the sender takes: a statement the server
  // never answers must not hold the program.
  const TClock::time_point end = TClock::now() + std::chrono::milliseconds(kFinishMilliseconds);
  Finish(kFinishMilliseconds);
  {
    std::lock_guard lock(shared_->mutex);
    shared_->poster = nullptr;
  }
  // The sender's connections belong to its thread and are closed there, with the context.
  QMetaObject::invokeMethod(shared_->context, [shared = shared_] {
    shared->sender.reset();
    delete shared->context;
    shared->context = nullptr;
    QThread::currentThread()->quit();
  });
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - TClock::now());
  if (thread_->wait(QDeadlineTimer(std::max<qint64>(0, left.count())))) {
    delete thread_;
    return;
  }
  // A statement the server does not answer: the thread ends once it returns, or with the
  // program. Every answer it held is still in the outbox.
  connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
}

void TAnswerPoster::OpenOutbox() {
  if (!outbox_.Open(outboxPath_)) return;
  if (!outbox_.Notice().empty()) notice_ = outbox_.Notice() + ".";
}

void TAnswerPoster::SetLocation(const TResultsLocation& location) {
  location_ = location;
  unreadable_ = false;
  destination_ = location.Address();
  QMetaObject::invokeMethod(
      shared_->context, [shared = shared_, location] { shared->sender->SetLocation(location); });
  Request();
}

void TAnswerPoster::SetUnreadable(const std::string& why) {
  unreadable_ = true;
  destination_.clear();
  QMetaObject::invokeMethod(shared_->context,
                            [shared = shared_, why] { shared->sender->SetUnreadable(why); });
  Request();
}

bool TAnswerPoster::Post(const TAnswerRecord& record, std::string& notice) {
  if (!outbox_.IsOpen()) OpenOutbox();
  bool kept = outbox_.IsOpen() && outbox_.Add(record, destination_);
  if (!kept && outbox_.Damaged()) {
    OpenOutbox();
    kept = outbox_.IsOpen() && outbox_.Add(record, destination_);
  }
  notice = std::move(notice_);
  notice_.clear();
  if (!kept) {
    // Never dropped: sent straight from memory, and tried again with each answer.
    held_->Add(record, destination_);
    const std::string error = outbox_.Error();
    outbox_.Close();
    if (!memoryTold_) {
      memoryTold_ = true;
      notice += std::string(notice.empty() ? "" : " ") +
                "Answers cannot be kept on this computer now: " + error +
                ". Each answer is sent as soon as the results take it and is held only until "
                "Tarvolin ends, so keep Tarvolin open until no answer waits. The quiz goes on.";
    }
  }
  Request();
  bool silent = false;
  {
    std::lock_guard lock(shared_->mutex);
    silent = shared_->silent;
  }
  if (silent) CountWaiting();
  return kept;
}

void TAnswerPoster::Request() {
  long ticket = 0;
  {
    std::lock_guard lock(shared_->mutex);
    ticket = ++shared_->requested;
  }
  if (!watch_->isActive()) watch_->start();
  QMetaObject::invokeMethod(shared_->context,
                            [shared = shared_, ticket] { SendRound(shared, ticket); });
}

void TAnswerPoster::RequestOnSenderThread(const std::shared_ptr<TShared>& shared,
                                          int milliseconds) {
  if (!shared->context) return;
  shared->retryPending = true;
  QTimer::singleShot(milliseconds, shared->context, [shared] {
    shared->retryPending = false;
    long next = 0;
    {
      std::lock_guard lock(shared->mutex);
      next = ++shared->requested;
    }
    SendRound(shared, next);
  });
}

void TAnswerPoster::SendRound(const std::shared_ptr<TShared>& shared, long ticket) {
  long latest = 0;
  {
    std::lock_guard lock(shared->mutex);
    // An earlier round already sent everything this one was asked for.
    if (ticket <= shared->completed || !shared->sender) return;
    latest = shared->requested;
    shared->roundStarted = TClock::now();
  }
  // Ended well before it could be told as silent; what is left goes in the next round.
  const TSendStatus status = shared->sender->Send(kSilentMilliseconds / 2);
  const long round = ++shared->rounds;
  {
    std::lock_guard lock(shared->mutex);
    shared->status = status;
    shared->completed = std::max(shared->completed, latest);
    shared->roundStarted = {};
    shared->silent = false;
    if (TAnswerPoster* poster = shared->poster)
      QMetaObject::invokeMethod(poster, [poster] { emit poster->StatusChanged(); });
  }
  shared->done.notify_all();
  if (!shared->context) return;
  const bool failed = !status.problem.empty();
  if (!failed) shared->retryDelay = kRetryMilliseconds;
  if (status.waiting > 0 && !status.stopped && !shared->retryPending) {
    // A round that ran out of time goes on at once; a failed one waits, longer each time. A
    // server that is full just now frees a connection in moments: a school's machines try
    // again soon, each at its own moment, so that they do not all come back at once.
    if (failed && status.busy) {
      RequestOnSenderThread(
          shared,
          kBusyRetryMilliseconds / 4 + QRandomGenerator::global()->bounded(kBusyRetryMilliseconds));
      return;
    }
    RequestOnSenderThread(shared, failed ? shared->retryDelay : 0);
    if (failed) shared->retryDelay = std::min(2 * shared->retryDelay, kLongestRetryMilliseconds);
    return;
  }
  if (status.waiting > 0 && !failed) return;
  // Nothing to send now: a class server is not kept holding a connection for this program.
  QTimer::singleShot(kIdleMilliseconds, shared->context, [shared, round] {
    if (shared->rounds == round && shared->sender) shared->sender->CloseStore();
  });
}

void TAnswerPoster::Watch() {
  bool told = false;
  {
    std::lock_guard lock(shared_->mutex);
    const bool running = shared_->roundStarted != TClock::time_point();
    if (running && !shared_->silent &&
        TClock::now() - shared_->roundStarted > std::chrono::milliseconds(kSilentMilliseconds))
      told = shared_->silent = true;
    if (!running && shared_->completed >= shared_->requested) watch_->stop();
  }
  if (!told) return;
  CountWaiting();
  emit StatusChanged();
}

void TAnswerPoster::CountWaiting() {
  // Counted here, from the outbox, while the sender is held up in a statement; once, not at
  // every paint of the line that shows it.
  if (!outbox_.IsOpen() || !outbox_.Counts(destination_, waitingCounts_)) waitingCounts_ = {};
  waitingCounts_ += held_->Counts(destination_);
}

bool TAnswerPoster::Finish(int milliseconds) {
  std::unique_lock lock(shared_->mutex);
  const long wanted = shared_->requested;
  return shared_->done.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [&] { return shared_->completed >= wanted; });
}

TSendStatus TAnswerPoster::Status() const {
  TSendStatus status;
  {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->silent) return shared_->status;
    status = shared_->status;
  }
  status.problem = (location_.server ? std::string("The class server does not answer")
                                     : "The results file " + location_.Describe() + " is busy") +
                   "; your answers are kept on this computer and sent once it takes them.";
  status.details.clear();
  status.silent = true;
  status.counts = waitingCounts_;
  status.waiting = waitingCounts_.here;
  return status;
}

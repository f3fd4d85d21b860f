#include "results/answer_poster.h"

#include <QThread>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>

struct TAnswerPoster::TShared {
  explicit TShared(const std::string& outboxPath)
      : sender(std::make_unique<TAnswerSender>(outboxPath)) {}

  QObject* context = nullptr;             // lives on the sender's thread: what rounds run in
  std::unique_ptr<TAnswerSender> sender;  // used, and closed, only on the sender's thread
  bool retryPending = false;   // likewise

  std::mutex mutex;
  std::condition_variable done;
  TAnswerPoster* poster = nullptr;  // null once the poster is gone
  long requested = 0;
  long completed = 0;
  TSendStatus status;
};

TAnswerPoster::TAnswerPoster(std::string outboxPath, QObject* parent)
    : QObject(parent),
      outboxPath_(std::move(outboxPath)),
      thread_(new QThread),
      shared_(std::make_shared<TShared>(outboxPath_)) {
  thread_->setObjectName("tarvolin-answers");
  shared_->context = new QObject;
  shared_->context->moveToThread(thread_);
  shared_->poster = this;
  thread_->start();
}

TAnswerPoster::~TAnswerPoster() {
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
  });
  thread_->quit();
  if (thread_->wait(kFinishMilliseconds)) {
    delete thread_;
    return;
  }
  // A statement the server never answers: the thread is left to end with the program. Every
  // answer it held is still in the outbox.
}

void TAnswerPoster::SetLocation(const TResultsLocation& location) {
  destination_ = location.Address();
  QMetaObject::invokeMethod(shared_->context,
                            [shared = shared_, location] { shared->sender->SetLocation(location); });
  Request();
}

void TAnswerPoster::SetUnreadable(const std::string& why) {
  destination_.clear();
  QMetaObject::invokeMethod(shared_->context,
                            [shared = shared_, why] { shared->sender->SetUnreadable(why); });
  Request();
}

bool TAnswerPoster::Post(const TAnswerRecord& record, std::string& why) {
  if (!outboxOpen_) outboxOpen_ = outbox_.Open(outboxPath_);
  if (!outboxOpen_ || !outbox_.Add(record, destination_)) {
    why = "This answer could not be kept: " + outbox_.Error() + ". The quiz goes on.";
    return false;
  }
  Request();
  return true;
}

void TAnswerPoster::Request() {
  long ticket = 0;
  {
    std::lock_guard lock(shared_->mutex);
    ticket = ++shared_->requested;
  }
  QMetaObject::invokeMethod(shared_->context,
                            [shared = shared_, ticket] { SendRound(shared, ticket); });
}

void TAnswerPoster::SendRound(const std::shared_ptr<TShared>& shared, long ticket) {
  long latest = 0;
  {
    std::lock_guard lock(shared->mutex);
    // An earlier round already sent everything this one was asked for.
    if (ticket <= shared->completed || !shared->sender) return;
    latest = shared->requested;
  }
  const TSendStatus status = shared->sender->Send();
  {
    std::lock_guard lock(shared->mutex);
    shared->status = status;
    shared->completed = std::max(shared->completed, latest);
    if (TAnswerPoster* poster = shared->poster)
      QMetaObject::invokeMethod(poster, [poster] { emit poster->StatusChanged(); });
  }
  shared->done.notify_all();
  if (status.waiting <= 0 || shared->retryPending || !shared->context) return;
  shared->retryPending = true;
  QTimer::singleShot(kRetryMilliseconds, shared->context, [shared] {
    shared->retryPending = false;
    long next = 0;
    {
      std::lock_guard lock(shared->mutex);
      next = ++shared->requested;
    }
    SendRound(shared, next);
  });
}

bool TAnswerPoster::Finish(int milliseconds) {
  std::unique_lock lock(shared_->mutex);
  const long wanted = shared_->requested;
  return shared_->done.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [&] { return shared_->completed >= wanted; });
}

TSendStatus TAnswerPoster::Status() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

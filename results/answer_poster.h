#pragma once
#include <QObject>
#include <memory>
#include <string>

#include "results/answer_outbox.h"
#include "results/answer_sender.h"
#include "results/results_location.h"

class QThread;
class QTimer;

// Hands answers on without the quiz ever waiting for the store: each answer is kept in the
// outbox at once (a local file), then sent by a thread of its own, with the next answer,
// after a wait while answers wait (longer after each failed round), and when the poster
// starts (the program's next start). An answer no outbox can keep is held in memory and sent
// all the same. What the last round left is told through StatusChanged, on the poster's
// thread; a round that goes on too long is told as a store that does not answer.
class TAnswerPoster : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRetryMilliseconds = 3000;
  static constexpr int kLongestRetryMilliseconds = 180000;
  // How long ending a quiz run or the program waits for answers still being sent.
  static constexpr int kFinishMilliseconds = 3000;
  // A round still running after this is told as a store that does not answer.
  static constexpr int kSilentMilliseconds = 10000;
  // Nothing to send for this long, and the store's connection is closed.
  static constexpr int kIdleMilliseconds = 250;
  // Around how long a machine waits before trying a full or starting class server again.
  static constexpr int kBusyRetryMilliseconds = 2000;

  explicit TAnswerPoster(std::string outboxPath = TAnswerOutbox::DefaultPath(),
                         QObject* parent = nullptr);
  ~TAnswerPoster() override;

  // Where the answers go from now on; answers waiting for another place wait on.
  void SetLocation(const TResultsLocation& location);
  // The address given could not be read: answers wait, and the status says why.
  void SetUnreadable(const std::string& why);
  // Keeps the answer in the outbox and has it sent; no answer is ever dropped. False when no
  // outbox could keep it and only memory holds it until sent. notice is what the student
  // should know: the first time only memory holds one, or a damaged outbox moved aside.
  bool Post(const TAnswerRecord& record, std::string& notice);
  // Waits at most milliseconds for the answers posted so far to be sent; true when the sender
  // finished (answers it could not send still wait in the outbox).
  bool Finish(int milliseconds);
  // What the last round of sending left, or that the store does not answer.
  TSendStatus Status() const;

 signals:
  void StatusChanged();

 private:
  struct TShared;
  void Request();
  void OpenOutbox();
  // Notices a round that has gone on too long.
  void Watch();
  void CountWaiting();
  // A round of sending on the sender's thread; its ticket marks it done.
  static void SendRound(const std::shared_ptr<TShared>& shared, long ticket);
  static void RequestOnSenderThread(const std::shared_ptr<TShared>& shared, int milliseconds);

  std::string outboxPath_;
  TAnswerOutbox outbox_;
  // What waits while the sender is held up, counted when that is found and at each answer.
  TOutboxCounts waitingCounts_;
  std::string notice_;
  bool memoryTold_ = false;
  std::shared_ptr<THeldAnswers> held_;
  TResultsLocation location_;
  bool unreadable_ = false;
  // Where answers are meant to go when posted (an address without its password), kept with
  // each: an answer goes only there.
  std::string destination_;
  QThread* thread_;
  QTimer* watch_;
  // What the sender's thread and this object share; the thread may outlive this object
  // when a server never answers.
  std::shared_ptr<TShared> shared_;
};

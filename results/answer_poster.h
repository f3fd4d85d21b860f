#pragma once
#include <QObject>
#include <memory>
#include <string>

#include "results/answer_outbox.h"
#include "results/answer_sender.h"
#include "results/results_location.h"

class QThread;

// Hands answers on without the quiz ever waiting for the store: each answer is kept in the
// outbox at once (a local file), then sent by a thread of its own, with the next answer,
// every few seconds while answers wait, and when the poster starts (the program's next
// start). What the last round left is told through StatusChanged, on the poster's thread.
class TAnswerPoster : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRetryMilliseconds = 3000;
  // How long ending a quiz run or the program waits for answers still being sent.
  static constexpr int kFinishMilliseconds = 3000;

  explicit TAnswerPoster(std::string outboxPath = TAnswerOutbox::DefaultPath(),
                         QObject* parent = nullptr);
  ~TAnswerPoster() override;

  // Where the answers go from now on; answers already waiting go there too.
  void SetLocation(const TResultsLocation& location);
  // The address given could not be read: answers wait, and the status says why.
  void SetUnreadable(const std::string& why);
  // Keeps the answer in the outbox and has it sent. False, with why, only when not even the
  // outbox could keep it.
  bool Post(const TAnswerRecord& record, std::string& why);
  // Waits at most milliseconds for the answers posted so far to be sent; true when the sender
  // finished (answers it could not send still wait in the outbox).
  bool Finish(int milliseconds);
  // What the last round of sending left.
  TSendStatus Status() const;

 signals:
  void StatusChanged();

 private:
  struct TShared;
  void Request();
  // A round of sending on the sender's thread; its ticket marks it done.
  static void SendRound(const std::shared_ptr<TShared>& shared, long ticket);

  std::string outboxPath_;
  TAnswerOutbox outbox_;
  bool outboxOpen_ = false;
  // Where answers were meant to go when posted (an address without its password), kept with
  // each for whoever looks into the outbox; they go wherever the results go when sent.
  std::string destination_;
  QThread* thread_;
  // What the sender's thread and this object share; the thread may outlive this object
  // when a server never answers.
  std::shared_ptr<TShared> shared_;
};

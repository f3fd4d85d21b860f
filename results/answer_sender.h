#pragma once
#include <cstdint>
#include <string>

#include "results/answer_outbox.h"
#include "results/results_location.h"
#include "results/results_store.h"

// What a round of sending left: how many answers still wait, and, when the store would not
// take them, why in a student's words and the driver's own text.
struct TSendStatus {
  int64_t waiting = 0;
  int64_t sent = 0;
  std::string problem;
  std::string details;

  bool operator==(const TSendStatus&) const = default;
};

// Takes the answers waiting in the outbox to the results store, oldest first, until none
// waits or the store refuses one (then the rest wait for the next round). Synchronous: the
// poster runs it on a thread of its own, tests and tools run it directly.
class TAnswerSender {
 public:
  explicit TAnswerSender(std::string outboxPath);

  // Where the answers go; an address that could not be read is given as its why.
  void SetLocation(const TResultsLocation& location);
  void SetUnreadable(const std::string& why);
  TSendStatus Send();

 private:
  std::string outboxPath_;
  TAnswerOutbox outbox_;
  bool outboxOpen_ = false;
  TResultsStore store_;
  std::string unreadable_;
};

// The line the quiz and results windows show while answers wait ("3 answers waiting for the
// class server"); empty when none waits.
std::string WaitingLine(int64_t waiting, const TResultsLocation& location);

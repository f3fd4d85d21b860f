#pragma once
#include <QDateTime>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "results/answer_outbox.h"
#include "results/results_location.h"
#include "results/results_store.h"

// What a round of sending left: how many answers still wait (in the outbox and in memory)
// for where the results go now, for another place, and set aside; and, when the store would
// not take them, why in a student's words and the driver's own text.
struct TSendStatus {
  int64_t waiting = 0;
  TOutboxCounts counts;
  int64_t sent = 0;
  std::string problem;
  std::string details;
  // The class server refused the password: nothing is tried until the address or the
  // password changes, or the program starts again.
  bool stopped = false;
  // A round has gone on past its limit: the store does not answer.
  bool silent = false;
  // The class server takes no more connections just now, or is starting: worth a try soon.
  bool busy = false;

  bool operator==(const TSendStatus&) const = default;
};

// Answers no outbox could keep, held in memory until sent: the poster adds them on its
// thread, the sender takes them out on its own. Lost when the program ends, and said so.
class THeldAnswers {
 public:
  struct THeld {
    TAnswerRecord record;
    std::string destination;
    std::optional<TSetAside> setAside;
  };

  void Add(const TAnswerRecord& record, const std::string& destination);
  // Those not set aside that wait for destination (or for no place in particular).
  std::vector<THeld> Waiting(const std::string& destination) const;
  void Remove(const std::string& answerId);
  void SetAside(const std::string& answerId, TSetAside why);
  TOutboxCounts Counts(const std::string& destination) const;

 private:
  mutable std::mutex mutex_;
  std::vector<THeld> held_;
};

// Takes the answers waiting for where the results go now to the results store, oldest first:
// answers held in memory, then those in the outbox. One the store refuses for itself, or
// that the program could not have written, is set aside and the rest go on; a round ends when
// the store cannot be reached, an answer cannot be taken out of the outbox, or its time is
// up, and never sends an answer twice. Synchronous: the poster runs it on a thread of its own,
// tests and tools run it directly.
class TAnswerSender {
 public:
  explicit TAnswerSender(std::string outboxPath,
                         std::shared_ptr<THeldAnswers> held = std::make_shared<THeldAnswers>());

  // Where the answers go; an address that could not be read is given as its why.
  void SetLocation(const TResultsLocation& location);
  void SetUnreadable(const std::string& why);
  // limitMilliseconds > 0 ends the round past that time, the rest left for the next.
  TSendStatus Send(int limitMilliseconds = 0);
  // A class server holds a connection for each program connected: none is kept while idle.
  void CloseStore() { store_.Close(); }

 private:
  enum class TDelivery { Sent, Refused, Stop };
  TDelivery Deliver(const TAnswerRecord& record, TSendStatus& status);
  // Sends the outbox's answers; false when the outbox stopped the round.
  bool SendOutbox(TSendStatus& status, std::chrono::steady_clock::time_point deadline);
  bool PasswordStillRefused() const;

  std::string outboxPath_;
  TAnswerOutbox outbox_;
  std::shared_ptr<THeldAnswers> held_;
  TResultsStore store_;
  std::string destination_;
  std::string unreadable_;
  bool reopenOutbox_ = false;
  // What the outbox held when it was last read.
  TOutboxCounts outboxCounts_;
  // The message of a refused password, and what it was refused for.
  std::string refused_;
  TResultsLocation refusedLocation_;
  QDateTime refusedPasswordFile_;
};

// The line the quiz and results windows show while answers wait ("3 answers waiting for the
// class server"); empty when none waits.
std::string WaitingLine(int64_t waiting, const TResultsLocation& location);
// The same with those waiting for another place and those set aside, and why.
std::string WaitingLine(const TOutboxCounts& counts, const TResultsLocation& location);

#pragma once
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "results/sql_connection.h"
#include "results/sqlite_timer.h"

// Why an answer was set aside: kept in the outbox, never sent again, counted apart.
enum class TSetAside { Unreadable, Impossible, Refused };
inline constexpr int kSetAsideKinds = 3;

// One row of the outbox as read back. A row whose record cannot be read comes back too (not
// readable), so that the sender can set it aside instead of leaving it at the head for ever.
struct TWaitingAnswer {
  int64_t seq = 0;
  std::string destination;
  bool readable = false;
  TAnswerRecord record;
};

// What an outbox holds: answers waiting for one place, for others, and set aside by why.
struct TOutboxCounts {
  int64_t here = 0;
  int64_t elsewhere = 0;
  int64_t setAside[kSetAsideKinds] = {};

  int64_t SetAside() const { return setAside[0] + setAside[1] + setAside[2]; }
  TOutboxCounts& operator+=(const TOutboxCounts& other);
  bool operator==(const TOutboxCounts&) const = default;
};

// Answers kept on the student's own machine until the results store takes them: a small
// SQLite file in the account's data folder, each answer added in a transaction of its own,
// with the place it was meant for (an address without its password). The quiz adds every
// answer here first, so that none is lost to a server that is away, slow or restarting, nor
// to the program ending; the sender takes them out once stored. An answer is kept once
// however often it is added (its id is unique), and the store ignores a second delivery, so
// sending twice is harmless. Only a file of our own is used: another program's file is left
// as it is, a damaged one is moved aside (never deleted) and a new one made. Statements stop
// after a few seconds. One connection per thread: open one in each.
class TAnswerOutbox {
 public:
  static constexpr const char* kFileName = "tarvolin-outbox.db";
  static constexpr int kVersion = 1;
  // Repair: make the file and its folder, bring an earlier version's file up to date, move a
  // damaged file aside. Use: only a current file of ours, changed by no more than the sending.
  // Read: counting only, never writing.
  enum class TMode { Repair, Use, Read };

  TAnswerOutbox();
  ~TAnswerOutbox();
  TAnswerOutbox(const TAnswerOutbox&) = delete;
  TAnswerOutbox& operator=(const TAnswerOutbox&) = delete;

  // $XDG_DATA_HOME/tarvolin/tarvolin-outbox.db (by default under ~/.local/share).
  static std::string DefaultPath();

  // False with Error() when the outbox cannot be used; Notice() says what a repair did.
  bool Open(const std::string& path, TMode mode = TMode::Repair);
  void Close();
  bool IsOpen() const { return open_; }
  // Whether the last failure was the file being damaged (then Open moves it aside).
  bool Damaged() const { return damaged_; }
  bool Add(const TAnswerRecord& record, const std::string& destination);
  // Up to limit answers after seq, oldest first, of those waiting for destination (or for
  // no place in particular); set-aside answers never come back.
  // False when the outbox cannot be read.
  bool Oldest(const std::string& destination, int64_t afterSeq, int limit,
              std::vector<TWaitingAnswer>& answers);
  bool Remove(int64_t seq);
  bool SetAside(int64_t seq, TSetAside why, const std::string& details);
  // Every answer waiting for another place goes to destination instead.
  bool Redirect(const std::string& destination);
  // False when the outbox cannot be read.
  bool Counts(const std::string& destination, TOutboxCounts& counts);
  // Why the last step failed, for the middle of a sentence ("the file ... cannot be written"),
  // and for its start.
  std::string Error() const { return error_.empty() ? error_ : "the" + error_; }
  std::string ErrorAtStart() const { return error_.empty() ? error_ : "The" + error_; }
  const std::string& Notice() const { return notice_; }

 private:
  enum class TKind { Empty, Ours, Earlier, Newer, Foreign, Damaged, Failed };
  bool Connect(TMode mode);
  TKind Inspect();
  bool Create();
  bool Upgrade();
  // Runs statements and writes the version, in one transaction; what says what failed.
  bool Build(std::initializer_list<const char*> statements, const std::string& what);
  // The name the damaged file was moved to; empty when it could not be moved.
  QString MoveAside();
  int Salvage(const QString& damagedPath);
  bool Exec(QSqlQuery& query, const std::string& what);
  bool Fail(const std::string& what, const QString& detail, int code = 0);

  TSqlConnection connection_{"tarvolin-outbox"};
  QSqlDatabase& db_ = connection_.Db();
  TSqliteTimer timer_;
  std::string path_;
  bool open_ = false;
  bool damaged_ = false;
  std::string error_;
  std::string notice_;
};

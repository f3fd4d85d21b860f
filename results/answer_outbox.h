#pragma once
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "model/answer_record.h"

// Answers kept on the student's own machine until the results store takes them: a small
// SQLite file in the account's data folder, each answer added in a transaction of its own.
// The quiz adds every answer here first, so that none is lost to a server that is away, slow
// or restarting, nor to the program ending; the sender takes them out once stored. An answer
// is kept once however often it is added (its id is unique), and the store ignores a second
// delivery, so sending twice is harmless. One connection per thread: open one in each.
class TAnswerOutbox {
 public:
  static constexpr const char* kFileName = "tarvolin-outbox.db";

  TAnswerOutbox();
  ~TAnswerOutbox();
  TAnswerOutbox(const TAnswerOutbox&) = delete;
  TAnswerOutbox& operator=(const TAnswerOutbox&) = delete;

  // $XDG_DATA_HOME/tarvolin/tarvolin-outbox.db (by default under ~/.local/share).
  static std::string DefaultPath();

  // Opens (and makes, with its folder) the outbox file; false with Error() when it cannot.
  bool Open(const std::string& path);
  // Keeps the answer, with the place it was meant for (an address without its password, for
  // whoever looks into the file; answers are sent wherever the results go when they are sent).
  bool Add(const TAnswerRecord& record, const std::string& destination);
  // Up to limit answers, oldest first.
  std::vector<TAnswerRecord> Oldest(int limit);
  bool Remove(const std::string& answerId);
  // How many answers wait; -1 when the outbox cannot be read.
  int64_t Count();
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what, const QString& detail);

  QString connectionName_;
  QSqlDatabase db_;
  std::string path_;
  std::string error_;
};

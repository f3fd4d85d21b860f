#pragma once
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/answer_sink.h"
#include "model/assignment.h"
#include "results/results_location.h"
#include "results/results_summary.h"
#include "results/sql_connection.h"
#include "results/sqlite_timer.h"

class QSqlQuery;
struct TAssignmentTally;

// The answers of quiz runs, kept through Qt SQL in a SQLite file or a PostgreSQL database.
// Each answer is written in a transaction of its own, so that a program killed while writing
// loses at most that answer. In a file the summaries the results window reads are tables kept
// with each answer, so reading them does not grow with the number of answers; on a class
// server (schema "tarvolin", made by tarvolin-class setup) they are views the server computes
// from the answers the login may see, so that a student's login can change none of them.
// Only a store of ours is read or written: a file with no tables at all is set up, anything
// else must carry our meta table with a version. Statements time out after a few seconds.
// No widgets: failures come back as texts for the caller to show, the driver's own words
// apart in Details().
// What one schema version changes, after the version before it: statements for a results file
// and for a class server (whose schema "tarvolin" the server's statements name).
struct TSchemaStep {
  int version;
  std::vector<const char*> file;
  std::vector<const char*> server;
};

class TResultsStore : public TAnswerSink {
 public:
  static constexpr int kSchemaVersion = 2;
  // Every version's step, oldest first; a file is upgraded by them when opened for writing, a
  // class server by tarvolin-class setup.
  static const std::vector<TSchemaStep>& SchemaSteps();
  // How long connecting to a class server may take before the answer waits for later.
  static constexpr int kConnectSeconds = 4;
  enum class TMode { ReadWrite, ReadOnly };

  TResultsStore();
  ~TResultsStore() override;
  TResultsStore(const TResultsStore&) = delete;
  TResultsStore& operator=(const TResultsStore&) = delete;

  // Opens the store, creating the file and its tables on first use unless read-only. A store
  // written by a newer version of the program is opened read-only, with a notice.
  bool Open(const TResultsLocation& location, TMode mode = TMode::ReadWrite);
  // An empty store in memory: several files shown together.
  bool OpenInMemory();
  // For a store of the program's own that no one else reads and that is thrown away after (a
  // merge of files shown together): no journal and no waiting for the disk.
  void UseAsScratch();
  void Close();
  // What a connection made elsewhere found, told as this store's failure.
  void SetFailure(const std::string& error, const std::string& inSentence,
                  const std::string& details) {
    SetError(error, inSentence);
    details_ = details;
  }
  // Where Record opens the store when it is not open yet.
  void SetLocation(const TResultsLocation& location) { location_ = location; }

  bool IsOpen() const { return open_; }
  bool IsReadOnly() const { return readOnly_; }
  const TResultsLocation& Location() const { return location_; }
  // Why the last open or write failed, in a student's words.
  const std::string& Error() const { return error_; }
  // The same worded for the middle of a sentence ("the class server ... is not running").
  const std::string& ErrorInSentence() const { return errorInSentence_; }
  // The database driver's own text about the last failure, for a Details part; may be empty.
  const std::string& Details() const { return details_; }
  // Whether this login reads every student's answers and may clear them: always for a file,
  // on a server what the server's rights say (a teacher's login, or the database's owner).
  bool SeesEveryone() const { return seesEveryone_; }
  // The login a class server knows this connection by; empty for a file.
  const std::string& Login() const { return login_; }
  // What kind of failure the last open or write was, for a sender to choose what to do next:
  // try again later (a server away, or a busy file), try again soon (a server that takes no more
  // connections just now, or is starting), stop until the address or password changes, or set
  // this one answer aside (the store refuses the answer itself).
  enum class TFailure { None, TryLater, Busy, PasswordRefused, AnswerRefused };
  TFailure Failure() const { return failure_; }
  // Something the reader should know although the store opened (a newer version's file).
  const std::string& Notice() const { return notice_; }

  // Records one answer in its own transaction; opens the store first when it is not open.
  bool Record(const TAnswerRecord& record, std::string& why) override;
  // Adds every answer of other that this store (a file) does not hold yet, in one
  // transaction, and works its summaries out afresh. progress, given the number of answers
  // read so far now and then, stops the merge by returning false. The number added, -1 on a
  // failure or when stopped (then nothing is added).
  int Merge(TResultsStore& other, const std::function<bool(int64_t)>& progress = {});
  // Every answer, oldest first; each returns false to stop.
  bool ReadAnswers(const std::function<bool(const TAnswerRecord&)>& each);
  int64_t AnswerCount();
  bool Clear();

  // The summaries; an empty student means everyone.
  std::vector<TRunRow> Runs(const std::string& student, int limit);
  std::vector<TTypeRow> Types(const std::string& student);
  std::vector<TMistakeRow> Mistakes(const std::string& student);
  // How often first tries needed each kind of coaching in the fortnight up to now (ISO 8601)
  // and in the one before; empty when it cannot be read.
  TMistakeTrend Trend(const std::string& student, const std::string& now);
  std::vector<TMissedRow> MostMissed(int count);
  std::vector<std::string> Students();

  // On a class server read by a teacher's login: grades again every answer not graded yet
  // (only those are read), keeps whether its scores are the program's in tarvolin.regraded,
  // and returns LeftOut(). A student's login and a file do nothing and leave nothing out.
  TLeftOut RegradeNewAnswers();
  // The answers graded again whose scores are not the program's, which the server's figures
  // leave out; empty for a student's login or a file.
  TLeftOut LeftOut();

  // The assignments, oldest first, withdrawn ones included (a student's list leaves them out).
  // On a class server every login of the class reads them; only a teacher's writes them.
  // Without reactions, each reaction is left empty and only how many there are is kept (all the
  // grid needs), which reads much less.
  std::vector<TAssignment> Assignments(bool withReactions = true);
  // Adds the assignment, or changes the title, due date and withdrawn mark of the one with its
  // id (its reactions never change once given). False, with Error(), when refused or failed.
  bool WriteAssignment(const TAssignment& assignment);
  // The students of the class: on a class server the members of its students group (so that
  // one who answered nothing is listed), in a file every student seen there. A student's login
  // gets only herself.
  std::vector<std::string> ClassList();
  // What each student's answers to each assignment come to, counted by the store itself
  // (students by name in a file, by login on a server; a student's login gets her own).
  std::vector<TAssignmentTally> AssignmentTallies();
  // One student's answers to one assignment, oldest first, with their coaching.
  std::vector<TAnswerRecord> AnswersTo(const std::string& student, const std::string& assignmentId);

  // The schema version the store holds; 0 when unknown.
  int SchemaVersion() const { return schemaVersion_; }

 private:
  bool OpenConnection(const TResultsLocation& location, bool readOnly);
  // A results file: read as it lies, then with its -wal, and opened for writing only when it
  // is ours and of this version (a new one is made whole first, by MakeFile).
  bool OpenFile(const TResultsLocation& location, bool readOnly);
  bool OpenFileConnection(const QString& name, const QString& options, bool readOnly);
  bool MakeFile(const std::string& path);
  bool ReadOrCreateSchema(bool mayCreate);
  bool ReadServerSchema();
  bool ReadFileSchema(bool mayCreate);
  // The version text of our meta table: ours or older, newer, or no version at all.
  bool TakeVersion(const QString& text);
  bool TryRecord(const TAnswerRecord& record);
  // The answers that match a condition on table a ("" for all) with its values bound in order.
  bool ReadAnswersWhere(const QString& where, const std::vector<std::string>& values,
                        const std::function<bool(const TAnswerRecord&)>& each);
  bool CreateSchema();
  // Brings an earlier version's file up to this one in one transaction.
  bool Upgrade();
  // Writes one answer and its summaries; added is false when the store already held it.
  bool Write(const TAnswerRecord& record, bool& added);
  bool PrepareInserts(QSqlQuery& answer, QSqlQuery& note);
  // Copies the answers of a results file of the version given that this store does not hold
  // yet; the number added, -1
  // when the file cannot be read that way (then the answers are read one by one).
  int CopyAnswersOf(const std::string& file, int version,
                    const std::function<bool(int64_t)>& progress);
  bool InsertAnswer(const TAnswerRecord& record, QSqlQuery& answer, QSqlQuery& note, bool& added);
  bool Exec(QSqlQuery& query);
  bool Exec(const QString& statement);
  // what the store (the file, or the class server) is or cannot do: "cannot be opened".
  void Fail(const std::string& what, const QString& driverText);
  // A whole reason, worded for the start and for the middle of a sentence.
  void FailSaying(const std::string& atStart, const std::string& inSentence,
                  const QString& driverText);
  void SetError(const std::string& atStart, const std::string& inSentence);
  // A notice about the store: what follows its name ("was written by a newer version ...").
  void SetNotice(const std::string& what);
  void FailQuery(const std::string& what, const QSqlQuery& query);
  // "cannot be written", with what the connection last said; false.
  bool FailWrite();
  // A store only read here (or a newer version's) told as one that cannot be changed; false.
  bool FailUnchangeable();
  std::string NotKeptMessage() const;

  TSqlConnection connection_{"tarvolin-results"};
  QSqlDatabase& db_ = connection_.Db();
  TSqliteTimer timer_;
  TResultsLocation location_;
  bool open_ = false;
  bool readOnly_ = false;
  bool inMemory_ = false;
  int schemaVersion_ = 0;
  bool seesEveryone_ = true;
  std::string login_;
  std::string error_;
  std::string errorInSentence_;
  std::string details_;
  std::string notice_;
  std::string noticeInSentence_;
  TFailure failure_ = TFailure::None;
  // SQLite's primary result code of the last failure on a file, 0 when none was given.
  int sqliteCode_ = 0;
};

#pragma once
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "results/results_location.h"

class QJsonObject;

// A student's own answers, read from wherever her results go (her file, a lab file, her rows on
// the class server) and kept on her computer beside the outbox as last read, so that practice
// can be planned while the store is away; the answers still waiting in the outbox are added,
// since they are hers and newer than any read. Written whole through WriteFileAtomically; a
// kept file that cannot be read is left as it is. No widgets.
class TKeptHistory {
 public:
  static constexpr const char* kFileName = "tarvolin-history.json";

  // In the folder of TAnswerOutbox::DefaultPath().
  static std::string DefaultPath();

  struct TRead {
    std::vector<TAnswerRecord> answers;  // hers, oldest first
    bool asKept = false;                 // the store could not be read: the copy kept
    std::string problem;                 // why not, in her words
    std::string readAt;                  // when the answers were last read from the store
  };

  TKeptHistory(std::string path, std::string outboxPath);

  // The answers of student: from the store at location (then kept), else as kept.
  TRead Read(const TResultsLocation& location, const std::string& student) const;
  // An answer just given joins the copy kept, so that the copy holds it even when the store
  // that took it meanwhile is away at the next read. A copy that cannot be read stays as it is.
  void Add(const TAnswerRecord& record) const;

 private:
  bool ReadKept(const std::string& student, TRead& read) const;
  void Keep(const QJsonObject& kept) const;
  void AddWaiting(const TResultsLocation& location, const std::string& student, TRead& read) const;

  std::string path_;
  std::string outboxPath_;
};

#pragma once
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "model/assignment.h"
#include "results/results_location.h"

// A student's assignments as last read from her class's store, and her answers to them, kept on
// her own computer beside the outbox: she can start or continue one while the store is away,
// and her progress counts the answers the outbox has not sent yet. Written whole through
// WriteFileAtomically; a file that cannot be read is left as it is, never overwritten unread.
// Only what her list and her progress need of an answer is kept. No widgets.
class TKeptAssignments {
 public:
  static constexpr const char* kFileName = "tarvolin-assignments.json";

  // In the folder of TAnswerOutbox::DefaultPath().
  static std::string DefaultPath();

  explicit TKeptAssignments(std::string path = DefaultPath());

  // A file not made yet reads as nothing kept. False, with why, when it cannot be read; then
  // Write refuses too, so that nothing kept is lost.
  bool Read(std::string* why = nullptr);
  bool Write(std::string* why = nullptr);

  // Reads the assignments and student's answers to them from the store at location, and keeps
  // them on this computer. False, with why for the student, when the store cannot be read:
  // what was last read stays. The store is opened and closed on the calling thread and a
  // class server may take seconds to answer: a window calls it off its own thread.
  bool ReadFrom(const TResultsLocation& location, const std::string& student, std::string& why);

  // The store's list, as just read from place (an address without its password), replaces the
  // kept one; the answers kept stay.
  void TakeList(const std::string& place, std::vector<TAssignment> list);
  const std::string& Place() const { return place_; }
  const std::vector<TAssignment>& List() const { return list_; }
  // When the list was last read, ISO 8601 in UTC; empty when never.
  const std::string& ReadAt() const { return readAt_; }
  void SetReadAt(const std::string& when) { readAt_ = when; }
  // The assignment with that id, or null.
  const TAssignment* Find(const std::string& id) const;

  // An answer to an assignment (one that names none is ignored), kept once by its id.
  void AddAnswer(const TAnswerRecord& record);
  // The answers of student to the assignment, oldest first.
  std::vector<TAnswerRecord> AnswersOf(const std::string& assignmentId,
                                       const std::string& student) const;

 private:
  std::string path_;
  bool unreadable_ = false;
  std::string place_;
  std::string readAt_;
  std::vector<TAssignment> list_;
  std::vector<TAnswerRecord> answers_;
};

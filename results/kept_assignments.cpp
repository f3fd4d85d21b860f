#include "results/kept_assignments.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "model/atomic_file.h"
#include "results/answer_columns.h"
#include "results/answer_outbox.h"
#include "results/results_store.h"

// Named, so that a unity build's other sources with helpers of the same names never meet these.
namespace kept_assignments_json {
namespace {

constexpr int kVersion = 1;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
std::string S(const QJsonValue& value) {
  return value.toString().toStdString();
}

QJsonObject ToJson(const TAssignment& assignment) {
  QJsonArray reactions;
  for (const TAssignedReaction& reaction : assignment.reactions) {
    const QByteArray record(reinterpret_cast<const char*>(reaction.record.data()),
                            static_cast<qsizetype>(reaction.record.size()));
    reactions.append(QJsonObject{{"question", Q(reaction.question)},
                                 {"type", reaction.type},
                                 {"record", QString::fromLatin1(record.toBase64())}});
  }
  return {{"id", Q(assignment.id)},
          {"title", Q(assignment.title)},
          {"due", Q(assignment.due)},
          {"assignedAt", Q(assignment.assignedAt)},
          {"teacher", Q(assignment.teacher)},
          {"shuffled", assignment.shuffled},
          {"withdrawn", assignment.withdrawn},
          {"practiceCount", assignment.practiceCount},
          {"reactions", reactions}};
}

TAssignment AssignmentOf(const QJsonObject& object) {
  TAssignment assignment;
  assignment.id = S(object["id"]);
  assignment.title = S(object["title"]);
  assignment.due = S(object["due"]);
  assignment.assignedAt = S(object["assignedAt"]);
  assignment.teacher = S(object["teacher"]);
  assignment.shuffled = object["shuffled"].toBool();
  assignment.withdrawn = object["withdrawn"].toBool();
  assignment.practiceCount = object["practiceCount"].toInt();
  for (const QJsonValue& value : object["reactions"].toArray()) {
    const QJsonObject reaction = value.toObject();
    const QByteArray record = QByteArray::fromBase64(reaction["record"].toString().toLatin1());
    assignment.reactions.push_back({S(reaction["question"]), reaction["type"].toInt(),
                                    std::vector<unsigned char>(record.begin(), record.end())});
  }
  return assignment;
}

}  // namespace
}  // namespace kept_assignments_json

namespace kept_json = kept_assignments_json;

std::string TKeptAssignments::DefaultPath() {
  return QFileInfo(kept_json::Q(TAnswerOutbox::DefaultPath()))
      .dir()
      .filePath(kFileName)
      .toStdString();
}

TKeptAssignments::TKeptAssignments(std::string path) : path_(std::move(path)) {}

bool TKeptAssignments::Read(std::string* why) {
  unreadable_ = false;
  place_.clear();
  readAt_.clear();
  list_.clear();
  answers_.clear();
  QFile file(kept_json::Q(path_));
  if (!file.exists()) return true;
  QJsonParseError error{};
  QJsonDocument document;
  if (file.open(QIODevice::ReadOnly)) document = QJsonDocument::fromJson(file.readAll(), &error);
  const QJsonObject top = document.object();
  if (!file.isOpen() || error.error != QJsonParseError::NoError || !top["version"].isDouble() ||
      top["version"].toInt() > kept_json::kVersion) {
    unreadable_ = true;
    if (why)
      *why = "The assignments kept on this computer (" + path_ +
             ") cannot be read, so they are left as they are.";
    return false;
  }
  place_ = kept_json::S(top["place"]);
  readAt_ = kept_json::S(top["readAt"]);
  for (const QJsonValue& value : top["assignments"].toArray())
    list_.push_back(kept_json::AssignmentOf(value.toObject()));
  for (const QJsonValue& value : top["answers"].toArray()) {
    TAnswerRecord record;
    if (AnswerFromJson(value.toObject(), record)) answers_.push_back(std::move(record));
  }
  return true;
}

bool TKeptAssignments::Write(std::string* why) {
  if (unreadable_) {
    if (why) *why = "The assignments kept on this computer (" + path_ + ") were not replaced.";
    return false;
  }
  QJsonArray assignments, answers;
  for (const TAssignment& assignment : list_) assignments.append(kept_json::ToJson(assignment));
  for (const TAnswerRecord& record : answers_) answers.append(AnswerJson(record));
  const QByteArray bytes = QJsonDocument(QJsonObject{{"version", kept_json::kVersion},
                                                     {"place", kept_json::Q(place_)},
                                                     {"readAt", kept_json::Q(readAt_)},
                                                     {"assignments", assignments},
                                                     {"answers", answers}})
                               .toJson(QJsonDocument::Compact);
  QDir().mkpath(QFileInfo(kept_json::Q(path_)).absolutePath());
  std::string error;
  if (WriteFileAtomically(path_, reinterpret_cast<const unsigned char*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()), &error))
    return true;
  if (why) *why = "The assignments could not be kept on this computer: " + error;
  return false;
}

bool TKeptAssignments::ReadFrom(const TResultsLocation& location, const std::string& student,
                                std::string& why) {
  TResultsStore store;
  if (!store.Open(location, TResultsStore::TMode::ReadOnly)) {
    why = store.Error();
    return false;
  }
  std::vector<TAssignment> list = store.Assignments();
  store.ReadAnswers([this, &student](const TAnswerRecord& record) {
    if (record.student == student) AddAnswer(record);
    return true;
  });
  TakeList(location.Address(), std::move(list));
  const QDateTime now = QDateTime::currentDateTimeUtc();
  readAt_ = now.toString(Qt::ISODate).toStdString();
  // Not kept is no reason to refuse the list just read; the next read tries again.
  Write();
  return true;
}

void TKeptAssignments::TakeList(const std::string& place, std::vector<TAssignment> list) {
  place_ = place;
  list_ = std::move(list);
}

const TAssignment* TKeptAssignments::Find(const std::string& id) const {
  for (const TAssignment& assignment : list_)
    if (assignment.id == id) return &assignment;
  return nullptr;
}

void TKeptAssignments::AddAnswer(const TAnswerRecord& record) {
  if (record.assignmentId.empty()) return;
  if (std::any_of(answers_.begin(), answers_.end(), [&record](const TAnswerRecord& kept) {
        return kept.answerId == record.answerId;
      }))
    return;
  answers_.push_back(record);
}

std::vector<TAnswerRecord> TKeptAssignments::AnswersOf(const std::string& assignmentId,
                                                       const std::string& student) const {
  std::vector<TAnswerRecord> hers;
  for (const TAnswerRecord& record : answers_)
    if (record.assignmentId == assignmentId && record.student == student) hers.push_back(record);
  std::stable_sort(hers.begin(), hers.end(), [](const TAnswerRecord& a, const TAnswerRecord& b) {
    return a.answeredAt < b.answeredAt;
  });
  return hers;
}

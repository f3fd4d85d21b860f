#include "results/kept_history.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariant>
#include <algorithm>
#include <set>

#include "model/atomic_file.h"
#include "results/answer_columns.h"
#include "results/answer_outbox.h"
#include "results/results_store.h"

namespace {

constexpr int kVersion = 1;

}  // namespace

std::string TKeptHistory::DefaultPath() {
  return (QFileInfo(QString::fromStdString(TAnswerOutbox::DefaultPath())).absolutePath() + '/' +
          kFileName)
      .toStdString();
}

TKeptHistory::TKeptHistory(std::string path, std::string outboxPath)
    : path_(std::move(path)), outboxPath_(std::move(outboxPath)) {}

TKeptHistory::TRead TKeptHistory::Read(const TResultsLocation& location,
                                       const std::string& student) const {
  TRead read;
  TResultsStore store;
  // A results file that is not there may be one not made yet, or a lab's share that is away:
  // opened read-only it would say neither, so it is told apart here.
  const bool fileAway =
      !location.server && !QFileInfo::exists(QString::fromStdString(location.file));
  if (!fileAway && store.Open(location, TResultsStore::TMode::ReadOnly) &&
      store.ReadAnswers([&](const TAnswerRecord& r) {
        // A file may be a lab's, and a teacher's login reads everyone's.
        if (r.student == student) read.answers.push_back(r);
        return true;
      })) {
    read.readAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    QJsonArray answers;
    for (const TAnswerRecord& r : read.answers) answers.append(AnswerJson(r));
    Keep({{"version", kVersion},
          {"readAt", QString::fromStdString(read.readAt)},
          {"answers", answers}});
  } else {
    read.answers.clear();
    read.problem = fileAway ? location.DescribeAtStart() + " cannot be found" : store.Error();
    // Nothing kept either: a first start, with nothing to fall back on.
    read.asKept = ReadKept(student, read);
    if (!read.asKept) read.answers.clear();
  }
  AddWaiting(location, student, read);
  return read;
}

bool TKeptHistory::ReadKept(const std::string& student, TRead& read) const {
  QFile file(QString::fromStdString(path_));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QJsonObject kept = QJsonDocument::fromJson(file.readAll()).object();
  if (kept.value("version").toInt() != kVersion) return false;
  read.readAt = kept.value("readAt").toString().toStdString();
  for (const QJsonValue& value : kept.value("answers").toArray()) {
    TAnswerRecord r;
    if (AnswerFromJson(value.toObject(), r) && r.student == student)
      read.answers.push_back(std::move(r));
  }
  return true;
}

void TKeptHistory::Keep(const QJsonObject& kept) const {
  const QByteArray data = QJsonDocument(kept).toJson(QJsonDocument::Compact);
  QDir().mkpath(QFileInfo(QString::fromStdString(path_)).absolutePath());
  // Not kept only means the next start without the store plans from an older copy.
  WriteFileAtomically(path_, reinterpret_cast<const unsigned char*>(data.constData()),
                      static_cast<std::size_t>(data.size()));
}

void TKeptHistory::Add(const TAnswerRecord& record) const {
  QJsonObject kept{{"version", kVersion}};
  if (QFile file(QString::fromStdString(path_)); file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) return;
    kept = QJsonDocument::fromJson(file.readAll()).object();
    if (kept.value("version").toInt() != kVersion) return;
  }
  QJsonArray answers = kept.value("answers").toArray();
  answers.append(AnswerJson(record));
  kept["answers"] = answers;
  Keep(kept);
}

void TKeptHistory::AddWaiting(const TResultsLocation& location, const std::string& student,
                              TRead& read) const {
  TAnswerOutbox outbox;
  if (!QFileInfo::exists(QString::fromStdString(outboxPath_)) ||
      !outbox.Open(outboxPath_, TAnswerOutbox::TMode::Read))
    return;
  std::set<std::string> held;
  for (const TAnswerRecord& r : read.answers) held.insert(r.answerId);
  std::vector<TWaitingAnswer> batch;
  for (int64_t after = 0; outbox.Oldest(location.Address(), after, 200, batch) && !batch.empty();
       after = batch.back().seq)
    for (const TWaitingAnswer& waiting : batch)
      if (waiting.readable && waiting.record.student == student &&
          held.insert(waiting.record.answerId).second)
        read.answers.push_back(waiting.record);
  std::stable_sort(
      read.answers.begin(), read.answers.end(),
      [](const TAnswerRecord& a, const TAnswerRecord& b) { return a.answeredAt < b.answeredAt; });
}

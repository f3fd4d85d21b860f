#include "results/figures_reader.h"

#include <QDateTime>

#include "results/results_store.h"

std::string NowUtc() {
  return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

TFiguresReader::TFiguresReader(QObject* parent) : QObject(parent) {
  connect(&work_, &TBackgroundWork::Finished, this, &TFiguresReader::Ended);
}

void TFiguresReader::Start(const TResultsLocation& location, const std::string& student, int runs) {
  const std::string now = NowUtc();
  work_.Start([this, location, student, runs, now](const TBackgroundWork::TReport&) {
    TResultsStore store;
    read_ = store.Open(location) && store.AnswerCount() >= 0;
    figures_ = {};
    students_.clear();
    if (!read_) return;
    // A teacher's reading grades the answers new since first, so the figures that follow
    // already leave out those whose scores are not the program's.
    figures_.leftOut = store.RegradeNewAnswers();
    figures_.student = student;
    figures_.runs = store.Runs(student, runs);
    figures_.types = store.Types(student);
    figures_.mistakes = store.Mistakes(student);
    figures_.trend = store.Trend(student, now);
    figures_.missed = store.MostMissed(10);
    students_ = store.Students();
    // A server that went away in the middle gives empty summaries: not a reading.
    read_ = store.AnswerCount() >= 0;
  });
}

bool TFiguresReader::Take(TResultsFigures& figures, std::vector<std::string>& students) {
  figures = std::move(figures_);
  students = std::move(students_);
  return read_;
}

#include "results/figures_reader.h"

#include <mutex>
#include <thread>

#include "results/results_store.h"

struct TFiguresReader::TShared {
  std::mutex mutex;
  bool running = false;
  bool ended = false;
  bool read = false;
  TResultsFigures figures;
  std::vector<std::string> students;
};

TFiguresReader::TFiguresReader() : shared_(std::make_shared<TShared>()) {}

TFiguresReader::~TFiguresReader() = default;

bool TFiguresReader::Busy() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->running;
}

void TFiguresReader::Start(const TResultsLocation& location, const std::string& student,
                           int runs) {
  {
    std::lock_guard lock(shared_->mutex);
    if (shared_->running) return;
    shared_->running = true;
    shared_->ended = false;
  }
  std::thread([shared = shared_, location, student, runs] {
    TResultsFigures figures;
    std::vector<std::string> students;
    TResultsStore store;
    bool read = store.Open(location) && store.AnswerCount() >= 0;
    if (read) {
      // A teacher's reading grades the answers new since first, so the figures that follow
      // already leave out those whose scores are not the program's.
      figures.leftOut = store.RegradeNewAnswers();
      figures.student = student;
      figures.runs = store.Runs(student, runs);
      figures.types = store.Types(student);
      figures.mistakes = store.Mistakes(student);
      figures.missed = store.MostMissed(10);
      students = store.Students();
      // A server that went away in the middle gives empty summaries: not a reading.
      read = store.AnswerCount() >= 0;
    }
    std::lock_guard lock(shared->mutex);
    shared->read = read;
    shared->figures = std::move(figures);
    shared->students = std::move(students);
    shared->running = false;
    shared->ended = true;
  }).detach();
}

bool TFiguresReader::Take(bool& read, TResultsFigures& figures, std::vector<std::string>& students) {
  std::lock_guard lock(shared_->mutex);
  if (!shared_->ended) return false;
  shared_->ended = false;
  read = shared_->read;
  figures = std::move(shared_->figures);
  students = std::move(shared_->students);
  return true;
}

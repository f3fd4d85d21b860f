// Records sample answers into a results store, one transaction each, as a lab machine would:
//   results_writer ADDRESS COUNT STUDENT [--outbox PATH] [--pace MS] [--now]
// Prints each answer's number as it is kept, then "kept N in M ms", or the message a student
// would see, and exits 1 when an answer was not kept. The tests kill it mid-write, run it
// without write permission, and run thirty at once against one server.
// With --outbox it posts as the quiz does, through an outbox at PATH (one answer every MS
// milliseconds), then waits until every answer has been sent, as a machine left running would.
// With --now each answer carries the time it was given, to the millisecond, so that a
// measurement can compare it with the time the server took it.
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <string>

#include "results/answer_poster.h"
#include "results/results_store.h"
#include "tests/results/sample_answers.h"

namespace {

int Direct(const TResultsLocation& location, int count, const std::string& student) {
  TResultsStore store;
  store.SetLocation(location);
  QElapsedTimer timer;
  timer.start();
  for (int n = 0; n < count; ++n) {
    std::string why;
    if (!store.Record(SampleAnswer(n, student, "w"), why)) {
      std::printf("%s\n", why.c_str());
      return 1;
    }
    std::printf("%d\n", n + 1);
    std::fflush(stdout);
  }
  std::printf("kept %d in %lld ms\n", count, static_cast<long long>(timer.elapsed()));
  return 0;
}

int ThroughOutbox(const TResultsLocation& location, int count, const std::string& student,
                  const std::string& outbox, int pace, bool now) {
  TAnswerPoster poster(outbox);
  poster.SetLocation(location);
  QElapsedTimer timer;
  timer.start();
  for (int n = 0; n < count; ++n) {
    std::string why;
    // An answer no outbox could keep is held in memory and sent all the same.
    TAnswerRecord record = SampleAnswer(n, student, "w");
    if (now)
      record.answeredAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
    if (!poster.Post(record, why)) std::printf("%s\n", why.c_str());
    QThread::msleep(pace);
  }
  // Sent with the next answer, then every few seconds while any waits.
  // A measurement under load may wait out the longest back-off more than once.
  while (timer.elapsed() < (now ? count * pace + 600000 : 120000)) {
    poster.Finish(1000);
    const TSendStatus status = poster.Status();
    if (status.waiting == 0 && status.problem.empty()) {
      std::printf("kept %d in %lld ms\n", count, static_cast<long long>(timer.elapsed()));
      return 0;
    }
    QThread::msleep(200);
  }
  std::printf("still waiting: %s\n", poster.Status().problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: results_writer ADDRESS COUNT STUDENT [--outbox PATH] [--pace MS]\n");
    return 2;
  }
  TResultsLocation location;
  if (!TResultsLocation::Parse(argv[1], location)) return 2;
  const int count = std::stoi(argv[2]);
  const std::string student = argv[3];
  std::string outbox;
  int pace = 0;
  bool now = false;
  for (int i = 4; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--now") now = true;
    if (option == "--outbox" && i + 1 < argc) outbox = argv[++i];
    if (option == "--pace" && i + 1 < argc) pace = std::stoi(argv[++i]);
  }
  return outbox.empty() ? Direct(location, count, student)
                        : ThroughOutbox(location, count, student, outbox, pace, now);
}

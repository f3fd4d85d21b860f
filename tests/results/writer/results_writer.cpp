// Records sample answers into a results store, one transaction each, as a lab machine would:
//   results_writer ADDRESS COUNT STUDENT
// Prints "kept N in M ms", or the message a student would see, and exits 1 when an answer
// was not kept. The tests kill it mid-write, run it without write permission, and run thirty
// at once against one server.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "results/results_store.h"
#include "tests/results/sample_answers.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: results_writer ADDRESS COUNT STUDENT\n");
    return 2;
  }
  TResultsLocation location;
  if (!TResultsLocation::Parse(argv[1], location)) return 2;
  const int count = std::stoi(argv[2]);
  const std::string student = argv[3];
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

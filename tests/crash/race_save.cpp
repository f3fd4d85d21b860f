// Two editors on one reaction file: each of several processes adds reactions to its own
// TReactionBook and saves after every addition, as fast as it can. A save after the other's
// (the file changed on disk) makes the addition again on top of the other's file; one that is
// still refused as changed on disk drops the addition and reads the file again, and the addition
// is made and saved again; a save refused because the other held the file too long is tried
// again. At the end the file must hold every addition
// that was reported saved, each once, and nothing else, and every refusal must have been told.
//
//   race_save [--additions N] [--writers W]
//
// Prints the counts; exits 1 when an addition reported saved is missing (or the file holds one
// that was not), or a refusal came without a message.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "editor/rules/reaction_book.h"
#include "model/reaction_file.h"

namespace {

using Outcome = TReactionBook::SaveOutcome;

struct TOptions {
  int additions = 300;
  int writers = 2;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--additions" && i + 1 < argc)
      options.additions = std::atoi(argv[++i]);
    else if (arg == "--writers" && i + 1 < argc)
      options.writers = std::atoi(argv[++i]);
    else
      return false;
  }
  return options.additions > 0 && options.writers > 0;
}

std::string Question(int writer, int addition) {
  return "Writer " + std::to_string(writer) + ", addition " + std::to_string(addition) + ".";
}

QuestionRecord Record(int writer, int addition) {
  QuestionRecord record;
  record.SetQuestion(Question(writer, addition));
  record.SetFormula(true, 0, "Zn");
  record.SetFormula(true, 1, "Cu");
  record.SetCharge(true, 1, "2+");
  record.SetFormula(false, 0, "Zn");
  record.SetCharge(false, 0, "2+");
  record.SetFormula(false, 1, "Cu");
  return record;
}

// What one writer saw: the additions reported saved, and the refusals by kind.
struct TWriterLog {
  std::vector<int> saved;
  int changed = 0, busy = 0, other = 0;
  int untold = 0;  // refusals that came without a message or left the change marked saved
};

// The child: waits at the gate, then adds and saves until every addition is saved, and writes
// its log: the refusal counts on the first line, then each addition reported saved.
[[noreturn]] void AddAndSave(const std::string& path, int writer, const TOptions& options, int gate,
                             const std::string& logPath) {
  TReactionBook book(path);
  if (book.Read() != TReactionBook::ReadState::Read) _exit(3);
  char go = 0;
  if (read(gate, &go, 1) < 0) _exit(3);
  TWriterLog log;
  for (int i = 0; i < options.additions; ++i) {
    bool inList = false;
    for (int attempt = 0;; ++attempt) {
      if (attempt == 100000) _exit(4);
      if (!inList) book.Add(Record(writer, i), {0, 0, 1, 0, 0});
      inList = true;
      const TReactionBook::TSaveResult result = book.Save();
      if (result.outcome == Outcome::Saved) {
        log.saved.push_back(i);
        break;
      }
      ++(result.outcome == Outcome::ChangedOnDisk ? log.changed
         : result.outcome == Outcome::Busy        ? log.busy
                                                  : log.other);
      log.untold += result.message.empty() || !book.Unsaved();
      if (result.outcome == Outcome::ChangedOnDisk) {
        // Yes: the file as the other left it, and this addition made again on top of it.
        if (book.Read() != TReactionBook::ReadState::Read) _exit(3);
        inList = false;
      }
    }
  }
  std::ofstream out(logPath);
  out << log.changed << " " << log.busy << " " << log.other << " " << log.untold << "\n";
  for (int i : log.saved) out << i << "\n";
  out.close();
  _exit(out ? 0 : 3);
}

TWriterLog ReadLog(const std::string& logPath) {
  TWriterLog log;
  std::ifstream in(logPath);
  in >> log.changed >> log.busy >> log.other >> log.untold;
  for (int i = 0; in >> i;) log.saved.push_back(i);
  return log;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: race_save [--additions N] [--writers W]\n");
    return 2;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarvolin-race.XXXXXX";
  if (!mkdtemp(folder.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::string path = folder + "/" + kReactionFileName;
  if (!WriteReactionFile(TReactionList{}, path)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 2;
  }
  // Every writer reads the file first and then waits here, so that all of them start at once.
  int gate[2];
  if (pipe(gate) != 0) {
    std::perror("pipe");
    return 2;
  }
  std::vector<pid_t> children;
  for (int w = 0; w < options.writers; ++w) {
    const pid_t child = fork();
    if (child < 0) {
      std::perror("fork");
      return 2;
    }
    if (child == 0) {
      close(gate[1]);
      AddAndSave(path, w, options, gate[0], folder + "/writer-" + std::to_string(w) + ".log");
    }
    children.push_back(child);
  }
  close(gate[0]);
  const auto start = std::chrono::steady_clock::now();
  close(gate[1]);
  int status = 0;
  for (pid_t child : children) {
    int childStatus = 0;
    waitpid(child, &childStatus, 0);
    if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
      std::fprintf(stderr, "a writer failed (status %d)\n", childStatus);
      status = 2;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::set<std::string> reportedSaved;
  TWriterLog all;
  for (int w = 0; w < options.writers; ++w) {
    const TWriterLog log = ReadLog(folder + "/writer-" + std::to_string(w) + ".log");
    for (int i : log.saved) reportedSaved.insert(Question(w, i));
    all.changed += log.changed;
    all.busy += log.busy;
    all.other += log.other;
    all.untold += log.untold;
  }
  TReactionList file;
  if (ReadReactionFile(file, path) != ReadResult::Ok) {
    std::fprintf(stderr, "%s cannot be read whole\n", path.c_str());
    status = 2;
  }
  std::multiset<std::string> found;
  for (const auto& reaction : file) found.insert(std::string(reaction->Question()));
  int lost = 0, twice = 0, neverSaved = 0;
  for (const std::string& question : reportedSaved) {
    lost += found.count(question) == 0;
    twice += found.count(question) > 1;
  }
  for (const std::string& question : found) neverSaved += reportedSaved.count(question) == 0;
  std::printf(
      "%d writers, %d additions each, %.1f s: additions reported saved %zu, found in the file "
      "%zu (lost %d, kept twice %d, found but never reported saved %d); refusals %d (changed on "
      "disk %d, busy %d, other %d), told without a message %d\n",
      options.writers, options.additions, seconds, reportedSaved.size(), found.size(), lost, twice,
      neverSaved, all.changed + all.busy + all.other, all.changed, all.busy, all.other, all.untold);
  if (status == 0 && (lost || twice || neverSaved || all.untold)) status = 1;
  std::error_code removed;
  std::filesystem::remove_all(folder, removed);
  return status;
}

// Saves a large file over and over in a child process and kills the child (SIGKILL) at random
// moments. After every kill the file must hold exactly the last version that was saved or the
// one being saved, never a mix or a torn file; a temporary file that a killed save left behind
// must be gone once a later save has succeeded.
//
//   crash_save [--kills N] [--reactions R] [--seed S] [--require-cleanup] [--in-place]
//
// --in-place swaps the program's writer for one that writes straight over the old file, to show
// that the harness catches a writer that is not safe.
// Prints the counts; exits 1 when a file was found torn or a dead save's lock still locked, or,
// with --require-cleanup, when temporary files piled up.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/crash/save_step.h"

namespace {

struct TOptions {
  int kills = 200;
  std::size_t reactions = 10000;
  unsigned seed = std::random_device{}();
  bool requireCleanup = false;
  bool inPlace = false;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--kills" && hasValue)
      options.kills = std::atoi(argv[++i]);
    else if (arg == "--reactions" && hasValue)
      options.reactions = static_cast<std::size_t>(std::atol(argv[++i]));
    else if (arg == "--seed" && hasValue)
      options.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    else if (arg == "--require-cleanup")
      options.requireCleanup = true;
    else if (arg == "--in-place")
      options.inPlace = true;
    else
      return false;
  }
  return options.kills > 0 && options.reactions > 0;
}

// Files in folder other than the saved one and its lock file: the temporary files that killed
// saves left behind. A lock file left by a killed save is no temporary file: it stays until the
// next save, which it must not hold up.
std::set<std::string> Leftovers(const std::string& folder, const std::string& keep) {
  std::set<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name != keep && name != keep + ".lock") names.insert(name);
    }
    closedir(dir);
  }
  return names;
}

// Whether the next save may take the lock of lockFile now (the lock is let go again at once).
bool Free(const std::string& lockFile) {
  const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return true;
  const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

// The child: saves versions first, first + 1, ... until killed, telling the parent through the
// pipe when each save starts (2v) and when it has ended (2v + 1).
[[noreturn]] void SaveForever(const TSaveStep& step, const std::string& path, uint32_t first,
                              int pipe) {
  for (uint32_t v = first;; ++v) {
    uint64_t note = 2ull * v;
    if (write(pipe, &note, sizeof note) != sizeof note) _exit(3);
    if (!step.save(path, v)) _exit(4);
    note = 2ull * v + 1;
    if (write(pipe, &note, sizeof note) != sizeof note) _exit(3);
  }
}

struct TRound {
  uint32_t started = 0;  // last save begun, 0 for none
  uint32_t ended = 0;    // last save ended, 0 for none
  int childStatus = 0;
};

TRound KillOneSave(const TSaveStep& step, const std::string& path, uint32_t first,
                   std::chrono::microseconds delay) {
  TRound round;
  int fds[2];
  if (pipe(fds) != 0) {
    std::perror("pipe");
    std::exit(2);
  }
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    std::exit(2);
  }
  if (child == 0) {
    close(fds[0]);
    SaveForever(step, path, first, fds[1]);
  }
  close(fds[1]);
  std::this_thread::sleep_for(delay);
  kill(child, SIGKILL);
  waitpid(child, &round.childStatus, 0);
  uint64_t note = 0;
  while (read(fds[0], &note, sizeof note) == sizeof note)
    (note % 2 ? round.ended : round.started) = static_cast<uint32_t>(note / 2);
  close(fds[0]);
  return round;
}

// What the kills of one save did to its file.
struct TTally {
  double saveMs = 0;
  int old = 0, fresh = 0, torn = 0;
  int midWrite = 0;      // kills that caught the save writing its temporary file
  int piledUp = 0;       // kills after which an older temporary file was still there
  int lockLeft = 0;      // kills that left the killed save's lock file behind
  int lockBlocking = 0;  // of those, lock files still locked with the saving child dead
  std::size_t left = 0;
};

// Kills options.kills saves of one step in a folder of its own under folder, each after a
// random delay, and checks the file after each; false when the harness itself cannot run.
bool KillSaves(const TSaveStep& step, const std::string& folder, const TOptions& options,
               std::mt19937& random, TTally& tally) {
  // A folder of its own, so that only this file's temporary files count as left behind.
  const std::string stepFolder = folder + "/" + step.fileName + ".d";
  if (mkdir(stepFolder.c_str(), 0700) != 0) {
    std::perror("mkdir");
    return false;
  }
  const std::string path = stepFolder + "/" + step.fileName;
  // Version 1 is saved whole first; timing version 2 sets the span the kills fall in.
  const auto start = std::chrono::steady_clock::now();
  if (!step.save(path, 1) || !step.save(path, 2)) {
    std::fprintf(stderr, "%s: the first saves fail\n", step.name.c_str());
    return false;
  }
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start) /
                        2;
  tally.saveMs = saveTime.count() / 1000.0;
  std::uniform_int_distribution<long> delay(0, 2 * saveTime.count() + 1000);
  uint32_t onDisk = 2, next = 3;
  std::set<std::string> left;
  for (int k = 0; k < options.kills; ++k) {
    const TRound round = KillOneSave(step, path, next, std::chrono::microseconds(delay(random)));
    if (!WIFSIGNALED(round.childStatus)) {
      std::fprintf(stderr, "%s: the saving child ended by itself (status %d)\n", step.name.c_str(),
                   round.childStatus);
      return false;
    }
    const uint32_t before = round.ended ? round.ended : onDisk;
    const uint32_t during = round.started != round.ended ? round.started : 0;
    const auto found = step.version(path);
    if (found && *found == before) {
      ++tally.old;
    } else if (found && during && *found == during) {
      ++tally.fresh;
    } else if (++tally.torn <= 5) {
      std::fprintf(stderr, "kill %d: the file is neither version %u nor %u\n", k + 1, before,
                   during);
    }
    if (found) onDisk = *found;
    next = std::max(round.started, onDisk) + 1;
    if (std::filesystem::exists(path + ".lock")) {
      ++tally.lockLeft;
      tally.lockBlocking += !Free(path + ".lock");
    }
    const std::set<std::string> now = Leftovers(stepFolder, step.fileName);
    // A name not there before: the kill caught the save while it wrote its temporary file.
    if (std::any_of(now.begin(), now.end(), [&](const auto& name) { return !left.count(name); }))
      ++tally.midWrite;
    // One temporary file may be the killed save's own; more means a save that succeeded
    // since did not clear an older one.
    if (round.ended && now.size() > 1) ++tally.piledUp;
    left = now;
  }
  tally.left = left.size();
  return true;
}

void Report(const TSaveStep& step, const TOptions& options, const TTally& t) {
  std::printf(
      "%s, save %.1f ms, seed %u: %d kills (%d while the temporary file was "
      "written); files found whole %d (old version %d, new version %d), torn %d; temporary "
      "files left %zu (kills after which they had piled up %d); lock files left by killed saves "
      "%d, of them still locked %d\n",
      step.name.c_str(), t.saveMs, options.seed, options.kills, t.midWrite, t.old + t.fresh, t.old,
      t.fresh, t.torn, t.left, t.piledUp, t.lockLeft, t.lockBlocking);
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: crash_save [--kills N] [--reactions R] [--seed S] [--require-cleanup] "
                 "[--in-place]\n");
    return 2;
  }
  std::vector<TSaveStep> steps = {options.inPlace ? InPlaceReactionStep(options.reactions)
                                                  : ReactionFileStep(options.reactions)};
  if (!options.inPlace) steps.push_back(HeadingFileStep());
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarvolin-crash.XXXXXX";
  if (!mkdtemp(folder.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  std::mt19937 random(options.seed);
  int status = 0;
  for (const TSaveStep& step : steps) {
    TTally tally;
    if (!KillSaves(step, folder, options, random, tally)) {
      status = 2;
      break;
    }
    Report(step, options, tally);
    if (tally.torn > 0 || tally.lockBlocking > 0 || (options.requireCleanup && tally.piledUp > 0))
      status = 1;
  }
  std::error_code removed;
  std::filesystem::remove_all(folder, removed);
  if (removed)
    std::fprintf(stderr, "cannot remove %s: %s\n", folder.c_str(), removed.message().c_str());
  return status;
}

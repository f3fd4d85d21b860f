// The lock every writer of a file takes: it waits a while for another program's save, then
// says so; it is never broken, and one left by a killed program holds up no one.
#include "model/file_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "tests/support/lock_holder.h"
#include "tests/support/working_folder.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Whether anyone holds the lock on lockFile now.
bool Locked(const std::string& lockFile) {
  const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return locked;
}

// What else is going on when a writer asks for the lock of tarvolin.rxn: something that holds
// or held it, alive while the row runs.
using TOthers = std::function<std::shared_ptr<void>()>;

struct TLockCase {
  const char* name;
  TOthers others;
  milliseconds patience;
  bool held;
  milliseconds atLeast;  // the writer waited at least this long
  milliseconds atMost;   // and at most this
  std::string path = "tarvolin.rxn";
  WriteFailure failure = WriteFailure::Busy;
  std::string told = {};  // in the failure's text
};

std::ostream& operator<<(std::ostream& out, const TLockCase& c) {
  return out << c.name;
}

std::shared_ptr<void> Nothing() {
  return nullptr;
}

std::shared_ptr<void> HeldFor(milliseconds hold, const std::string& path = "tarvolin.rxn") {
  auto holder = std::make_shared<TLockHolder>(path, hold);
  EXPECT_TRUE(holder->Holding());
  return holder;
}

const TLockCase kLockCases[] = {
    {"NoOtherWriter", Nothing, milliseconds(2000), true, milliseconds(0), milliseconds(500)},
    {"ALockFileLeftByAKilledProgram",
     [] {
       TLockHolder killed("tarvolin.rxn", TLockHolder::kUntilKilled);
       EXPECT_TRUE(killed.Holding());
       killed.Kill();
       EXPECT_TRUE(fs::exists("tarvolin.rxn.lock"));
       return std::shared_ptr<void>();
     },
     milliseconds(2000), true, milliseconds(0), milliseconds(500)},
    {"ALockFileWithSomethingInIt",
     [] {
       std::ofstream("tarvolin.rxn.lock") << "pid 12345";
       return std::shared_ptr<void>();
     },
     milliseconds(2000), true, milliseconds(0), milliseconds(500)},
    {"AnotherProgramSavingAShortWhile", [] { return HeldFor(milliseconds(300)); },
     milliseconds(5000), true, milliseconds(100), milliseconds(4000)},
    {"AnotherProgramSavingForever", [] { return HeldFor(TLockHolder::kUntilKilled); },
     milliseconds(400), false, milliseconds(400), milliseconds(3000)},
    {"AnotherLockInThisProgram",
     [] { return std::static_pointer_cast<void>(std::make_shared<TFileLock>("tarvolin.rxn")); },
     milliseconds(200), false, milliseconds(200), milliseconds(3000)},
    {"AnotherProgramSavingThroughALink",
     [] {
       std::ofstream("real.rxn") << "x";
       fs::create_symlink("real.rxn", "link.rxn");
       return HeldFor(TLockHolder::kUntilKilled, "link.rxn");
     },
     milliseconds(200), false, milliseconds(200), milliseconds(3000), "real.rxn"},
    {"AFolderThatIsGone", Nothing, milliseconds(2000), false, milliseconds(0), milliseconds(500),
     "gone/tarvolin.rxn", WriteFailure::CannotCreate},
    {"AFifoUnderTheLocksName",
     [] {
       EXPECT_EQ(mkfifo("tarvolin.rxn.lock", 0666), 0);
       return std::shared_ptr<void>();
     },
     milliseconds(2000), false, milliseconds(0), milliseconds(500), "tarvolin.rxn",
     WriteFailure::CannotCreate, "is not a regular file"},
    // Needs root, who alone may give a file to another account.
    {"ALockFileOfAnotherAccount",
     [] {
       std::ofstream("tarvolin.rxn") << "x";
       std::ofstream("tarvolin.rxn.lock");
       EXPECT_EQ(chown("tarvolin.rxn.lock", 65534, 65534), 0);
       return std::shared_ptr<void>();
     },
     milliseconds(2000), false, milliseconds(0), milliseconds(500), "tarvolin.rxn",
     WriteFailure::CannotCreate, "belongs to the account nobody"},
    // The list's owner left a lock file that this account may only read: a lock needs no right
    // to write, so the save goes on. Needs root too, to save as another account.
    {"AReadOnlyLockFileOfTheListsOwner",
     [] {
       std::ofstream("tarvolin.rxn") << "x";
       std::ofstream("tarvolin.rxn.lock");
       EXPECT_EQ(chmod("tarvolin.rxn.lock", 0644) | chmod(".", 0777), 0);
       EXPECT_EQ(seteuid(65534), 0);
       return std::shared_ptr<void>(nullptr, [](void*) { EXPECT_EQ(seteuid(0), 0); });
     },
     milliseconds(2000), true, milliseconds(0), milliseconds(500)},
};

class FileLockTest : public testing::TestWithParam<TLockCase> {
 protected:
  TWorkingFolder folder_;
};

TEST_P(FileLockTest, WaitsAWhileAndNeverBreaksAnotherProgramsLock) {
  const TLockCase& c = GetParam();
  const std::shared_ptr<void> others = c.others();
  const auto start = std::chrono::steady_clock::now();
  std::optional<TFileLock> lock;
  lock.emplace(c.path, c.patience);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, c.atLeast);
  EXPECT_LE(waited, c.atMost);
  ASSERT_EQ(lock->Held(), c.held) << lock->Failure().text;
  const std::string lockFile = c.path + ".lock";
  if (c.held) {
    EXPECT_TRUE(Locked(lockFile));
    lock.reset();
    EXPECT_FALSE(fs::exists(lockFile)) << "a lock let go leaves no file";
    return;
  }
  EXPECT_EQ(lock->Failure().kind, c.failure);
  EXPECT_NE(lock->Failure().text.find(c.told), std::string::npos) << lock->Failure().text;
  if (c.failure == WriteFailure::Busy) {
    EXPECT_EQ(lock->Failure().text, c.path + " is being saved by another program; try again");
    lock.reset();
    EXPECT_TRUE(Locked(lockFile)) << "the other program's lock was broken";
  }
}

INSTANTIATE_TEST_SUITE_P(, FileLockTest, testing::ValuesIn(kLockCases),
                         [](const testing::TestParamInfo<TLockCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace

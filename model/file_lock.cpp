#include "model/file_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

std::chrono::milliseconds currentPatience{5000};

// Short enough that a waiting save finds the gap between two saves of another program.
constexpr std::chrono::milliseconds kPollInterval{2};

// Beside the file a link names, as the atomic writer replaces that file and not the link.
std::string LockPathFor(const std::string& path) {
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  return target + ".lock";
}

bool StillNamedBy(int fd, const std::string& path) {
  struct stat byFd {
  }, byPath{};
  return fstat(fd, &byFd) == 0 && ::lstat(path.c_str(), &byPath) == 0 &&
         byFd.st_dev == byPath.st_dev && byFd.st_ino == byPath.st_ino;
}

std::string NotALockFile(const std::string& path, const std::string& lockPath) {
  return "the lock file " + lockPath + " beside " + path +
         " is not a regular file (a link, a FIFO or a folder); remove it, then save again";
}

std::string AccountName(uid_t uid) {
  if (const passwd* account = getpwuid(uid)) return account->pw_name;
  return "number " + std::to_string(uid);
}

// A lock file is taken only when it is a regular file of this account's or of the owner of the
// file it guards: another account of a shared folder could otherwise hold every save off.
std::string Refusal(int fd, const std::string& path, const std::string& lockPath) {
  struct stat lock {
  }, guarded{};
  if (fstat(fd, &lock) != 0 || !S_ISREG(lock.st_mode)) return NotALockFile(path, lockPath);
  if (lock.st_uid == geteuid()) return {};
  if (::stat(path.c_str(), &guarded) == 0 && lock.st_uid == guarded.st_uid) return {};
  const std::string owner = AccountName(lock.st_uid);
  return "the lock file " + lockPath + " belongs to the account " + owner +
         ", which neither you nor the owner of " + path + " is; ask " + owner +
         " to close the program that saves it, or the administrator to remove " + lockPath +
         ", then save again";
}

}  // namespace

std::chrono::milliseconds TFileLock::Patience() {
  return currentPatience;
}

std::chrono::milliseconds TFileLock::SetPatience(std::chrono::milliseconds newPatience) {
  const auto old = currentPatience;
  currentPatience = newPatience;
  return old;
}

TFileLock::TFileLock(const std::string& path) : TFileLock(path, Patience()) {}

TFileLock::TFileLock(const std::string& path, std::chrono::milliseconds patience)
    : lockPath_(LockPathFor(path)) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    int errnum = 0;
    std::string refusal;
    fd_ = TryOnce(path, errnum, refusal);
    if (fd_ >= 0) return;
    if (!refusal.empty()) {
      failure_ = {WriteFailure::CannotCreate, errnum, refusal};
      return;
    }
    if (errnum != EWOULDBLOCK) {
      failure_ = {WriteFailure::CannotCreate, errnum,
                  "Cannot create a file beside " + path + ": " + std::strerror(errnum)};
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  failure_ = {WriteFailure::Busy, EWOULDBLOCK,
              path + " is being saved by another program; try again"};
}

// One attempt: the locked descriptor, or -1 with errnum EWOULDBLOCK while another holds it, or
// with refusal saying why this lock file is not one to take at all.
int TFileLock::TryOnce(const std::string& path, int& errnum, std::string& refusal) const {
  // Never waits on the open: a FIFO under the lock's name would hold it up for good.
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  // Another user's lock file may be read-only to us; a lock needs no right to write.
  int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
  if (fd < 0 && (errno == EACCES || errno == EROFS)) {
    const int why = errno;
    fd = ::open(lockPath_.c_str(), O_RDONLY | kFlags);
    if (fd < 0 && errno == ENOENT) errno = why;  // no file there, and none may be made
  }
  if (fd < 0) {
    errnum = errno;
    if (errno == ELOOP) refusal = NotALockFile(path, lockPath_);
    return -1;
  }
  refusal = Refusal(fd, path, lockPath_);
  if (!refusal.empty()) {
    errnum = EPERM;
    ::close(fd);
    return -1;
  }
  errnum = EWOULDBLOCK;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // A file system that keeps no locks (a network share without its lock service) cannot
    // order two saves; the save goes on as it would without the lock rather than never.
    if (errno == ENOLCK || errno == EOPNOTSUPP) return fd;
    if (errno != EWOULDBLOCK && errno != EINTR) errnum = errno;
    ::close(fd);
    return -1;
  }
  // The holder before us removed the file as it let go: ours is then a lock on a name no longer
  // there, which no one else sees. Try again on the file the name leads to now.
  if (!StillNamedBy(fd, lockPath_)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool TFileLock::TakeUnlessHeld(const std::string& path, const TFileLock* held,
                               std::optional<TFileLock>& own, TWriteError* error) {
  if (held) return true;
  own.emplace(path);
  if (own->Held()) return true;
  if (error) *error = own->Failure();
  return false;
}

TFileLock::~TFileLock() {
  if (fd_ < 0) return;
  // Removed while still held, so no one can take the lock on a file about to go.
  ::unlink(lockPath_.c_str());
  ::close(fd_);
}

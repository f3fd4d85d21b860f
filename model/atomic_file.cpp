#include "model/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "model/file_lock.h"

namespace {

bool Fail(TWriteError* error, WriteFailure kind, const std::string& what, int errnum) {
  if (error) {
    error->kind = kind;
    error->errnum = errnum;
    error->text = what + ": " + std::strerror(errnum);
  }
  return false;
}

bool WriteFully(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Temporary files are named for the file they replace, with a mark no user file carries and
// mkstemp's six random characters.
constexpr const char* kTempMark = ".tarvolin-save-";
constexpr std::size_t kTempRandomLength = 6;

// A save that was killed leaves its temporary file. Each save holds a lock on its own while it
// writes, so one that can be locked now belongs to a save that no longer runs.
void RemoveAbandonedTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const auto slash = target.rfind('/');
  const std::string prefix =
      (slash == std::string::npos ? target : target.substr(slash + 1)) + kTempMark;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + kTempRandomLength ||
        name.compare(0, prefix.size(), prefix) != 0)
      continue;
    const std::string path = folder + "/" + name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
    ::close(fd);
  }
  closedir(dir);
}

bool SameInode(int fd, const std::string& path) {
  struct stat byFd {
  }, byPath{};
  return fstat(fd, &byFd) == 0 && ::lstat(path.c_str(), &byPath) == 0 &&
         byFd.st_dev == byPath.st_dev && byFd.st_ino == byPath.st_ino;
}

// A locked temporary file of our own. Between mkstemp and flock another save may take the
// file for abandoned and remove it; then the name no longer leads to our file, and we start
// again, so a running save never loses its temporary file to another.
int CreateLockedTemporary(const std::string& target, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target + kTempMark + std::string(kTempRandomLength, 'X');
    const int fd = mkstemp(temp.data());
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && SameInode(fd, temp)) return fd;
    ::close(fd);
  }
  errno = EAGAIN;
  return -1;
}

}  // namespace

bool IsWriteProtected(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         TWriteError* error, const TFileLock* held) {
  // Two writers renaming at once would each replace the other's file unseen.
  std::optional<TFileLock> own;
  if (!TFileLock::TakeUnlessHeld(path, held, own, error)) return false;
  // Write beside the old file, then rename over it: the old file is never half-written.
  // A link is followed, so the file it names is replaced and the link stays.
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  // A rename needs no right to write the file itself, so protection is checked here.
  if (IsWriteProtected(target))
    return Fail(error, WriteFailure::WriteProtected, path + " is write-protected", EACCES);
  // Only a regular file is replaced: a rename over a device, a pipe or a folder would put a
  // file where the system or the user expects something else.
  struct stat there {};
  if (::stat(target.c_str(), &there) == 0 && !S_ISREG(there.st_mode))
    return Fail(error, WriteFailure::CannotReplace, path + " is not a regular file",
                S_ISDIR(there.st_mode) ? EISDIR : EINVAL);
  std::string temp;
  const int fd = CreateLockedTemporary(target, temp);
  if (fd < 0)
    return Fail(error, WriteFailure::CannotCreate, "Cannot create a file beside " + path, errno);
  struct stat old {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  // A folder that keeps no modes still takes the data; the mode is not worth failing for.
  (void)fchmod(fd, mode);
  bool ok = WriteFully(fd, data, size) ||
            Fail(error, WriteFailure::CannotWrite, "Cannot write " + temp, errno);
  ok = ok &&
       (fsync(fd) == 0 || Fail(error, WriteFailure::CannotWrite, "Cannot flush " + temp, errno));
  // The file stays open, and so locked, until it has taken the old file's place: closing it
  // first would let another save take it for abandoned and remove it before the rename.
  ok = ok && (std::rename(temp.c_str(), target.c_str()) == 0 ||
              Fail(error, WriteFailure::CannotReplace, "Cannot replace " + path, errno));
  if (!ok) {
    ::unlink(temp.c_str());
    ::close(fd);
    return false;
  }
  // fsync has reported any write error; a close that fails now changes nothing on disk.
  (void)::close(fd);
  // Make the rename itself durable; a failure here does not undo a completed replace.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
  RemoveAbandonedTemporaries(target);
  return true;
}

bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         std::string* error) {
  TWriteError failure;
  const bool ok = WriteFileAtomically(path, data, size, &failure);
  if (!ok && error) *error = failure.text;
  return ok;
}

bool KeepCopyBeside(const std::string& path, const std::string& suffix, std::string& savedAs,
                    std::string* error) {
  const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    if (error) *error = "Cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  int out = -1;
  std::string name;
  for (int n = 1; n < 1000 && out < 0; ++n) {
    name = path + suffix + (n == 1 ? std::string() : "." + std::to_string(n));
    // O_EXCL: a name that is taken, even by a save running now, is never written over.
    out = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0 && errno != EEXIST) break;
  }
  if (out < 0) {
    if (error) *error = "Cannot create " + name + ": " + std::strerror(errno);
    ::close(in);
    return false;
  }
  unsigned char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || !WriteFully(out, buffer, static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  ok = ok && fsync(out) == 0;
  const int saved = errno;
  ok = (::close(out) == 0) && ok;
  ::close(in);
  if (!ok) {
    if (error)
      *error = "Cannot copy " + path + " to " + name + ": " + std::strerror(saved ? saved : EIO);
    ::unlink(name.c_str());
    return false;
  }
  savedAs = name;
  return true;
}

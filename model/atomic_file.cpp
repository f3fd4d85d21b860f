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

namespace {

void SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
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

// Temporary files are named for the file they replace, with a mark no user file carries.
constexpr const char* kTempMark = ".tarvolin-save-";
constexpr std::size_t kTempSuffix = 6;  // mkstemp's XXXXXX

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
    if (name.size() != prefix.size() + kTempSuffix || name.compare(0, prefix.size(), prefix) != 0)
      continue;
    const std::string path = folder + "/" + name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
    ::close(fd);
  }
  closedir(dir);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         std::string* error) {
  // Write beside the old file, then rename over it: the old file is never half-written.
  // A link is followed, so the file it names is replaced and the link stays.
  std::string target = path;
  if (char* resolved = realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  std::string temp = target + kTempMark + "XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    SetError(error, "Cannot create a file beside " + path);
    return false;
  }
  // Held until the file is closed, so that no other save takes it for abandoned.
  (void)flock(fd, LOCK_EX | LOCK_NB);
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
  bool ok = WriteFully(fd, data, size) || (SetError(error, "Cannot write " + temp), false);
  ok = ok && (fsync(fd) == 0 || (SetError(error, "Cannot flush " + temp), false));
  if (::close(fd) != 0 && ok) ok = (SetError(error, "Cannot close " + temp), false);
  ok = ok && (std::rename(temp.c_str(), target.c_str()) == 0 ||
              (SetError(error, "Cannot replace " + path), false));
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; a failure here does not undo a completed replace.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
  RemoveAbandonedTemporaries(target);
  return true;
}

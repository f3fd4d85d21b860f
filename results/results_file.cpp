#include "results/results_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <QSqlQuery>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string FolderOf(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

bool IsNetworkFileSystem(const std::string& path) {
  struct statfs fs {};
  if (statfs(FolderOf(path).c_str(), &fs) != 0) return true;  // unknown: the safe journal
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE (sshfs and the like)
    case 0x564C:      // NCP
    case 0x01161970:  // GFS2
    case 0x7461636F:  // OCFS2
    case 0x00C36400:  // Ceph
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsFolderWritable(const std::string& path) {
  return access(FolderOf(path).c_str(), W_OK | X_OK) == 0;
}

bool IsWriteAheadFile(const std::string& path) {
  unsigned char header[20] = {};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const ssize_t n = read(fd, header, sizeof header);
  close(fd);
  // Bytes 18 and 19 are the file format's write and read versions: 2 for write-ahead logging.
  return n == static_cast<ssize_t>(sizeof header) &&
         std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2 && header[19] == 2;
}

bool IsSharedFolder(const std::string& path) {
  struct stat folder {};
  return stat(FolderOf(path).c_str(), &folder) == 0 && (folder.st_mode & S_ISGID) &&
         (folder.st_mode & S_IWGRP);
}

bool PrepareResultsFile(const std::string& path, std::string& why) {
  const bool shared = IsSharedFolder(path);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return true;
    why = std::strerror(errno);
    return false;
  }
  if (shared) {
    // The umask would take the group's write right away; the lab's accounts need it.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, (0666 & ~mask) | S_IRGRP | S_IWGRP);
  }
  close(fd);
  return true;
}

void UseLocalJournal(const QSqlDatabase& db, const std::string& path) {
  if (IsNetworkFileSystem(path)) return;
  QSqlQuery query(db);
  query.exec("PRAGMA journal_mode=WAL");
}

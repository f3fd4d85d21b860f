#include "results/results_file.h"

#include <endian.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <vector>

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

bool IsSharedFolder(const std::string& path) {
  struct stat folder {};
  return stat(FolderOf(path).c_str(), &folder) == 0 && (folder.st_mode & S_ISGID) &&
         (folder.st_mode & S_IWGRP);
}

bool PrepareResultsFile(const std::string& path, std::string& temp, std::string& why) {
  const bool shared = IsSharedFolder(path);
  std::string name = path + ".new-XXXXXX";
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  // mkostemp makes it private; it gets the mode a file made the usual way would have.
  const mode_t mask = umask(0);
  umask(mask);
  // The umask would take the group's write right away; the lab's accounts need it.
  fchmod(fd, (0666 & ~mask) | (shared ? S_IRGRP | S_IWGRP : 0));
  close(fd);
  temp = name;
  return true;
}

bool PublishResultsFile(const std::string& temp, const std::string& path, std::string& why) {
  // A link never replaces a file another program made meanwhile; where the file system has no
  // links, a rename that does not replace either.
  int result = link(temp.c_str(), path.c_str());
  int error = result == 0 ? 0 : errno;
  if (result != 0 && error != EEXIST) {
    result = renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    error = result == 0 ? 0 : errno;
  }
  for (const char* beside : {"", "-wal", "-shm", "-journal"}) unlink((temp + beside).c_str());
  struct stat made {};
  if (lstat(path.c_str(), &made) == 0) return true;
  why = std::strerror(error ? error : ENOENT);
  return false;
}

std::string NotARegularFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return {};
  return sqlite3_errstr(SQLITE_CANTOPEN);
}

QString SqliteUri(const std::string& path) {
  // Only the characters that end or escape a path in a URI: '?', '#' and '%'.
  QString uri = QStringLiteral("file:");
  for (const QChar c : QString::fromStdString(path)) {
    if (c == '?' || c == '#' || c == '%')
      uri += QStringLiteral("%%%1").arg(c.unicode(), 2, 16, QChar('0'));
    else
      uri += c;
  }
  // A path that begins with two slashes would be taken for an authority.
  if (uri.startsWith(QStringLiteral("file://"))) uri = "file:///" + uri.mid(7);
  return uri;
}

namespace {

uint32_t Big32(const unsigned char* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// SQLite's running checksum over a write-ahead log, in the byte order its header names.
void WalChecksum(const unsigned char* data, std::size_t size, bool bigEndian, uint32_t sum[2]) {
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    uint32_t a, b;
    std::memcpy(&a, data + i, 4);
    std::memcpy(&b, data + i + 4, 4);
    if (bigEndian) {
      a = Big32(data + i);
      b = Big32(data + i + 4);
    } else {
      a = le32toh(a);
      b = le32toh(b);
    }
    sum[0] += a + sum[1];
    sum[1] += b + sum[0];
  }
}

struct TWalFrame {
  uint32_t page;
  uint32_t commit;  // the database's size in pages after a commit, 0 inside a transaction
  const unsigned char* data;
};

// The frames SQLite would take in: those whose salt and checksum hold, up to the last commit.
std::vector<TWalFrame> CommittedFrames(const std::string& wal, uint32_t& pageSize) {
  std::vector<TWalFrame> frames;
  const auto* bytes = reinterpret_cast<const unsigned char*>(wal.data());
  if (wal.size() < 32) return frames;
  const uint32_t magic = Big32(bytes);
  pageSize = Big32(bytes + 8);
  if ((magic & ~1u) != 0x377f0682 || Big32(bytes + 4) != 3007000 || pageSize < 512 ||
      pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
    return frames;
  const bool bigEndian = magic & 1;
  uint32_t sum[2] = {0, 0};
  WalChecksum(bytes, 24, bigEndian, sum);
  if (sum[0] != Big32(bytes + 24) || sum[1] != Big32(bytes + 28)) return frames;
  std::size_t committed = 0;
  for (std::size_t at = 32; at + 24 + pageSize <= wal.size(); at += 24 + pageSize) {
    const unsigned char* head = bytes + at;
    if (Big32(head) == 0 || std::memcmp(head + 8, bytes + 16, 8) != 0) break;
    WalChecksum(head, 8, bigEndian, sum);
    WalChecksum(head + 24, pageSize, bigEndian, sum);
    if (sum[0] != Big32(head + 16) || sum[1] != Big32(head + 20)) break;
    frames.push_back({Big32(head), Big32(head + 4), head + 24});
    if (frames.back().commit != 0) committed = frames.size();
  }
  frames.resize(committed);
  return frames;
}

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  // The -wal carries no lock of SQLite's (those are on the file and its -shm), so reading it
  // here lets none go.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return bytes;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
      bytes.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return bytes;
}

// The main file's bytes at offset, read through SQLite's own handle on it.
std::string ReadMain(sqlite3_file* file, int64_t offset, int size) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  sqlite3_int64 length = 0;
  if (!file || file->pMethods->xFileSize(file, &length) != SQLITE_OK || offset + size > length ||
      file->pMethods->xRead(file, bytes.data(), size, offset) != SQLITE_OK)
    return {};
  return bytes;
}

// Whether the committed frames of a -wal carry on from the main file as it lies. SQLite writes
// the first page, with the file's change counter one up, whenever the file grows or frees a
// page; a checkpoint copies a frame's page into the file as it is. A writer that checkpointed
// and began its log afresh (restarted) goes on writing the counter the checkpoint already gave
// the file, while the file only grows. A log with no first page leaves the file's size and
// every page's kind as they are.
bool CarriesOn(sqlite3_file* file, const std::string& page1, const std::vector<TWalFrame>& frames,
               bool restarted) {
  const auto* main = reinterpret_cast<const unsigned char*>(page1.data());
  const std::size_t pageSize = page1.size();
  std::vector<const TWalFrame*> firstPages;
  for (const TWalFrame& frame : frames)
    if (frame.page == 1) firstPages.push_back(&frame);
  if (!firstPages.empty()) {
    const uint32_t identity = Big32(main + 60);  // our own files carry one, made at random
    bool copied = false;
    for (const TWalFrame* frame : firstPages) {
      if (identity != 0 && Big32(frame->data + 60) != identity) return false;
      copied = copied || std::memcmp(frame->data, main, pageSize) == 0;
    }
    const unsigned char* first = firstPages.front()->data;
    const uint32_t counter = Big32(first + 24);
    return copied || counter == Big32(main + 24) + 1 ||
           (restarted && counter == Big32(main + 24) && Big32(first + 28) >= Big32(main + 28));
  }
  sqlite3_int64 length = 0;
  file->pMethods->xFileSize(file, &length);
  const uint32_t size = Big32(main + 92) == Big32(main + 24) && Big32(main + 28) != 0
                            ? Big32(main + 28)
                            : static_cast<uint32_t>(length / static_cast<int64_t>(pageSize));
  std::map<uint32_t, unsigned char> kinds;
  for (const TWalFrame& frame : frames) {
    if (frame.page > size || (frame.commit != 0 && frame.commit != size)) return false;
    if (kinds.count(frame.page) == 0) {
      const std::string kind =
          ReadMain(file, static_cast<int64_t>(frame.page - 1) * static_cast<int64_t>(pageSize), 1);
      if (kind.empty()) return false;
      kinds[frame.page] = static_cast<unsigned char>(kind[0]);
    }
    if (frame.data[0] != kinds[frame.page]) return false;
  }
  return true;
}

struct TLook {
  TBesideFiles beside;
  std::string seen;  // what was read, to tell whether anything changed meanwhile
};

TLook LookBeside(sqlite3_file* file, const std::string& path) {
  TLook look;
  const std::string wal = ReadWhole(path + "-wal");
  const std::string header = ReadMain(file, 0, 100);
  const auto* h = reinterpret_cast<const unsigned char*>(header.data());
  const bool isSqlite = header.size() == 100 && std::memcmp(h, "SQLite format 3", 16) == 0;
  // Bytes 18 and 19 are the file format's write and read versions: 2 for write-ahead logging.
  look.beside.writeAhead = isSqlite && h[18] == 2 && h[19] == 2;
  uint32_t walPageSize = 0;
  const std::vector<TWalFrame> frames = CommittedFrames(wal, walPageSize);
  if (frames.empty()) return look;  // nothing SQLite would take in
  const uint32_t pageSize =
      isSqlite ? (h[16] << 8 | h[17]) == 1 ? 65536u : (h[16] << 8 | h[17]) : 0;
  const std::string page1 =
      pageSize ? ReadMain(file, 0, static_cast<int>(pageSize)) : std::string();
  look.seen = wal.substr(0, 32) + std::to_string(wal.size()) + page1;
  look.beside.walBelongs =
      !page1.empty() && walPageSize == pageSize &&
      CarriesOn(file, page1, frames,
                Big32(reinterpret_cast<const unsigned char*>(wal.data()) + 12) > 0);
  return look;
}

}  // namespace

TBesideFiles CheckBesideFiles(const QSqlDatabase& asItLies, const std::string& path) {
  sqlite3_file* file = nullptr;
  const QVariant handle = asItLies.driver()->handle();
  if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
    if (sqlite3* db = *static_cast<sqlite3* const*>(handle.data()))
      sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file);
  TLook look = LookBeside(file, path);
  // A log that changes while it is read is in use by a connection that has already taken it in
  // as this file's own; only one that stays the same, and does not fit, is refused.
  for (int again = 0; again < 3 && !look.beside.walBelongs; ++again) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    TLook next = LookBeside(file, path);
    if (next.seen != look.seen) next.beside.walBelongs = true;
    look = next;
  }
  if (!look.beside.walBelongs) {
    const std::string name = std::filesystem::path(path).filename().string();
    look.beside.why = "the file " + name +
                      "-wal beside it was written by another database, and "
                      "SQLite would write it into " +
                      name + " and damage it; move " + name + "-wal (and " + name +
                      "-shm, if there is one) into another folder, then "
                      "open " +
                      name + " again";
  }
  return look.beside;
}

void UseLocalJournal(const QSqlDatabase& db, const std::string& path) {
  if (IsNetworkFileSystem(path)) return;
  QSqlQuery query(db);
  query.exec("PRAGMA journal_mode=WAL");
}

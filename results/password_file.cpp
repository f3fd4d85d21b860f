#include "results/password_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "results/server_diagnosis.h"

namespace {

std::string Escaped(const std::string& field) {
  std::string out;
  for (char c : field) {
    if (c == ':' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string TPasswordFile::Path() {
  if (const char* file = std::getenv("PGPASSFILE"); file && *file) return file;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.pgpass";
}

std::string TPasswordFile::Key(const TResultsLocation& location) {
  // libpq matches a socket folder, or no host at all, as "localhost".
  const std::string host =
      location.host.empty() || location.host.front() == '/' ? "localhost" : location.host;
  const std::string port = location.port > 0 ? std::to_string(location.port) : "*";
  return Escaped(host) + ":" + port + ":" + Escaped(location.database) + ":" +
         Escaped(ConnectionLogin(location)) + ":";
}

bool TPasswordFile::Store(const TResultsLocation& location, std::string& why) {
  // The file holds one line a server and cannot hold a line break; libpq reads no other
  // control character back as it was typed either.
  for (unsigned char c : location.password) {
    if (c < 0x20 || c == 0x7F) {
      why = "a password with a line break or another control character cannot be kept in " + Path();
      return false;
    }
  }
  const std::string path = Path();
  const std::string key = Key(location);
  // Ours goes first: libpq takes the first line that matches, and an older one for the same
  // server, or one with wildcards, must not win over the password just given.
  std::string kept = key + Escaped(location.password) + "\n";
  {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
      if (line.rfind(key, 0) != 0) kept += line + "\n";
  }
  // Written beside and renamed, created 0600 so that no moment shows the password to others.
  const std::string temporary = path + ".tarvolin-new";
  unlink(temporary.c_str());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    why = path + " cannot be written: " + std::strerror(errno);
    return false;
  }
  const bool ok = fchmod(fd, 0600) == 0 && WriteAll(fd, kept) && fsync(fd) == 0;
  const int err = errno;
  close(fd);
  if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
    why = path + " cannot be written: " + std::strerror(ok ? errno : err);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

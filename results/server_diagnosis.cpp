#include "results/server_diagnosis.h"

#include <libpq-fe.h>
#include <poll.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>

namespace {

std::string Parameter(const TResultsLocation& location, const std::string& key) {
  for (const auto& [name, value] : location.parameters)
    if (name == key) return value;
  return {};
}

// The server's code from a verbose message ("FATAL:  28P01: ..."): five digits and capitals
// with at least one digit, which tells it from the severity word before it. The last one
// counts, as libpq tells every address it tried.
std::string SqlStateOf(const std::string& message) {
  std::string found;
  for (std::size_t at = message.find(": "); at != std::string::npos;
       at = message.find(": ", at + 1)) {
    if (at < 5) continue;
    const std::string code = message.substr(at - 5, 5);
    bool digit = false, valid = at == 5 || message[at - 6] == ' ';
    for (char c : code) {
      digit = digit || (c >= '0' && c <= '9');
      valid = valid && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'));
    }
    if (valid && digit) found = code;
  }
  return found;
}

// libpq's text without the lines a verbose message adds for the server's developers.
std::string Details(const char* message) {
  std::string kept;
  std::string text = message ? message : "";
  std::size_t begin = 0;
  while (begin < text.size()) {
    const auto end = text.find('\n', begin);
    const std::string line =
        text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (line.rfind("LOCATION:", 0) != 0) kept += line + "\n";
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return OneLine(kept);
}

bool NeedsCertificateFile(const std::string& sslmode) {
  return sslmode == "verify-ca" || sslmode == "verify-full";
}

// The CA file libpq reads for a checked connection: the address's, else ~/.postgresql/root.crt
// of the account (libpq looks in the account's home, whatever HOME says).
std::string CertificateFile(const TResultsLocation& location) {
  if (std::string file = Parameter(location, "sslrootcert"); !file.empty()) return file;
  const passwd* entry = getpwuid(getuid());
  return std::string(entry ? entry->pw_dir : "~") + "/.postgresql/root.crt";
}

TServerProblem FromSqlState(const std::string& state, PGconn* conn) {
  if (state == "28P01")
    return PQconnectionUsedPassword(conn) ? TServerProblem::PasswordRefused
                                          : TServerProblem::PasswordNeeded;
  if (state == "28000") return TServerProblem::NoSuchLogin;
  if (state == "3D000") return TServerProblem::NoSuchDatabase;
  if (state == "42501") return TServerProblem::NotInClass;
  if (state == "53300") return TServerProblem::TooManyConnections;
  // 57P01 to 57P03: shutting down, crashed and restarting, not yet taking connections.
  if (state.rfind("57P", 0) == 0) return TServerProblem::Starting;
  return TServerProblem::Refused;
}

}  // namespace

std::string ConnectionLogin(const TResultsLocation& location) {
  if (!location.user.empty()) return location.user;
  if (const passwd* entry = getpwuid(getuid())) return entry->pw_name;
  return "this account";
}

bool IsPasswordProblem(TServerProblem problem) {
  return problem == TServerProblem::PasswordNeeded || problem == TServerProblem::PasswordRefused;
}

TServerAttempt TryServer(const TResultsLocation& location, int timeoutSeconds) {
  TServerAttempt attempt;
  const std::string given = Parameter(location, "connect_timeout");
  const int seconds =
      !given.empty() && std::atoi(given.c_str()) > 0 ? std::atoi(given.c_str()) : timeoutSeconds;
  const std::unique_ptr<PGconn, decltype(&PQfinish)> conn(
      PQconnectStart(location.ConnectionString().c_str()), &PQfinish);
  if (!conn) return {TServerProblem::Refused, {}, "out of memory"};
  // The server's code comes only in a verbose message.
  PQsetErrorVerbosity(conn.get(), PQERRORS_VERBOSE);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  bool reached = false;  // something at the address took the connection
  bool timedOut = false;
  PostgresPollingStatusType state =
      PQstatus(conn.get()) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
  while (state == PGRES_POLLING_READING || state == PGRES_POLLING_WRITING) {
    const ConnStatusType status = PQstatus(conn.get());
    reached = reached || (status != CONNECTION_STARTED && status != CONNECTION_BAD);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    pollfd wait{PQsocket(conn.get()),
                static_cast<short>(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
    const int ready = left > 0 ? poll(&wait, 1, static_cast<int>(left)) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      timedOut = true;
      break;
    }
    state = PQconnectPoll(conn.get());
  }
  if (state == PGRES_POLLING_OK) return attempt;
  attempt.details = timedOut ? "no answer within " + std::to_string(seconds) + " seconds"
                             : Details(PQerrorMessage(conn.get()));
  attempt.sqlState = SqlStateOf(PQerrorMessage(conn.get()));
  const std::string sslmode = Parameter(location, "sslmode");
  if (!attempt.sqlState.empty())
    attempt.problem = FromSqlState(attempt.sqlState, conn.get());
  else if (PQconnectionNeedsPassword(conn.get()))
    attempt.problem = TServerProblem::PasswordNeeded;
  else if (NeedsCertificateFile(sslmode) && access(CertificateFile(location).c_str(), R_OK) != 0)
    attempt.problem = TServerProblem::CaFileUnreadable;
  else if (reached && !timedOut && (sslmode == "require" || NeedsCertificateFile(sslmode)))
    attempt.problem = TServerProblem::Certificate;
  else
    attempt.problem = reached || timedOut ? TServerProblem::NoAnswer : TServerProblem::NotRunning;
  return attempt;
}

std::string ServerProblemText(TServerProblem problem, const TResultsLocation& location,
                              const std::string& passwordHint, bool atStart) {
  const std::string the = atStart ? "The" : "the";
  const std::string at = the + " class server at " + location.HostAndPort();
  const std::string login = ConnectionLogin(location);
  switch (problem) {
    case TServerProblem::None:
      return {};
    case TServerProblem::NotRunning:
      return at + " is not running";
    case TServerProblem::NoAnswer:
      return at + " does not answer";
    case TServerProblem::Starting:
      return at + " is starting up or shutting down";
    case TServerProblem::TooManyConnections:
      return at + " takes no more connections just now";
    case TServerProblem::CaFileUnreadable:
      return the + " certificate file " + CertificateFile(location) +
             ", which the address's sslmode needs to check the class server, cannot be read";
    case TServerProblem::Certificate:
      return at +
             " answers, but not with a certificate this computer is told to trust (the "
             "address's sslmode); your teacher can tell which certificate to use";
    case TServerProblem::PasswordNeeded:
      return the + " class server needs a password for " + login + "; " + passwordHint;
    case TServerProblem::PasswordRefused:
      return the + " class server refused the password for " + login;
    case TServerProblem::NoSuchLogin:
      return at + " does not let the login " + login +
             " in: it has no such login, or does not take it from this computer";
    case TServerProblem::NotInClass:
      return the + " login " + login + " is not in the class " + location.database + " at " +
             location.HostAndPort() +
             "; the class's teacher or the server's administrator adds it with tarvolin-class";
    case TServerProblem::NoSuchDatabase:
      return at + " has no class " + location.database + " (no database of that name)";
    case TServerProblem::Refused:
      break;
  }
  return at + " turned down the login " + login + " to the database " + location.database;
}

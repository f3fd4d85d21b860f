#include "results/server_diagnosis.h"

#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace {

bool Answers(const std::string& connection) {
  return PQping(connection.c_str()) == PQPING_OK;
}

std::string WithoutCertificateCheck(const TResultsLocation& location) {
  TResultsLocation plain = location;
  std::erase_if(plain.parameters, [](const auto& p) { return p.first.rfind("ssl", 0) == 0; });
  plain.parameters.emplace_back("sslmode", "prefer");
  return plain.ConnectionString() + " connect_timeout=3";
}

}  // namespace

std::string ConnectionLogin(const TResultsLocation& location) {
  if (!location.user.empty()) return location.user;
  if (const passwd* entry = getpwuid(getuid())) return entry->pw_name;
  return "this account";
}

TServerProblem DiagnoseServer(const TResultsLocation& location) {
  const std::string connection = location.ConnectionString() + " connect_timeout=3";
  if (!Answers(connection)) {
    // Only an address that asks for a checked connection can fail for its certificate.
    const bool checked = std::any_of(location.parameters.begin(), location.parameters.end(),
                                     [](const auto& p) { return p.first.rfind("ssl", 0) == 0; });
    return checked && Answers(WithoutCertificateCheck(location)) ? TServerProblem::Certificate
                                                                 : TServerProblem::NoAnswer;
  }
  const std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(connection.c_str()),
                                                          &PQfinish);
  if (!conn || PQstatus(conn.get()) == CONNECTION_OK) return TServerProblem::Refused;
  if (PQconnectionNeedsPassword(conn.get())) return TServerProblem::PasswordNeeded;
  if (PQconnectionUsedPassword(conn.get())) return TServerProblem::PasswordRefused;
  return TServerProblem::Refused;
}

std::string ServerProblemText(TServerProblem problem, const TResultsLocation& location) {
  const std::string at = "The class server at " + location.HostAndPort();
  const std::string login = ConnectionLogin(location);
  switch (problem) {
    case TServerProblem::NoAnswer:
      return at + " does not answer";
    case TServerProblem::Certificate:
      return at + " answers, but not with a certificate this computer is told to trust (the "
                  "address's sslmode); your teacher can tell which certificate to use";
    case TServerProblem::PasswordNeeded:
      return "The class server needs a password for " + login +
             "; type it into the Class server address in the results window";
    case TServerProblem::PasswordRefused:
      return "The class server refused the password for " + login;
    case TServerProblem::Refused:
      break;
  }
  return at + " turned down the login " + login + " or the database " + location.database;
}

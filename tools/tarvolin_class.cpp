// tarvolin-class: makes a PostgreSQL database ready to be a class server for Tarvolin, and
// adds the logins of students and teachers to it.
//   tarvolin-class setup ADDRESS
//   tarvolin-class add-student ADDRESS LOGIN [--password-stdin | --existing]
//   tarvolin-class add-teacher ADDRESS LOGIN [--password-stdin | --existing]
// Exits 0 with one summary line on success; a refusal says why and exits 1 (2 for a command
// line that cannot be read).
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "results/class_setup.h"

#if __has_include("tarvolin_version.h")
#include "tarvolin_version.h"
#else
inline constexpr const char* kTarvolinVersion = "unknown";
#endif

namespace {

constexpr const char* kUsage =
    "Usage: tarvolin-class setup ADDRESS\n"
    "       tarvolin-class add-student ADDRESS LOGIN [--password-stdin | --existing]\n"
    "       tarvolin-class add-teacher ADDRESS LOGIN [--password-stdin | --existing]\n"
    "ADDRESS is postgresql://user@host[:port]/dbname; the database is the class. setup, run by\n"
    "the server's administrator, makes the tables and the class's two groups and is safe to run\n"
    "again. add-student and add-teacher make a login in that group, with the password read from\n"
    "standard input when --password-stdin is given (else without one); only the administrator\n"
    "makes logins. --existing adds a login that exists as it is, its password unchanged: a\n"
    "teacher adds existing logins to her class's students this way. The password of the login\n"
    "in ADDRESS is read from ~/.pgpass.\n";

int Refuse(const std::string& why) {
  std::fprintf(stderr, "tarvolin-class: %s.\n", why.c_str());
  return 1;
}

int Usage(const std::string& why) {
  std::fprintf(stderr, "tarvolin-class: %s\n%s", why.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("tarvolin-class %s\n", kTarvolinVersion);
    return 0;
  }
  bool passwordStdin = false;
  bool existing = false;
  std::erase_if(args, [&](const std::string& arg) {
    if (arg == "--password-stdin") return passwordStdin = true;
    if (arg == "--existing") return existing = true;
    return false;
  });
  for (const std::string& arg : args)
    if (arg.rfind("--", 0) == 0) return Usage("\"" + arg + "\" is not an option");
  if (args.empty()) return Usage("no command given");
  const std::string& command = args[0];
  const bool add = command == "add-student" || command == "add-teacher";
  if (command != "setup" && !add) return Usage("\"" + command + "\" is not a command");
  if (args.size() != (add ? 3u : 2u))
    return Usage(command + " takes " + (add ? "an address and a login" : "an address"));
  if ((passwordStdin || existing) && !add)
    return Usage(std::string(passwordStdin ? "--password-stdin" : "--existing") +
                 " goes with add-student or add-teacher");
  if (passwordStdin && existing)
    return Usage(
        "--password-stdin and --existing do not go together: an existing login keeps its "
        "password");

  TResultsLocation location;
  std::string why;
  if (!TResultsLocation::Parse(args[1], location, &why))
    return Refuse(why.substr(0, why.size() - 1));
  if (!location.server)
    return Refuse("\"" + TResultsLocation::WithoutPassword(args[1]) +
                  "\" is not a postgresql:// address");
  std::string password;
  if (passwordStdin) {
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    if (password.empty()) return Refuse("No password was given on standard input");
  }
  TClassSetup setup;
  if (!setup.Connect(location)) return Refuse(setup.Error());
  bool ok = false;
  if (command == "setup")
    ok = setup.Setup();
  else
    ok = setup.AddLogin(
        args[2],
        command == "add-student" ? TClassSetup::TGroup::Students : TClassSetup::TGroup::Teachers,
        passwordStdin ? &password : nullptr, existing);
  if (!ok) return Refuse(setup.Error());
  std::printf("%s\n", setup.Summary().c_str());
  return 0;
}

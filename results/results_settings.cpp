#include "results/results_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <QtGlobal>

#include "results/password_file.h"

namespace {

constexpr const char* kStudentKey = "results/studentName";
constexpr const char* kServerKey = "results/server";

}  // namespace

TResultsSettings::TResultsSettings() : settings_("Tarvolin", "Tarvolin") {}

QString TResultsSettings::StudentName() const {
  return settings_.value(kStudentKey).toString().trimmed();
}

void TResultsSettings::SetStudentName(const QString& name) {
  settings_.setValue(kStudentKey, name.trimmed());
  settings_.sync();
}

QString TResultsSettings::Server() const {
  return settings_.value(kServerKey).toString().trimmed();
}

bool TResultsSettings::SetServer(const QString& address, std::string* why) {
  const std::string text = address.trimmed().toStdString();
  TResultsLocation location;
  std::string reason;
  if (!text.empty() && !TResultsLocation::Parse(text, location, &reason)) {
    if (why) *why = reason;
    return false;
  }
  if (location.server && !location.password.empty() && !TPasswordFile::Store(location, reason)) {
    if (why) *why = "The password was not kept: " + reason + ".";
    return false;
  }
  settings_.setValue(kServerKey,
                     text.empty() ? QString() : QString::fromStdString(location.Address()));
  settings_.sync();
  return true;
}

void TResultsSettings::MovePasswordOut() {
  const QString kept = Server();
  TResultsLocation location;
  if (kept.isEmpty() || !TResultsLocation::Parse(kept.toStdString(), location) ||
      !location.server || location.password.empty())
    return;
  // Left in place when the password file cannot be written, so that the class still works.
  SetServer(kept);
}

bool TResultsSettings::SetByEnvironment() {
  return !EnvironmentAddress().isEmpty();
}

QString TResultsSettings::EnvironmentAddress() {
  return qEnvironmentVariable(TResultsLocation::kEnvironment).trimmed();
}

QString TResultsSettings::Student() const {
  if (QString name = StudentName(); !name.isEmpty()) return name;
  if (QString name = FullName(); !name.isEmpty()) return name;
  return LoginName();
}

QString TResultsSettings::LoginName() {
  if (const passwd* entry = getpwuid(getuid())) return QString::fromLocal8Bit(entry->pw_name);
  return qEnvironmentVariable("USER");
}

QString TResultsSettings::FullName() {
  const passwd* entry = getpwuid(getuid());
  if (!entry || !entry->pw_gecos) return {};
  // The comment field holds the full name, then office and telephone after commas.
  return QString::fromLocal8Bit(entry->pw_gecos).section(',', 0, 0).trimmed();
}

bool TResultsSettings::Location(TResultsLocation& location, std::string* why) const {
  const bool fromEnvironment = SetByEnvironment();
  const QString text = fromEnvironment ? EnvironmentAddress() : Server();
  location = TResultsLocation();
  if (text.isEmpty()) return true;
  std::string reason;
  const std::string where =
      fromEnvironment ? "in TARVOLIN_RESULTS" : "in the results window's Class server field";
  if (TResultsLocation::Parse(text.toStdString(), location, &reason, where)) return true;
  location = TResultsLocation();
  if (!reason.empty() && reason.back() == '.') reason.pop_back();
  if (why) *why = reason;
  return false;
}

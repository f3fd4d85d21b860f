#include "results/results_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <QtGlobal>

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

void TResultsSettings::SetServer(const QString& address) {
  settings_.setValue(kServerKey, address.trimmed());
  settings_.sync();
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

bool TResultsSettings::Location(TResultsLocation& location) const {
  QString text = qEnvironmentVariable(TResultsLocation::kEnvironment).trimmed();
  if (text.isEmpty()) text = Server();
  location = TResultsLocation();
  if (text.isEmpty()) return true;
  return TResultsLocation::Parse(text.toStdString(), location);
}

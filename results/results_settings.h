#pragma once
#include <QSettings>
#include <QString>

#include "results/results_location.h"

// The account's results settings: the name recorded for the answers (for shared lab accounts)
// and the class server. Kept with the account's other Qt settings.
class TResultsSettings {
 public:
  TResultsSettings();

  // The "Student name" set on this account; empty when none is.
  QString StudentName() const;
  void SetStudentName(const QString& name);
  // A postgresql:// address without its password, or empty for the working folder's file.
  QString Server() const;
  // Keeps the address; a password in it goes to the account's password file instead, never
  // into the settings. False, with why for the user, when the address cannot be read or the
  // password cannot be kept (then nothing is changed).
  bool SetServer(const QString& address, std::string* why = nullptr);
  // A password kept in the settings by an earlier version is moved to the password file.
  void MovePasswordOut();
  // Whether TARVOLIN_RESULTS decides where the results go (then the setting is not used).
  static bool SetByEnvironment();
  static QString EnvironmentAddress();

  // Who answers: the name set here, else the account's full name, else its login name.
  QString Student() const;
  static QString LoginName();
  static QString FullName();

  // TARVOLIN_RESULTS when set, else the server setting, else tarvolin-results.db; false (with
  // the default file in location, and why for the user) when the address cannot be read.
  bool Location(TResultsLocation& location, std::string* why = nullptr) const;

 private:
  mutable QSettings settings_;
};

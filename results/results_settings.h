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
  // A postgresql:// address, or empty for the working folder's file.
  QString Server() const;
  void SetServer(const QString& address);

  // Who answers: the name set here, else the account's full name, else its login name.
  QString Student() const;
  static QString LoginName();
  static QString FullName();

  // TARVOLIN_RESULTS when set, else the server setting, else tarvolin-results.db; false (with
  // the default file in location) when the address given cannot be read.
  bool Location(TResultsLocation& location) const;

 private:
  mutable QSettings settings_;
};

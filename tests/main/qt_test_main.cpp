#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Window tests run without a display unless one is asked for explicitly.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A home, settings, data and working folder of the program's own, so that no test reads or
  // writes the account's settings, its password file, its waiting answers or a class server
  // it names.
  QTemporaryDir home(QDir::tempPath() + "/tarvolin-test-home-XXXXXX");
  if (!home.isValid()) return 1;
  for (const char* folder : {"config", "data", "cache", "work"}) QDir(home.path()).mkpath(folder);
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
  for (const char* name : {"TARVOLIN_RESULTS", "PGPASSFILE", "PGHOST", "PGPORT", "PGUSER",
                           "PGDATABASE", "PGPASSWORD", "PGSERVICE", "PGSSLMODE"})
    qunsetenv(name);
  QDir::setCurrent(home.path() + "/work");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

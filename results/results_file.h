#pragma once
#include <QSqlDatabase>
#include <string>

// A new results file is made whole under a name of its own beside path (made here, returned in
// temp) and only then given its name by PublishResultsFile, so that whoever opens it first finds
// its tables and its journal mode already there. Its mode is ours to choose: in a folder a lab's
// accounts share (group-writable and setgid, as a lab sets one up) it is group-writable whatever
// the umask, and SQLite gives its journal files the file's own mode. False, with why, when no
// file can be made.
bool PrepareResultsFile(const std::string& path, std::string& temp, std::string& why);
// Gives the finished file temp the name path unless another program made that file meanwhile
// (then theirs is kept), and removes temp. False, with why, when neither is there after.
bool PublishResultsFile(const std::string& temp, const std::string& path, std::string& why);

// Why SQLite should not be given path: it is there but not a regular file (a folder, or a FIFO
// that would hold the open up); empty when it is a file or is not there.
std::string NotARegularFile(const std::string& path);

// path as a SQLite URI ("file:..."), its characters that mean something in a URI escaped.
QString SqliteUri(const std::string& path);

// What SQLite would take in from beside a results file. asItLies is a connection that reads the
// file alone (immutable=1): its first page is read through it, so that no lock another connection
// of this program holds on the file is let go by a close of ours. The -wal is read as bytes.
struct TBesideFiles {
  bool writeAhead = false;  // the file's header asks for write-ahead logging
  bool walBelongs = true;   // no -wal with anything in it, or one this file's own
  std::string why;          // when it does not belong: what is wrong and what to do
};
TBesideFiles CheckBesideFiles(const QSqlDatabase& asItLies, const std::string& path);

// Write-ahead logging, so that readers never hold writers off, where the file lies on a local
// disk; on a network file system, where it does not work, the rollback journal stays.
void UseLocalJournal(const QSqlDatabase& db, const std::string& path);

// Whether this account may make files in the file's folder (SQLite's journals need it).
bool IsFolderWritable(const std::string& path);

// Whether the file's folder is one a group shares for writing.
bool IsSharedFolder(const std::string& path);

#pragma once
#include <QSqlDatabase>
#include <string>

// A results file is made before SQLite opens it, so that its mode is ours to choose: in a
// folder a lab's accounts share (group-writable and setgid, as a lab sets one up) it is
// group-writable whatever the umask, and SQLite gives its journal files the file's own mode.
// An existing file is left as it is. False, with why, when the file cannot be made.
bool PrepareResultsFile(const std::string& path, std::string& why);

// Write-ahead logging, so that readers never hold writers off, where the file lies on a local
// disk; on a network file system, where it does not work, the rollback journal stays.
void UseLocalJournal(const QSqlDatabase& db, const std::string& path);

// Whether this account may make files in the file's folder (SQLite's journals need it).
bool IsFolderWritable(const std::string& path);
// Whether the file is a SQLite file in write-ahead logging mode (its header says so).
bool IsWriteAheadFile(const std::string& path);

// Whether the file's folder is one a group shares for writing.
bool IsSharedFolder(const std::string& path);

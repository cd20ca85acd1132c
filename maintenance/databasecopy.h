#pragma once
#include <QString>
#include <functional>

class Connection;

// Copies of the database go through the engine, never as the bytes of a file a connection
// holds. Each routine gives an empty text on success, else the reason in the user's words,
// and leaves every file it did not finish as it was. Names starting with "." are the
// routines' unfinished files, which no list shows.

// Writes an encrypted copy of the live database, keyed like it, under a temporary name beside
// target; checks it (opened with the key, integrity "ok", the program's tables) and only then
// renames it over target. The live connection stays open throughout. progress gets 0..100.
QString BackupDatabase(Connection &live, const QString &target, const std::function<void(int)> &progress = {});

// Puts the file source in place of the live database. The source is checked first; with
// backupFirst set, the live database is first backed up there (never over source) and
// nothing is restored when that fails. A checked copy of the source is made in the live
// file's folder, flushed, and renamed over the live file while the connection is closed and
// held; the connection is then opened exclusively again (bringing an older file up to the
// schema). If that fails the old file is put back.
QString RestoreDatabase(Connection &live, const QString &source, const QString &backupFirst = QString());

// Compacts a database file with the engine's VACUUM after the same checks: the live database
// on its own connection, any other file on a connection of its own with the program's key.
QString CompactDatabase(Connection &live, const QString &path);

// Whether two paths name the same file (or, for a file not there yet, the same place).
bool SameFile(const QString &a, const QString &b);

#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class Connection;

// Whether an open database is whole and one of this program's: the engine's integrity check
// says "ok", and every table it must hold is there with columns the program reads by
// position. An older file may lack tables and columns added since (always at a table's end);
// the exclusive open adds them. Empty when it is; else the reason, in the user's words.
QString CheckDatabase(Connection &conn);

// The same for a file, opened read-only with the program's key, so it stays byte for byte
// as it was whatever the outcome.
QString CheckDatabaseFile(const QString &path);

// How many of a table's columns every file since the first release holds; 0 for a table
// added since.
int FirstReleaseColumns(const QString &table);

// The schema part alone, on each table's present column names (empty when the table is absent).
QString CheckSchemaColumns(const std::function<QStringList(const QString &table)> &columnsOf);

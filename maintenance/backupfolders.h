#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// The backup folder tree: a folder per day named by the date, holding the copies (.mdb files).

// The day folder's name: the short date text, always one folder name.
QString DayFolderName(const QDate &date);
// The name an on-demand copy starts with: the long time text with "-" for ":", then ".mdb".
QString TimeFileName(const QTime &time);

// The day folders of a backup folder, newest first (their names are dates).
QStringList DayFolders(const QString &backupFolder);
// The copies in a day folder, newest first by the time they were written.
QStringList Copies(const QString &dayFolder);

// The typed file name of a copy as it is used, ".mdb" added when missing; empty, with the
// reason in problem, when it is not a plain file name of its own.
QString BackupFileName(const QString &typed, QString &problem);

// Makes the backup folder and the date's day folder inside it when missing, one level each;
// gives the day folder, or empty with the reason in problem.
QString MakeDayFolder(const QString &backupFolder, const QDate &date, QString &problem);

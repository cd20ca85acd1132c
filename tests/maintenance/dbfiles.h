#pragma once
// Looking at database files from outside the program, as a test must.
#include "datalayer/connection.h"
#include "datalayer/query.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QStringList>
#include <sqlite3.h>

namespace dbfiles {

inline QByteArray Digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// The first column of the first row of a statement on the file, opened with the program's key.
inline QString Scalar(const QString &path, const QString &sql)
{
    Connection c(QStringLiteral("look"));
    c.SetDatabase(path);
    c.SetReadOnly(true);
    Query q(&c, QStringLiteral("look"));
    q.SetSQL(sql);
    q.Open();
    return q.IsEmpty() ? QString() : q.Fields(0).AsString();
}

// Runs SQLite statements on a file made for the test; key empty makes a plain, unencrypted file.
inline bool MakeFile(const QString &path, const QStringList &statements, const QString &key = kDatabasePassword)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    QStringList all = statements;
    if (!key.isEmpty())
        all.prepend(QStringLiteral("PRAGMA key = '%1'").arg(key));
    bool ok = true;
    for (const QString &s : all)
        ok = ok && sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Whether a reader without the key gets anything out of the file.
inline bool PlainReaderOpens(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const bool read = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return read || f.read(16).startsWith("SQLite format 3");
}

} // namespace dbfiles

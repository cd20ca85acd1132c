#include "datalayer/connection.h"

#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/schema.h"

#include <QFile>
#include <sqlite3.h>

namespace {
QString quoteKey(const QString &password)
{
    QString q = password;
    q.replace('\'', "''");
    return '\'' + q + '\'';
}

void execOn(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        QString text = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_free(err);
        throw DbError(text);
    }
}

// Opens, keys and checks the file; gives an open handle or throws the engine's text.
sqlite3 *openKeyed(const QString &path, const QString &password, int flags)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw DbError(text);
    }
    try {
        execOn(db, "PRAGMA key = " + quoteKey(password));
        execOn(db, "PRAGMA foreign_keys = OFF");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    return db;
}

QStringList columnsOf(sqlite3 *db, const QString &table)
{
    QStringList names;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = ("PRAGMA table_info(\"" + table + "\")").toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
    const int rc = sqlite3_finalize(stmt);
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errstr(rc)));
    return names;
}

// Brings an older file (a backup, a database from before a column was added) up to the
// schema; the caller holds the write transaction.
void upgradeSchema(sqlite3 *db)
{
    for (const QString &statement : SchemaUpgradeStatements([db](const QString &t) { return columnsOf(db, t); }))
        execOn(db, statement);
}
} // namespace

Connection::Connection(const QString &name) : m_name(name) {}

Connection::~Connection()
{
    Close();
}

void Connection::Open()
{
    if (m_db)
        return;
    if (m_held)
        throw DbError(kConnectionHeldText);
    if (m_path.isEmpty())
        throw DbError(QStringLiteral("unable to open database file"));
    // Never create the file: a missing database is the engine's error, not a new empty one.
    sqlite3 *db = openKeyed(m_path, m_password,
                            (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX);
    try {
        execOn(db, "PRAGMA journal_mode = DELETE");
        execOn(db, "PRAGMA synchronous = FULL");
        if (m_exclusive) {
            execOn(db, "PRAGMA locking_mode = EXCLUSIVE");
            // A first write transaction takes the exclusive lock, which this mode never gives back.
            execOn(db, "BEGIN EXCLUSIVE");
            try {
                upgradeSchema(db);
            } catch (...) {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                throw;
            }
            execOn(db, "COMMIT");
        } else {
            // Reading the schema is what reveals a wrong password or a locked file.
            execOn(db, "SELECT count(*) FROM sqlite_master");
        }
    } catch (const DbError &e) {
        sqlite3_close(db);
        m_lastError = e.text();
        throw;
    }
    m_db = db;
}

void Connection::Close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

sqlite3 *Connection::Handle()
{
    EnsureOpen();
    return m_db;
}

void Connection::fail(const QString &text)
{
    m_lastError = text;
    throw DbError(text);
}

void Connection::ExecuteNative(const QString &sql)
{
    sqlite3 *db = Handle();
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = utf8.constData();
    // Runs the text statement by statement; rows a statement gives are read and dropped.
    while (tail && *tail) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, tail, -1, &stmt, &tail) != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(db)));
        if (!stmt)
            continue; // blanks or a comment
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(db)));
    }
}

void Connection::Execute(const QString &sql)
{
    sqlite3 *db = Handle();
    const QByteArray utf8 = TranslateSql(sql).toUtf8();
    const char *tail = nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, &tail) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    if (!stmt)
        fail(QStringLiteral("empty statement"));
    // A second statement behind the first is refused before anything runs; blanks,
    // semicolons and comments after it are fine.
    for (const char *p = tail; p && *p;) {
        sqlite3_stmt *next = nullptr;
        const char *rest = nullptr;
        const bool parsed = sqlite3_prepare_v2(db, p, -1, &next, &rest) == SQLITE_OK;
        sqlite3_finalize(next);
        if (!parsed || next) {
            sqlite3_finalize(stmt);
            fail(QStringLiteral("only one statement may be run at a time"));
        }
        if (rest == p)
            break;
        p = rest;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
}

int Connection::RowsAffected() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

void Connection::BeginTransaction()
{
    ExecuteNative("BEGIN IMMEDIATE");
}

void Connection::Commit()
{
    ExecuteNative("COMMIT");
}

void Connection::Rollback()
{
    if (InTransaction())
        ExecuteNative("ROLLBACK");
}

bool Connection::InTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

QString Connection::EngineError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : m_lastError;
}

void CreateDatabaseFile(const QString &path, const QString &password)
{
    if (QFile::exists(path))
        throw DbError(QStringLiteral("database file already exists: ") + path);
    sqlite3 *db = openKeyed(path, password, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        execOn(db, "BEGIN");
        for (const QString &statement : SchemaStatements())
            execOn(db, statement);
        execOn(db, "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(path);
        throw;
    }
    sqlite3_close(db);
}

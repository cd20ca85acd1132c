#include "datalayer/odbcconnection.h"

#include "datalayer/dberror.h"

#include <QStringList>

#include <sql.h>
#include <sqlext.h>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text must be UTF-16");

namespace {

const SQLWCHAR *wide(const QString &text)
{
    return reinterpret_cast<const SQLWCHAR *>(text.utf16());
}

// Every diagnostic record of the handle, as "[state] message" lines.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QStringList lines;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, message, SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        const qsizetype n = qMin<qsizetype>(length, qsizetype(std::size(message)) - 1);
        lines << QStringLiteral("[%1] %2")
                     .arg(QString::fromUtf16(reinterpret_cast<const char16_t *>(state), 5),
                          QString::fromUtf16(reinterpret_cast<const char16_t *>(message), n).simplified());
    }
    return lines.isEmpty() ? QStringLiteral("ODBC error") : lines.join('\n');
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle)
{
    if (!SQL_SUCCEEDED(rc))
        throw DbError(diagnostics(type, handle));
}

bool isBinary(SQLSMALLINT type)
{
    return type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;
}

} // namespace

OdbcConnection::OdbcConnection(const QString &name) : m_name(name) {}

OdbcConnection::~OdbcConnection()
{
    Close();
}

void OdbcConnection::Open(const QString &connectionString, int loginTimeout)
{
    Close();
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        throw DbError(m_name + QStringLiteral(": the ODBC driver manager cannot be used"));
    m_env = env;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC dbc = SQL_NULL_HDBC;
    check(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc), SQL_HANDLE_ENV, env);
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(loginTimeout)), 0);
    SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(loginTimeout)), 0);
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, const_cast<SQLWCHAR *>(wide(connectionString)), SQL_NTS,
                                           nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const QString reason = diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        Close();
        throw DbError(reason);
    }
    m_dbc = dbc;
}

void OdbcConnection::Close()
{
    if (m_dbc) {
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = nullptr;
    }
    if (m_env) {
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        m_env = nullptr;
    }
}

OdbcQuery::OdbcQuery(OdbcConnection *connection, const QString &name) : m_connection(connection), m_name(name) {}

OdbcQuery::~OdbcQuery() = default;

void OdbcQuery::Close()
{
    m_active = false;
    m_names.clear();
    m_rows.clear();
    m_cancelled = false;
}

void OdbcQuery::Cancel()
{
    m_cancelled = true;
    std::lock_guard<std::mutex> lock(m_statementLock);
    if (m_statement)
        SQLCancel(m_statement);
}

void OdbcQuery::Open(int queryTimeout)
{
    if (m_active)
        return;
    if (!m_connection || !m_connection->Connected())
        throw DbError(m_name + QStringLiteral(": the remote connection is not open"));
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection->Handle(), &stmt), SQL_HANDLE_DBC, m_connection->Handle());
    {
        std::lock_guard<std::mutex> lock(m_statementLock);
        m_statement = stmt;
    }
    SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(queryTimeout)), 0);
    try {
        read(stmt);
    } catch (const DbError &) {
        m_names.clear();
        m_rows.clear();
        std::lock_guard<std::mutex> lock(m_statementLock);
        m_statement = nullptr;
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        throw;
    }
    std::lock_guard<std::mutex> lock(m_statementLock);
    m_statement = nullptr;
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    m_active = true;
}

void OdbcQuery::read(void *handle)
{
    const SQLHSTMT stmt = handle;
    const auto stopIfCancelled = [this] {
        if (m_cancelled)
            throw DbError(m_name + QStringLiteral(": cancelled"));
    };
    stopIfCancelled();
    check(SQLExecDirectW(stmt, const_cast<SQLWCHAR *>(wide(m_sql)), SQL_NTS), SQL_HANDLE_STMT, stmt);
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt);
    std::vector<bool> binary;
    for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeColW(stmt, c, name, SQLSMALLINT(std::size(name)), &length, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, stmt);
        m_names.push_back(QString::fromUtf16(reinterpret_cast<const char16_t *>(name),
                                             qMin<qsizetype>(length, qsizetype(std::size(name)) - 1)));
        binary.push_back(isBinary(type));
    }

    std::vector<char> buffer(64 * 1024);
    const SQLLEN capacity = SQLLEN(buffer.size());
    for (;;) {
        stopIfCancelled();
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, SQL_HANDLE_STMT, stmt);
        std::vector<QVariant> row;
        row.reserve(size_t(columns));
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            // Long values come in pieces: each call gives what the buffer holds, until SQL_SUCCESS.
            const bool bytes = binary[c - 1];
            QByteArray raw;
            bool null = false;
            for (;;) {
                SQLLEN indicator = 0;
                const SQLRETURN got = SQLGetData(stmt, c, bytes ? SQL_C_BINARY : SQL_C_WCHAR, buffer.data(), capacity, &indicator);
                if (got == SQL_NO_DATA)
                    break;
                check(got, SQL_HANDLE_STMT, stmt);
                if (indicator == SQL_NULL_DATA) {
                    null = true;
                    break;
                }
                // A wide text piece ends in a terminator that the buffer also has to hold.
                const SQLLEN room = bytes ? capacity : capacity - SQLLEN(sizeof(SQLWCHAR));
                const SQLLEN piece = (indicator == SQL_NO_TOTAL || indicator > room) ? room : indicator;
                raw.append(buffer.data(), qsizetype(piece));
                if (got == SQL_SUCCESS)
                    break;
            }
            if (null)
                row.emplace_back();
            else if (bytes)
                row.emplace_back(raw);
            else
                row.emplace_back(QString::fromUtf16(reinterpret_cast<const char16_t *>(raw.constData()),
                                                    raw.size() / qsizetype(sizeof(char16_t))));
        }
        m_rows.push_back(std::move(row));
    }
}

int OdbcQuery::FieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString OdbcQuery::Text(int row, int column) const
{
    const QVariant &v = value(row, column);
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

QByteArray OdbcQuery::Bytes(int row, int column) const
{
    const QVariant &v = value(row, column);
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return v.toString().toUtf8();
}

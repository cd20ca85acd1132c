#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <atomic>
#include <mutex>
#include <vector>

// A connection to a remote database through an ODBC driver manager (unixODBC), given by an
// ODBC connection string such as "Driver=FreeTDS;Server=...;Database=...;UID=...;PWD=...".
// One thread at a time uses it; nothing connects until Open.
class OdbcConnection {
public:
    explicit OdbcConnection(const QString &name = QString());
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection &) = delete;
    OdbcConnection &operator=(const OdbcConnection &) = delete;

    QString name() const { return m_name; }
    // Throws DbError with the driver's message. A server that does not answer is given up
    // after loginTimeout seconds.
    void Open(const QString &connectionString, int loginTimeout = 10);
    void Close(); // a no-op when closed
    bool Connected() const { return m_dbc != nullptr; }
    void *Handle() const { return m_dbc; } // the SQLHDBC

private:
    QString m_name;
    void *m_env = nullptr;
    void *m_dbc = nullptr;
};

// A remote result read whole into memory: column names and every row, text columns as text
// and binary columns as bytes. Cancel may come from another thread while Open reads.
class OdbcQuery {
public:
    explicit OdbcQuery(OdbcConnection *connection, const QString &name = QString());
    ~OdbcQuery();
    OdbcQuery(const OdbcQuery &) = delete;
    OdbcQuery &operator=(const OdbcQuery &) = delete;

    void SetSQL(const QString &sql) { m_sql = sql; }
    QString SQL() const { return m_sql; }
    // Runs the statement and reads every row; throws DbError with the driver's message, also
    // when Cancel stopped it. Nothing of a failed read is kept.
    void Open(int queryTimeout = 60);
    // Forgets the rows, and a Cancel that came before.
    void Close();
    // Stops the Open that runs now or comes next, until Close.
    void Cancel();
    bool Active() const { return m_active; }

    int RecordCount() const { return int(m_rows.size()); }
    int FieldCount() const { return int(m_names.size()); }
    QString FieldName(int column) const { return m_names.at(size_t(column)); }
    int FieldIndex(const QString &name) const; // case-insensitive; -1 when absent
    bool IsNull(int row, int column) const { return !value(row, column).isValid(); }
    QString Text(int row, int column) const;      // empty for NULL
    QByteArray Bytes(int row, int column) const;  // a text column gives its UTF-8 bytes

private:
    const QVariant &value(int row, int column) const { return m_rows.at(size_t(row)).at(size_t(column)); }
    void read(void *stmt);

    OdbcConnection *m_connection;
    QString m_name;
    QString m_sql;
    bool m_active = false;
    std::vector<QString> m_names;
    std::vector<std::vector<QVariant>> m_rows;

    std::mutex m_statementLock; // guards m_statement against Cancel from another thread
    void *m_statement = nullptr;
    std::atomic<bool> m_cancelled{false};
};

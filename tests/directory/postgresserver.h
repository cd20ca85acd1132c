#pragma once
#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own on a free loopback port, reached through the
// PostgreSQL ODBC driver: made with initdb in a temporary folder, started, and stopped again
// when the object goes. The server refuses to run as root, so it then runs as user postgres.
class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Why the server is not running; empty when it is.
    QString Error() const { return m_error; }
    int Port() const { return m_port; }
    // The ODBC connection string of the server's database, with further keywords appended.
    QString ConnectionString(const QString &more = QString()) const;
    // Runs SQL text through psql, rows printed unaligned; false with the reason in Error().
    bool Run(const QString &sql, QString *output = nullptr);
    // What the server wrote to its log.
    QString Log() const;

    // A loopback port that nothing listens on now.
    static int FreePort();

private:
    QString tool(const QString &name) const;
    bool runTool(const QStringList &command, QString *output = nullptr);

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_error;
    int m_port = 0;
    bool m_started = false;
};

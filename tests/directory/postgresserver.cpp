#include "tests/directory/postgresserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
bool asRoot()
{
    return geteuid() == 0;
}
} // namespace

int PostgresServer::FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QString PostgresServer::tool(const QString &name) const
{
    return m_bin + '/' + name;
}

bool PostgresServer::runTool(const QStringList &command, QString *output)
{
    QStringList args = command;
    QString program = args.takeFirst();
    if (asRoot()) {
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + args;
        program = QStringLiteral("runuser");
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(m_dir.path());
    p.start(program, args);
    const bool ran = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QString text = QString::fromUtf8(p.readAll());
    if (output)
        *output = text;
    if (!ran)
        m_error = command.join(' ') + QStringLiteral(": ") + (text.isEmpty() ? p.errorString() : text);
    return ran;
}

PostgresServer::PostgresServer()
{
    const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &v : versions)
        if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
            m_bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v);
    if (m_bin.isEmpty()) {
        m_error = QStringLiteral("PostgreSQL is not installed (setup.sh installs postgresql-15)");
        return;
    }
    if (asRoot()) {
        const passwd *user = getpwnam("postgres");
        if (!user || ::chown(QFile::encodeName(m_dir.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            m_error = QStringLiteral("the temporary folder cannot be handed to user postgres");
            return;
        }
    }
    const QString data = m_dir.filePath(QStringLiteral("data"));
    if (!runTool({tool("initdb"), "-D", data, "-A", "trust", "-U", "postgres", "-E", "UTF8", "--locale=C", "--no-sync",
                  "--no-instructions"}))
        return;
    // A port taken between the look and the start makes the start fail: look again.
    for (int attempt = 0; attempt < 5 && !m_started; ++attempt) {
        m_port = FreePort();
        const QString options = QStringLiteral("-p %1 -h 127.0.0.1 -k %2 -c fsync=off -c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir.path());
        m_started = runTool({tool("pg_ctl"), "-D", data, "-l", m_dir.filePath("server.log"), "-w", "-t", "60", "-o",
                             options, "start"});
    }
    if (m_started)
        m_error.clear();
}

PostgresServer::~PostgresServer()
{
    if (m_started)
        runTool({tool("pg_ctl"), "-D", m_dir.filePath(QStringLiteral("data")), "-m", "immediate", "-w", "stop"});
}

QString PostgresServer::ConnectionString(const QString &more) const
{
    return QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=postgres;Uid=postgres;Pwd=;")
               .arg(m_port) +
           more;
}

QString PostgresServer::Log() const
{
    QFile log(m_dir.filePath(QStringLiteral("server.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

bool PostgresServer::Run(const QString &sql, QString *output)
{
    const QString file = m_dir.filePath(QStringLiteral("statements.sql"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    out.write(sql.toUtf8());
    out.close();
    out.setPermissions(out.permissions() | QFile::ReadOther);
    return runTool({tool("psql"), "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", "127.0.0.1", "-p",
                    QString::number(m_port), "-U", "postgres", "-d", "postgres", "-f", file},
                   output);
}

#include "tests/mail/server/smtptestserver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

namespace {

// One certificate authority and a server certificate it signed, made once per test program.
QString CertificateFolder(QString &problem)
{
    static QTemporaryDir dir;
    static bool made = false;
    static QString failure;
    if (!made) {
        made = true;
        const QString ext = dir.filePath(QStringLiteral("server.ext"));
        QFile f(ext);
        f.open(QIODevice::WriteOnly);
        f.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
        f.close();
        const QList<QStringList> steps{
            {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
             "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Tessaly Test CA", "-addext",
             "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign"},
            {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", "server.key",
             "-out", "server.csr", "-subj", "/CN=Tessaly test server"},
            {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial", "-out",
             "server.pem", "-days", "2", "-extfile", "server.ext"}};
        for (const QStringList &step : steps) {
            QProcess openssl;
            openssl.setWorkingDirectory(dir.path());
            openssl.start(QStringLiteral("openssl"), step);
            if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
                failure = QStringLiteral("openssl ") + step.join(u' ') + QStringLiteral(": ") +
                          QString::fromLocal8Bit(openssl.readAllStandardError());
                break;
            }
        }
    }
    problem = failure;
    return dir.path();
}

QString ModeName(SmtpTestServer::Mode mode)
{
    switch (mode) {
    case SmtpTestServer::Mode::Auth: return QStringLiteral("auth");
    case SmtpTestServer::Mode::Open: return QStringLiteral("open");
    case SmtpTestServer::Mode::NoEhlo: return QStringLiteral("noehlo");
    case SmtpTestServer::Mode::StartTls: return QStringLiteral("starttls");
    case SmtpTestServer::Mode::Greeting: return QStringLiteral("greeting");
    case SmtpTestServer::Mode::Silent: return QStringLiteral("silent");
    case SmtpTestServer::Mode::Close: return QStringLiteral("close");
    }
    return QString();
}

} // namespace

SmtpTestServer::SmtpTestServer(Mode mode, const QString &address) : m_address(address)
{
    QStringList args{QStringLiteral(TESSALY_SMTP_SERVER_SCRIPT), QStringLiteral("--mode"), ModeName(mode),
                     QStringLiteral("--bind"), address,
                     QStringLiteral("--dir"), m_dir.path(), QStringLiteral("--user"), kUser,
                     QStringLiteral("--password"), kPassword};
    if (mode == Mode::StartTls) {
        const QString certs = CertificateFolder(m_problem);
        if (!m_problem.isEmpty())
            return;
        args << QStringLiteral("--cert") << certs + QStringLiteral("/server.pem") << QStringLiteral("--key")
             << certs + QStringLiteral("/server.key");
    }
    // Debian's own interpreter: the one that has aiosmtpd.
    m_process.start(QStringLiteral("/usr/bin/python3"), args);
    const QDeadlineTimer deadline(20000);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(100);
        out += m_process.readAllStandardOutput();
    }
    if (out.startsWith("PORT ")) {
        m_port = quint16(out.mid(5).trimmed().toUInt());
        return;
    }
    m_process.waitForFinished(1000);
    m_problem = QStringLiteral("The SMTP test server did not start: ") +
                QString::fromLocal8Bit(m_process.readAllStandardError());
}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString SmtpTestServer::CaFile() const
{
    QString problem;
    return CertificateFolder(problem) + QStringLiteral("/ca.pem");
}

MailSettings SmtpTestServer::Settings() const
{
    MailSettings s;
    s.host = m_address;
    s.port = QString::number(m_port);
    s.account = kUser;
    s.password = kPassword;
    s.sender = kSender;
    s.recipient = kRecipient;
    s.timeOut = 10000;
    return s;
}

QList<QJsonObject> SmtpTestServer::Events() const
{
    QFile f(m_dir.filePath(QStringLiteral("events.jsonl")));
    QList<QJsonObject> events;
    if (!f.open(QIODevice::ReadOnly))
        return events;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (!line.isEmpty())
            events << QJsonDocument::fromJson(line).object();
    return events;
}

bool SmtpTestServer::WaitClosed(int connections, int ms) const
{
    const QDeadlineTimer deadline(ms);
    for (;;) {
        int closed = 0;
        for (const QJsonObject &e : Events())
            closed += e.value(QStringLiteral("event")).toString() == QStringLiteral("closed");
        if (closed >= connections)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
}

QList<QJsonObject> SmtpTestServer::Messages() const
{
    QList<QJsonObject> messages;
    for (const QJsonObject &e : Events())
        if (e.value(QStringLiteral("event")).toString() == QStringLiteral("message"))
            messages << e;
    return messages;
}

QByteArray SmtpTestServer::ClientBytes(int connection) const
{
    QByteArray bytes;
    for (const QJsonObject &e : Events())
        if (e.value(QStringLiteral("conn")).toInt() == connection && e.contains(QStringLiteral("c")))
            bytes += QByteArray::fromBase64(e.value(QStringLiteral("c")).toString().toLatin1());
    return bytes;
}

QStringList SmtpTestServer::ClientLines(int connection) const
{
    QStringList lines = QString::fromUtf8(ClientBytes(connection)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray RawData(const QJsonObject &message)
{
    return QByteArray::fromBase64(message.value(QStringLiteral("data")).toString().toLatin1());
}

QJsonObject Parsed(const QJsonObject &message)
{
    return message.value(QStringLiteral("parsed")).toObject();
}

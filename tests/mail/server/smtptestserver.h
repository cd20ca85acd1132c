#pragma once
#include "mail/mailsettings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server (Python's aiosmtpd) on a free loopback port for one test, and what
// it received. It stops with the object.
class SmtpTestServer {
public:
    enum class Mode { Auth, Open, NoEhlo, StartTls, Greeting, Silent, Close };
    static inline const QString kUser = QStringLiteral("tessaly-test");
    static inline const QString kPassword = QStringLiteral("s3cret-Pa55");
    static inline const QString kSender = QStringLiteral("shop@tessaly.test");
    static inline const QString kRecipient = QStringLiteral("maker@tessaly.test");

    // Listens on 127.0.0.1, or on the address given.
    explicit SmtpTestServer(Mode mode, const QString &address = QStringLiteral("127.0.0.1"));
    ~SmtpTestServer();

    // Empty once the server listens; otherwise why it does not.
    QString Problem() const { return m_problem; }
    quint16 Port() const { return m_port; }
    // The CA that signed the STARTTLS server's certificate (subjectAltName IP:127.0.0.1).
    QString CaFile() const;
    // Settings that reach this server with the test account, a 10 second TimeOut.
    MailSettings Settings() const;

    // Waits until the server has seen this many connections end.
    bool WaitClosed(int connections = 1, int ms = 10000) const;
    QList<QJsonObject> Events() const;
    // The messages the server accepted, in order.
    QList<QJsonObject> Messages() const;
    // Every byte the client sent on one connection (numbered from 1), and as CR LF lines.
    QByteArray ClientBytes(int connection = 1) const;
    QStringList ClientLines(int connection = 1) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_address;
    quint16 m_port = 0;
    QString m_problem;
};

// A message's raw bytes as the server received them.
QByteArray RawData(const QJsonObject &message);
// A field of the message as Python's mail parser read it.
QJsonObject Parsed(const QJsonObject &message);

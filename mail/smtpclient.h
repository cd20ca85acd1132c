#pragma once
#include "mail/mailsettings.h"
#include "mail/smtpreply.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QSslSocket;
class TMailMsg;

// Delivers mail messages over one SMTP connection: EHLO (HELO when refused), STARTTLS
// when offered, AUTH LOGIN, then one MAIL/RCPT/DATA transaction per recipient list.
// Every call blocks, each wait bounded by TimeOut, so it belongs on a worker thread; no
// event loop runs inside it. An interruption request to the thread ends a wait early.
class TSmtpClient : public QObject {
    Q_OBJECT
public:
    explicit TSmtpClient(QObject *parent = nullptr);
    ~TSmtpClient() override;

    QString Port = QStringLiteral("25"); // a non-number counts as 25
    QString Host;                        // name or address
    QString UserName;                    // empty: no authentication
    QString PassWord;
    quint16 SendProgressStep = 10;       // percent between progress reports
    quint32 TimeOut = 60000;             // milliseconds for the connect, each reply, each write
    QString CaFile;                      // certificates trusted besides the system's
    bool RequireStartTls = false;        // no TLS, no mail
    bool AllowClearAuth = false;         // AUTH without TLS to a host that is not this machine

    // Takes server, port, account, password, CA file, TLS rules and TimeOut from the settings.
    void Apply(const MailSettings &settings);
    // Opens the connection, greets, secures and authenticates; Error() tells whether it worked.
    void Connect();
    // Sends the message to its To, CC and BCC lists, each in a transaction of its own.
    // True when the server accepted the message for every list. Raises MailError when
    // not connected or when From or SendTo is empty, and whatever FillRawMail raises.
    bool SendMessage(TMailMsg &message);
    // Ends the dialogue and closes the connection.
    void Quit();

    bool Error() const { return m_error; }
    bool Connected() const { return m_connected; }
    bool Encrypted() const;
    int LastReplyCode() const { return m_lastCode; }
    QString LastReplyText() const { return m_lastText; }

signals:
    void OnConnect();
    void OnQuit();
    // A step failed: the last reply's code (0 for a failure of our side) and its text.
    void OnError(int Error, const QString &Msg);
    void OnBeforeSend();
    void OnAfterSend();
    void OnSendProgress(quint16 Percent);
    void OnSendTextToSocket(const QString &s);
    void OnReceiveTextFromSocket(const QString &s);

private:
    bool Step(const QByteArray &command, int low, int high);
    QByteArray GreetingName() const;
    bool Greet();
    void KeepExtensions();
    bool StartTls();
    bool Authenticate();
    bool Transmit(const QString &sender, const QStringList &recipients, const QList<QByteArray> &raw);
    // Writes a line and its CR LF; waits until it is out unless flush is false and little is queued.
    bool SendLine(const QByteArray &line, bool show = true, bool flush = true);
    bool ReadReply();
    bool Wait(const std::function<bool(int)> &wait, QDeadlineTimer deadline, const char *what);
    bool Fail(const QString &why);
    void ErrorRoutine();
    void Close();
    void Progress(quint16 percent);

    std::unique_ptr<QSslSocket> m_socket;
    SmtpReplyReader m_reader;
    SmtpReply m_reply;
    QStringList m_extensions;
    bool m_connected = false;
    bool m_error = false;
    int m_lastCode = 0;
    QString m_lastText;
    quint16 m_lastProgress = 0;
};

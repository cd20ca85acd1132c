#include "mail/smtpclient.h"

#include "mail/mailerror.h"
#include "mail/mailmsg.h"
#include "mail/mimetext.h"

#include <QDateTime>
#include <QHostInfo>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QThread>
#include <climits>
#include <cmath>

namespace {

// Waits are cut into slices this long, so that an interruption request ends them soon.
constexpr int kSliceMs = 100;
// Message lines are written in blocks of about this many bytes.
constexpr qsizetype kWriteBlock = 64 * 1024;

bool IsPlainHostName(const QString &name)
{
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'.' && c != u'-' && c != u'_')
            return false;
    return !name.isEmpty();
}

QByteArray LoginBase64(const QString &text)
{
    return text.toUtf8().toBase64();
}

} // namespace

TSmtpClient::TSmtpClient(QObject *parent) : QObject(parent) {}

TSmtpClient::~TSmtpClient()
{
    if (m_socket)
        m_socket->abort();
}

void TSmtpClient::Apply(const MailSettings &settings)
{
    Host = settings.host;
    Port = settings.port;
    UserName = settings.account;
    PassWord = settings.password;
    CaFile = settings.caFile;
    RequireStartTls = settings.requireStartTls;
    AllowClearAuth = settings.allowClearAuth;
    TimeOut = settings.timeOut;
}

bool TSmtpClient::Encrypted() const
{
    return m_socket && m_socket->isEncrypted();
}

void TSmtpClient::Connect()
{
    if (m_socket)
        m_socket->abort();
    m_connected = false;
    m_error = false;
    m_lastCode = 0;
    m_lastText.clear();
    m_reader.Clear();
    m_extensions.clear();
    bool ok = false;
    int port = Port.trimmed().toInt(&ok);
    if (!ok || port <= 0 || port > 65535)
        port = 25;
    const QString host = Host.trimmed();
    if (host.isEmpty()) {
        Fail(QStringLiteral("No mail server is set."));
        return;
    }
    m_socket = std::make_unique<QSslSocket>();
    m_socket->setReadBufferSize(64 * 1024);
    m_socket->connectToHost(host, quint16(port));
    // One wait: a connect that runs out of a shorter wait is given up by the socket.
    if (!m_socket->waitForConnected(int(std::min<quint32>(TimeOut, INT_MAX)))) {
        Fail(QStringLiteral("No connection to %1 port %2: %3").arg(host).arg(port).arg(m_socket->errorString()));
        return;
    }
    m_connected = true;
    emit OnConnect();
    if (!ReadReply())
        return;
    if (m_reply.code != 220) {
        ErrorRoutine();
        return;
    }
    if (Greet() && StartTls())
        Authenticate();
}

QByteArray TSmtpClient::GreetingName() const
{
    QString name = QHostInfo::localHostName();
    if (QHostAddress(name).protocol() == QAbstractSocket::IPv4Protocol)
        return '[' + name.toLatin1() + ']';
    if (!IsPlainHostName(name)) {
        // No usable name: the address this connection comes from, as an address literal.
        const QHostAddress local = m_socket->localAddress();
        const bool v6 = local.protocol() == QAbstractSocket::IPv6Protocol;
        return (v6 ? "[IPv6:" : "[") + local.toString().toLatin1() + ']';
    }
    if (!name.contains(u'.') && QHostAddress(Host.trimmed()).isNull())
        name += u'.' + Host.trimmed();
    return name.toUtf8();
}

bool TSmtpClient::Greet()
{
    if (!SendLine("EHLO " + GreetingName()) || !ReadReply())
        return false;
    if (m_reply.code >= 500 && m_reply.code <= 599) {
        // A server without the extensions: plain HELO, and nothing to offer beyond it.
        m_extensions.clear();
        return Step("HELO " + GreetingName(), 250, 250);
    }
    if (m_reply.code != 250) {
        ErrorRoutine();
        return false;
    }
    KeepExtensions();
    return true;
}

void TSmtpClient::KeepExtensions()
{
    m_extensions.clear();
    for (qsizetype i = 1; i < m_reply.lines.size(); ++i)
        m_extensions << QString::fromLatin1(m_reply.lines[i]).trimmed().toUpper();
}

bool TSmtpClient::StartTls()
{
    if (!m_extensions.contains(QStringLiteral("STARTTLS")) || !QSslSocket::supportsSsl()) {
        if (!RequireStartTls)
            return true;
        return Fail(QSslSocket::supportsSsl() ? QStringLiteral("The server offers no STARTTLS.")
                                              : QStringLiteral("This machine has no TLS support."));
    }
    if (!Step("STARTTLS", 220, 220))
        return false;
    // Anything that came before the handshake could have been put there by someone else.
    if (m_reader.Buffered() > 0 || m_socket->bytesAvailable() > 0)
        return Fail(QStringLiteral("The server sent data after its STARTTLS reply."));
    QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
    if (!CaFile.isEmpty()) {
        const QList<QSslCertificate> own = QSslCertificate::fromPath(CaFile);
        if (own.isEmpty())
            return Fail(QStringLiteral("No certificate could be read from ") + CaFile);
        authorities += own;
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setCaCertificates(authorities);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    m_socket->setSslConfiguration(config);
    m_socket->setPeerVerifyName(Host.trimmed());
    m_socket->startClientEncryption();
    if (!Wait([this](int ms) { return m_socket->waitForEncrypted(ms); }, QDeadlineTimer(TimeOut),
              "the TLS handshake"))
        return false;
    m_reader.Clear();
    if (!Step("EHLO " + GreetingName(), 250, 250))
        return false;
    KeepExtensions();
    return true;
}

bool TSmtpClient::Authenticate()
{
    if (UserName.isEmpty())
        return true;
    if (!Encrypted() && !AllowClearAuth && !m_socket->peerAddress().isLoopback())
        return Fail(QStringLiteral("The password would cross the network unencrypted; not sent."));
    if (!Step("AUTH LOGIN", 300, 399) || !Step(LoginBase64(UserName), 300, 399))
        return false;
    // The password's line is not shown to listeners.
    if (m_error || !SendLine(LoginBase64(PassWord), false) || !ReadReply())
        return false;
    if (m_reply.code < 200 || m_reply.code > 299) {
        ErrorRoutine();
        return false;
    }
    return true;
}

bool TSmtpClient::SendMessage(TMailMsg &message)
{
    if (!m_connected)
        throw MailError(QStringLiteral("Not connected."));
    if (message.From.isEmpty())
        throw MailError(QStringLiteral("\"From\" field not specified."));
    if (message.SendTo.isEmpty())
        throw MailError(QStringLiteral("\"SendTo\" field not specified."));
    message.DateText = DateText(QDateTime::currentDateTime());
    if (message.RawMail.isEmpty())
        message.FillRawMail();
    emit OnBeforeSend();
    const QString sender = CleanAddress(message.From);
    const QList<QStringList> lists{ParseAddressList(message.SendTo), ParseAddressList(message.CC),
                                   ParseAddressList(message.BCC)};
    qsizetype last = -1;
    for (qsizetype i = 0; i < lists.size(); ++i)
        if (!lists[i].isEmpty())
            last = i;
    if (last < 0)
        return Fail(QStringLiteral("The message names no recipient."));
    m_lastProgress = 0;
    for (qsizetype i = 0; i <= last; ++i) {
        if (lists[i].isEmpty())
            continue;
        if (!Transmit(sender, lists[i], message.RawMail))
            return false;
        // Accepted by now; a refused reset stops what is left, but cannot take this delivery back.
        if (!Step("RSET", 250, 250))
            return i == last;
        Progress(100);
    }
    emit OnAfterSend();
    return true;
}

bool TSmtpClient::Transmit(const QString &sender, const QStringList &recipients, const QList<QByteArray> &raw)
{
    if (!Step("MAIL FROM:<" + sender.toUtf8() + '>', 250, 250))
        return false;
    for (const QString &address : recipients)
        if (!Step("RCPT TO:<" + address.toUtf8() + '>', 250, 251))
            return false;
    if (!Step("DATA", 354, 354))
        return false;
    const quint16 step = std::max<quint16>(SendProgressStep, 1);
    quint16 threshold = step;
    for (qsizetype n = 0; n < raw.size(); ++n) {
        // A line holding a line break of its own goes as several lines; each one that
        // starts with "." gets one more, once, here and nowhere else.
        QByteArray line = raw[n];
        line.replace("\r\n", "\n").replace('\r', '\n');
        for (const QByteArray &piece : line.split('\n'))
            if (!SendLine(piece.startsWith('.') ? '.' + piece : piece, true, false))
                return false;
        const auto percent = quint16(std::nearbyint(double(n + 1) * 100.0 / double(raw.size())));
        if (percent >= threshold) {
            Progress(percent);
            threshold = quint16((percent / step + 1) * step);
        }
    }
    return Step(".", 250, 250);
}

bool TSmtpClient::Step(const QByteArray &command, int low, int high)
{
    if (m_error || !SendLine(command) || !ReadReply())
        return false;
    if (m_reply.code < low || m_reply.code > high) {
        ErrorRoutine();
        return false;
    }
    return true;
}

bool TSmtpClient::SendLine(const QByteArray &line, bool show, bool flush)
{
    if (!m_socket || !m_connected)
        return Fail(QStringLiteral("Not connected."));
    if (m_socket->write(line + "\r\n") < 0)
        return Fail(m_socket->errorString());
    emit OnSendTextToSocket(show ? QString::fromUtf8(line) : QStringLiteral("********"));
    if (!flush && m_socket->bytesToWrite() < kWriteBlock)
        return true;
    const QDeadlineTimer deadline(TimeOut);
    while (m_socket->bytesToWrite() > 0)
        if (!Wait([this](int ms) { return m_socket->waitForBytesWritten(ms); }, deadline, "the write"))
            return false;
    return true;
}

bool TSmtpClient::ReadReply()
{
    const QDeadlineTimer deadline(TimeOut);
    for (;;) {
        switch (m_reader.Next(m_reply)) {
        case SmtpReplyReader::Result::Reply:
            m_lastCode = m_reply.code;
            m_lastText = m_reply.Text();
            emit OnReceiveTextFromSocket(QString::number(m_reply.code) + u' ' + m_lastText);
            return true;
        case SmtpReplyReader::Result::Malformed:
            return Fail(QStringLiteral("The server's reply is malformed."));
        case SmtpReplyReader::Result::NeedMore:
            break;
        }
        if (m_socket->bytesAvailable() == 0 &&
            !Wait([this](int ms) { return m_socket->waitForReadyRead(ms); }, deadline, "the server's reply"))
            return false;
        m_reader.Feed(m_socket->readAll());
    }
}

bool TSmtpClient::Wait(const std::function<bool(int)> &wait, QDeadlineTimer deadline, const char *what)
{
    for (;;) {
        if (QThread::currentThread()->isInterruptionRequested())
            return Fail(QStringLiteral("Stopped while waiting for ") + QLatin1String(what) + u'.');
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return Fail(QStringLiteral("Timed out waiting for ") + QLatin1String(what) + u'.');
        if (wait(int(std::min<qint64>(left < 0 ? kSliceMs : left, kSliceMs))))
            return true;
        // Only the end of a slice means waiting on; a closed connection or an error ends it.
        if (m_socket->error() != QAbstractSocket::SocketTimeoutError ||
            m_socket->state() == QAbstractSocket::UnconnectedState) {
            const bool closed = m_socket->error() == QAbstractSocket::RemoteHostClosedError ||
                                m_socket->state() == QAbstractSocket::UnconnectedState;
            return Fail((closed ? QStringLiteral("The connection was closed while waiting for ")
                                : QStringLiteral("Socket error while waiting for ")) +
                        QLatin1String(what) + QStringLiteral(": ") + m_socket->errorString());
        }
    }
}

bool TSmtpClient::Fail(const QString &why)
{
    m_lastCode = 0;
    m_lastText = why;
    ErrorRoutine();
    return false;
}

void TSmtpClient::ErrorRoutine()
{
    m_error = true;
    Close();
    emit OnError(m_lastCode, m_lastText);
}

void TSmtpClient::Close()
{
    if (m_socket)
        m_socket->abort();
    if (m_connected) {
        m_connected = false;
        emit OnQuit();
    }
}

void TSmtpClient::Quit()
{
    if (m_connected && !m_error) {
        if (!SendLine("QUIT") || !ReadReply())
            return; // the error routine has run and closed
        if (m_reply.code != 221) {
            ErrorRoutine();
            return;
        }
    }
    Close();
}

void TSmtpClient::Progress(quint16 percent)
{
    m_lastProgress = percent;
    emit OnSendProgress(percent);
}
